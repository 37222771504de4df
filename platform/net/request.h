// What one HTTP transfer is asked to do, and how it can fail: the vocabulary the request classes,
// the internet client functions and the URL download share.
// Contract:
// - url: http:// or https:// (any case), already encoded for the wire (url_text.h). Any other
//   scheme, on the request or on a redirect, fails with Failure::unsupported_scheme. Redirects
//   are followed, at most 10, unless follow_redirects is false.
// - method goes out as given; "HEAD" asks for no body; a body, or any method but GET, sends the
//   body with its Content-Length.
// - only_given_headers: the head carries exactly header_lines (in order), Host, and User-Agent
//   when agent is set. Otherwise libcurl's own Accept (and a form Content-Type for a body) go too.
// - Proxy: loopback hosts (localhost, 127.0.0.0/8, ::1) never go through a proxy. system uses the
//   environment's proxy and no_proxy; direct uses none; named uses server (libcurl's
//   "host:port") and the comma list bypass. Credentials are sent to the proxy when given.
// - Certificates: the system's trust store, or the file that SSL_CERT_FILE names.
// - Time-outs in milliseconds, 0 meaning none: connect bounds name resolution and connecting;
//   idle ends a transfer that, once connected, moves nothing for that long.
// - cancel, when given, must outlive the transfer; it is checked at least every 100 ms while the
//   transfer waits and ends it with Failure::cancelled.
#pragma once

#include <atomic>
#include <string>
#include <vector>

namespace platform::net {

enum class Failure {
  none,
  unsupported_scheme,
  malformed_url,
  name_not_resolved,
  cannot_connect,
  timed_out,
  too_many_redirects,
  untrusted_certificate,
  secure_channel_failed,
  invalid_reply,     // garbled, or no response head at all
  send_failed,       // the connection broke while the request went out
  connection_reset,  // the connection broke while the response came in
  cancelled,
  sink_refused,  // the body's consumer would not take more
  out_of_memory,
  other,
};

enum class HttpVersion { any, v1_0, v1_1 };

struct Proxy {
  enum class Mode { system, direct, named };
  Mode mode = Mode::system;
  std::string server;  // named; empty goes direct
  std::string bypass;  // named
  std::string user;
  std::string password;
};

struct Timeouts {
  long connect_ms = 0;
  long idle_ms = 0;
};

struct Request {
  std::string method = "GET";
  std::string url;
  HttpVersion version = HttpVersion::any;
  bool only_given_headers = false;
  std::string agent;
  std::vector<std::string> header_lines;  // "Name: value"
  std::string body;
  bool follow_redirects = true;
  bool keep_dot_segments = false;  // "/a/../b" goes out as written
  bool decode_content = false;     // ask for compressed bodies and hand them out decoded
  std::string user;                // answers an authentication challenge
  std::string password;
  Proxy proxy;
  Timeouts timeouts;
  const std::atomic<bool>* cancel = nullptr;
};

}  // namespace platform::net
