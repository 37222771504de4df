// A raw HTTP server on 127.0.0.1 for tests that must see the exact bytes a client sends and
// choose the exact bytes it gets back (no Content-Length, a connection cut midway, a body sent
// in steps).
// Each connection is served on the server's one thread: the request head (up to the blank line,
// plus a Content-Length body) is recorded, then the handler writes the reply through the
// Connection and the connection is closed when the handler returns.
#pragma once

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace lyr::test {

class RawHttpServer {
 public:
  class Connection {
   public:
    explicit Connection(int socket) : socket_(socket) {}
    // False once the client has gone.
    bool send(std::string_view bytes);

   private:
    int socket_;
  };
  using Handler = std::function<void(const std::string& request, Connection& reply)>;

  explicit RawHttpServer(Handler handler);
  ~RawHttpServer();
  RawHttpServer(const RawHttpServer&) = delete;
  RawHttpServer& operator=(const RawHttpServer&) = delete;

  int port() const { return port_; }
  std::string url(std::string_view path) const;
  // Every request received so far, in order.
  std::vector<std::string> requests() const;
  std::string last_request() const;

  // The request line's target ("/path?query") of a recorded request.
  static std::string target_of(const std::string& request);

 private:
  void serve();

  Handler handler_;
  int listener_ = -1;
  int port_ = 0;
  std::atomic<bool> stopping_{false};
  mutable std::mutex mutex_;
  std::vector<std::string> requests_;
  std::thread thread_;
};

// A loopback port that nothing listens on: bound once, then released again.
int unused_loopback_port();

// A reply head with the given status line and header lines, ending with the blank line.
std::string http_head(std::string_view status_line, std::initializer_list<std::string_view> headers);

}  // namespace lyr::test
