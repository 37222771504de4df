// One HTTP exchange as the request objects perform it: an adapter over the platform's transfer
// layer (platform/net, which holds the wire rules: schemes, redirects, proxy policy,
// certificates).
// Contract:
// - The URL is given in UTF-8 and sent percent-encoded (platform/net/url_text.h); http and https
//   only, at most 10 redirects. The method is sent in upper case; the headers given go out with
//   libcurl's usual ones.
// - Time-outs in milliseconds, 0 meaning none: connect (name resolution included), send and
//   receive (a transfer that moves nothing for the longer of the two ends). The resolve time-out
//   is kept for the caller's sake only: the connect time-out already bounds name resolution.
// - perform() answers S_OK with status, status text, headers and body of the final response,
//   or a failure HRESULT (name not resolved, cannot connect, time-out, redirect failure,
//   unsupported scheme, other connection errors) with an empty response.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "platform/com/unknown.h"
#include "platform/net/url_text.h"

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

using net::is_http_url;
using net::percent_encode_url;
HRESULT perform(const HttpExchange& exchange, HttpResponse* response);

}  // namespace platform::com
