// The "adodb.stream" class: a byte buffer with a position, read and written as bytes (Type 1)
// or as text in a charset (Type 2).
// Contract:
// - Members: Type, Mode, State, Charset, Position, Size, EOS (properties); Open, Close, Write,
//   WriteText, Read, ReadText, SetEOS, SaveToFile, LoadFromFile (methods). Type and Mode are
//   enumerations (VT_USERDEFINED), as the platform declares them.
// - Bytes are written at the position, overwriting and extending; reading moves the position.
//   Type and Charset change only at position 0 of an open stream (or while it is closed).
// - ReadText decodes from the position to the end (or the given number of characters) and never
//   fails on bad bytes (see charset.h); at position 0 a byte-order mark is skipped.
// - SaveToFile writes beside the target and renames into place, so a failed save leaves no
//   half-written file. Misuse (a closed stream, text calls on a binary stream and so on) raises
//   an exception with the platform's error codes.
#pragma once

#include "platform/com/registry.h"

namespace platform::com {

inline constexpr CLSID CLSID_Stream = {
    0x6C1E0A01, 0x51D2, 0x4E7A, {0x9B, 0x10, 0x3A, 0x52, 0x7C, 0x01, 0x00, 0x10}};

ClassEntry stream_class_entry();

}  // namespace platform::com
