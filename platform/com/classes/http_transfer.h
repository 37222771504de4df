// One HTTP exchange on libcurl, as the request objects perform it.
// Contract:
// - http and https only, on the first request and on every redirect; at most 10 redirects.
// - The URL is given in UTF-8 and sent with every byte outside printable ASCII (and blanks,
//   quotes, angle brackets and the like) percent-encoded; existing %xx escapes stay.
// - Time-outs in milliseconds, 0 meaning none: connect (name resolution included), send and
//   receive (a transfer that moves nothing for that long ends). The resolve time-out is kept
//   for the caller's sake only: the connect time-out already bounds name resolution.
// - perform() answers S_OK with status, status text, headers and body of the final response,
//   or a failure HRESULT (name not resolved, cannot connect, time-out, redirect failure,
//   unsupported scheme, other connection errors) with an empty response.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "platform/com/unknown.h"

namespace platform::com {

struct HttpTimeouts {
  long resolve_ms = 0;
  long connect_ms = 60000;
  long send_ms = 30000;
  long receive_ms = 30000;
};

struct HttpExchange {
  std::string method = "GET";
  std::string url;  // UTF-8
  std::vector<std::pair<std::string, std::string>> headers;
  std::vector<std::uint8_t> body;
  HttpTimeouts timeouts;
};

struct HttpResponse {
  long status = 0;
  std::string status_text;
  std::vector<std::string> header_lines;  // without the status line and line ends
  std::vector<std::uint8_t> body;
};

inline constexpr HRESULT kHttpTimeout = static_cast<HRESULT>(0x80072EE2);
inline constexpr HRESULT kHttpUnrecognizedScheme = static_cast<HRESULT>(0x80072EE6);
inline constexpr HRESULT kHttpNameNotResolved = static_cast<HRESULT>(0x80072EE7);
inline constexpr HRESULT kHttpCannotConnect = static_cast<HRESULT>(0x80072EFD);
inline constexpr HRESULT kHttpConnectionError = static_cast<HRESULT>(0x80072EFE);
inline constexpr HRESULT kHttpRedirectFailed = static_cast<HRESULT>(0x80072F7C);

std::string percent_encode_url(std::string_view utf8);
// True for an http:// or https:// URL (any case).
bool is_http_url(std::string_view url);
HRESULT perform(const HttpExchange& exchange, HttpResponse* response);

}  // namespace platform::com
