// The text commands: SplitText, TextLength, FindText and MidText (declared in core_commands.h).
// Contract: positions are 1-based byte positions, lengths count bytes. SplitText and FindText
// step over whole characters of the system code page (text_scan.h) and work on the caller's
// text in place; TextLength and MidText count plain bytes. Text and array results are fresh
// runtime values that the caller frees; the empty text comes back as null. SplitText's array
// has one dimension and 8-byte element pointers, in one block; empty pieces are null texts.
#pragma once

#include "commands/core_commands.h"
