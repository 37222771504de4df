// The text commands: SplitText, TextLength, FindText and MidText.
// Contract: positions are 1-based byte positions, lengths count bytes. SplitText and FindText
// step over whole characters of the system code page (text_scan.h) and work on the caller's
// text in place; TextLength and MidText count plain bytes. Text and array results are fresh
// runtime values that the caller frees; the empty text comes back as null. SplitText's array
// has one dimension and 8-byte element pointers, in one block; empty pieces are null texts.
#pragma once

#include <cstdint>

#include "runtime/records.h"

namespace commands {

void split_text_command(runtime::ArgRecord* result, std::int32_t count, runtime::ArgRecord* args);
void text_length_command(runtime::ArgRecord* result, std::int32_t count, runtime::ArgRecord* args);
void find_text_command(runtime::ArgRecord* result, std::int32_t count, runtime::ArgRecord* args);
void mid_text_command(runtime::ArgRecord* result, std::int32_t count, runtime::ArgRecord* args);

}  // namespace commands
