// Addresses as they go on the wire.
// Contract: UTF-8 text in; every byte that may not stand in a URL as it is (controls, the space,
// DEL, bytes above 0x7F and " < > \ ^ ` { | }) comes out as %XX with upper-case hex digits, and
// every other byte unchanged, so "%" escapes already present stay as they are and encoding twice
// changes nothing. Callers holding ANSI text convert it to UTF-8 first.
#pragma once

#include <string>
#include <string_view>

namespace platform::net {

std::string percent_encode_url(std::string_view utf8);
// True for an http:// or https:// address (the scheme in any case).
bool is_http_url(std::string_view url);

}  // namespace platform::net
