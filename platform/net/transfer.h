// One HTTP transfer on libcurl: the only place the platform drives it. The request classes, the
// internet client functions and the URL download are adapters over this.
// Contract (the request's side is in request.h):
// - create() answers null with *failure set when libcurl refuses the set-up.
// - start() sends the request and waits for the final response's head (interim replies and
//   followed redirects are passed over); status and headers are then those of that response.
//   A transfer that ends without any response head fails with Failure::invalid_reply.
// - read() pulls up to `want` body bytes as they arrive; *got 0 with Failure::none is the end.
//   receive() pushes the rest of the body to a sink as it arrives, bytes already pulled
//   excepted; a sink answering false ends the transfer with Failure::sink_refused.
// - After a broken transfer the bytes received before the break come first, then the failure.
// - Not thread-safe: one caller drives a transfer at a time.
#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/net/request.h"

namespace platform::net {

struct ResponseHeader {
  std::string name;
  std::string value;  // continuation lines joined with a space
};

class Transfer {
 public:
  using Sink = std::function<bool(std::string_view bytes)>;

  static std::unique_ptr<Transfer> create(const Request& request, Failure* failure);
  Transfer(const Transfer&) = delete;
  Transfer& operator=(const Transfer&) = delete;
  ~Transfer();

  Failure start();
  Failure read(char* out, std::size_t want, std::size_t* got);
  Failure receive(const Sink& sink);

  int status() const { return status_; }
  const std::string& status_text() const { return status_text_; }
  const std::vector<ResponseHeader>& headers() const { return headers_; }
  // The head's lines without the status line, trimmed, in the order they came.
  const std::vector<std::string>& header_lines() const { return header_lines_; }
  // Status line and head lines, each ending in CRLF, then the blank line.
  std::string raw_headers() const;

 private:
  struct Handles;
  Transfer();
  static std::size_t on_header(char* data, std::size_t size, std::size_t count, void* self);
  static std::size_t on_body(char* data, std::size_t size, std::size_t count, void* self);
  void header_line(std::string_view line);
  bool connected() const;
  std::size_t buffered() const { return body_.size() - consumed_; }
  template <class Done>
  void drive(Done done);
  void finish(Failure failure);

  std::unique_ptr<Handles> handles_;
  std::string request_body_;  // libcurl reads it in place
  bool follow_redirects_ = true;
  Timeouts timeouts_;
  const std::atomic<bool>* cancel_ = nullptr;
  std::chrono::steady_clock::time_point last_activity_;
  bool heard_from_server_ = false;

  bool headers_done_ = false;
  bool finished_ = false;
  Failure failure_ = Failure::none;
  int status_ = 0;
  std::string status_line_;
  std::string status_text_;
  std::vector<ResponseHeader> headers_;
  std::vector<std::string> header_lines_;
  std::string body_;
  std::size_t consumed_ = 0;
  const Sink* sink_ = nullptr;
  bool sink_refused_ = false;
};

}  // namespace platform::net
