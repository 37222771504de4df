// UTF-8 in both directions, strict: overlong forms, surrogates and values above U+10FFFF are
// invalid, so a file that passes valid_utf8 can be served unchanged.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace lyr::service {

bool valid_utf8(std::string_view bytes);

// Decodes the code point at `pos` and advances it; U+FFFD (advancing one byte) on a bad sequence.
char32_t next_code_point(std::string_view text, std::size_t& pos);

void append_utf8(std::string& out, char32_t cp);

}  // namespace lyr::service
