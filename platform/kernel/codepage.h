// Text conversion between the platform's ANSI code page (GB18030, byte-identical to GBK for
// every GBK character) and Unicode. Used only at the platform's edges: drawing, keyboard input,
// window titles, BSTRs.
// Contract: input that is not valid in its encoding is converted up to the bad sequence, which
// becomes U+FFFD ("?" when going to the code page); conversion never fails and never throws.
#pragma once

#include <string>
#include <string_view>

namespace platform::codepage {

std::string ansi_to_utf8(std::string_view ansi);
std::string utf8_to_ansi(std::string_view utf8);
std::u16string ansi_to_utf16(std::string_view ansi);
std::string utf16_to_ansi(std::u16string_view utf16);
std::u16string utf8_to_utf16(std::string_view utf8);
std::string utf16_to_utf8(std::u16string_view utf16);

// Length in bytes of the code-page character that starts with these bytes (1, 2 or 4); 1 for
// a byte that cannot start a character, or when the rest of the character is missing.
std::size_t ansi_char_length(std::string_view bytes);

}  // namespace platform::codepage
