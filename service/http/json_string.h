// JSON string literals, quotes included, from text that should be UTF-8: a byte that is not
// becomes U+FFFD and control characters are escaped, so every reply is valid JSON and valid UTF-8.
// `quote` decides how '"' is written: \" as JSON readers expect, or \u0022 for the finder, which
// cuts values out at fixed markers and so must never meet a '"' inside one (replies.h).
#pragma once

#include <string>
#include <string_view>

namespace lyr::service {

enum class Quote { escaped, unicode };

void append_json_string(std::string& out, std::string_view text, Quote quote);

}  // namespace lyr::service
