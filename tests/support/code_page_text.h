// The program's code-page text for a UTF-8 literal, and back, as tests compare them.
#pragma once

#include <string>
#include <string_view>

#include "platform/kernel/codepage.h"

namespace test_support {

inline std::string ansi(std::string_view utf8) {
  return platform::codepage::utf8_to_ansi(utf8);
}

inline std::string utf8(const char* ansi_text) {
  return ansi_text == nullptr ? std::string() : platform::codepage::ansi_to_utf8(ansi_text);
}

}  // namespace test_support
