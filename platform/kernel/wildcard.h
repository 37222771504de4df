// File-name patterns as file searches use them.
// Contract: `*` matches any run of characters (none included), `?` exactly one character; other
// characters match themselves, ASCII letters regardless of case. Both texts are ANSI code page
// bytes and a double-byte character counts as one character. The pattern "*.*" matches every
// name, with or without a dot, as on the platform.
#pragma once

#include <string_view>

namespace platform::kernel {

bool wildcard_match(std::string_view pattern, std::string_view name);
bool has_wildcards(std::string_view pattern);

}  // namespace platform::kernel
