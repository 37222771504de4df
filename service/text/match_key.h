// The form in which titles and artists are compared: lower case, full-width letters, digits and
// signs as their ASCII forms, half-width katakana as the full-width ones (voiced marks joined),
// and every white-space and common punctuation character dropped. "  Ｈｅｌｌｏ,  World! " and
// "hello world" have the same key "helloworld"; a key is UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace lyr::service {

std::string match_key(std::string_view utf8_text);

}  // namespace lyr::service
