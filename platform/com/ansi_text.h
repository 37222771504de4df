// UTF-16 to the ANSI code page (GB18030) at memory speed, for long BSTR results.
// Contract: every character has its GB18030 form (one, two or four bytes); a lone surrogate
// becomes '?', as WideCharToMultiByte answers it. The encoding table of the Basic Multilingual
// Plane is built once per process from iconv; characters beyond it are computed.
#pragma once

#include <cstddef>
#include <string_view>

namespace platform::com {

// Bytes that ansi_encode writes for `text`.
std::size_t ansi_length(std::u16string_view text);
// Writes exactly ansi_length(text) bytes to `out` (no terminating NUL).
void ansi_encode(std::u16string_view text, char* out);

}  // namespace platform::com
