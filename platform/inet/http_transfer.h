// One HTTP exchange on libcurl, driven by its callers: start() sends the request and waits for
// the final response's headers, read() hands out body bytes as they arrive.
// Contract: the request carries exactly the header lines of the plan (plus Host, and User-Agent
// when an agent is given); libcurl's own Accept, Expect and Content-Type defaults are removed.
// Errors are ERROR_INTERNET_* codes (0 is success). A stall longer than the receive timeout ends
// the transfer with ERROR_INTERNET_TIMEOUT; cancel (checked while waiting) ends it with
// ERROR_INTERNET_CONNECTION_ABORTED.
#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/inet/inet_handles.h"

namespace platform::inet {

struct TransferPlan {
  std::string url;   // scheme://host:port/target, already encoded for the wire
  std::string host;  // as given, to keep loopback hosts off a configured proxy
  bool secure = false;
  std::string verb;
  bool http10 = false;
  std::string agent;
  std::vector<std::string> header_lines;  // "Name: value", in sending order
  std::string body;
  bool follow_redirects = true;
  std::string user;
  std::string password;
  ProxySettings proxy;
  ProxyCredentials proxy_credentials;
  Timeouts timeouts;
};

struct ResponseHeader {
  std::string name;
  std::string value;
};

class HttpTransfer {
 public:
  HttpTransfer(const HttpTransfer&) = delete;
  HttpTransfer& operator=(const HttpTransfer&) = delete;
  ~HttpTransfer();

  // Null with *error set when libcurl refuses the setup.
  static std::unique_ptr<HttpTransfer> create(const TransferPlan& plan, DWORD* error);

  DWORD start(const std::atomic<bool>& cancel);
  // Fills up to `want` bytes; *got 0 with 0 returned is the end of the body. After a broken
  // transfer, the bytes received before the break come first, then the error.
  DWORD read(char* out, std::size_t want, std::size_t* got, const std::atomic<bool>& cancel);

  int status() const { return status_; }
  const std::string& status_text() const { return status_text_; }
  const std::vector<ResponseHeader>& headers() const { return headers_; }
  // Status line and header lines of the final response, CRLF-separated, ending with a blank line.
  const std::string& raw_headers() const { return raw_headers_; }

 private:
  HttpTransfer() = default;
  static std::size_t on_header(char* data, std::size_t size, std::size_t count, void* self);
  static std::size_t on_body(char* data, std::size_t size, std::size_t count, void* self);
  void header_line(std::string_view line);
  std::size_t buffered() const { return body_.size() - consumed_; }
  template <class Done>
  void drive(Done done, const std::atomic<bool>& cancel);
  void finish(DWORD error);

  void* easy_ = nullptr;         // CURL*
  void* multi_ = nullptr;        // CURLM*
  void* header_list_ = nullptr;  // curl_slist*
  std::string body_text_;        // the request body; libcurl reads it in place
  bool follow_redirects_ = true;
  Timeouts timeouts_;
  std::chrono::steady_clock::time_point last_activity_;
  bool received_any_ = false;

  bool headers_done_ = false;
  bool finished_ = false;
  DWORD error_ = 0;
  int status_ = 0;
  std::string status_text_;
  std::vector<ResponseHeader> headers_;
  std::string raw_headers_;
  std::string body_;
  std::size_t consumed_ = 0;
};

}  // namespace platform::inet
