// UTF-16 to the ANSI code page (GB18030) at memory speed, for long BSTR results.
// Contract: every character has its GB18030 form (one, two or four bytes); a lone surrogate
// becomes '?', as WideCharToMultiByte answers it. The encoding table of the Basic Multilingual
// Plane is built once per process from iconv; characters beyond it are computed.
#pragma once

#include <cstddef>
#include <string_view>

namespace platform::com {

// Room that is always enough for ansi_encode: four bytes a UTF-16 unit.
inline std::size_t ansi_max_length(std::u16string_view text) {
  return text.size() * 4;
}
// Writes the GB18030 form of `text` to `out` (no terminating NUL) and answers its length.
std::size_t ansi_encode(std::u16string_view text, char* out);

}  // namespace platform::com
