#include "tests/support/raw_http_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>

namespace lyr::test {
namespace {

std::size_t content_length_of(const std::string& head) {
  std::size_t at = head.find("\r\nContent-Length:");
  if (at == std::string::npos) return 0;
  return static_cast<std::size_t>(std::strtoul(head.c_str() + at + 17, nullptr, 10));
}

std::string read_request(int client) {
  std::string request;
  char buffer[4096];
  std::size_t head_end = std::string::npos;
  while (true) {
    if (head_end == std::string::npos) head_end = request.find("\r\n\r\n");
    if (head_end != std::string::npos &&
        request.size() >= head_end + 4 + content_length_of(request.substr(0, head_end + 2)))
      return request;
    ssize_t n = recv(client, buffer, sizeof buffer, 0);
    if (n <= 0) return request;
    request.append(buffer, static_cast<std::size_t>(n));
  }
}

// A socket bound to an ephemeral port of 127.0.0.1, and that port.
int bind_loopback(int& port) {
  int s = socket(AF_INET, SOCK_STREAM, 0);
  int on = 1;
  setsockopt(s, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address);
  socklen_t length = sizeof address;
  getsockname(s, reinterpret_cast<sockaddr*>(&address), &length);
  port = ntohs(address.sin_port);
  return s;
}

}  // namespace

bool RawHttpServer::Connection::send(std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t n = ::send(socket_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

RawHttpServer::RawHttpServer(Handler handler) : handler_(std::move(handler)) {
  listener_ = bind_loopback(port_);
  listen(listener_, 16);
  thread_ = std::thread([this] { serve(); });
}

RawHttpServer::~RawHttpServer() {
  stopping_ = true;
  shutdown(listener_, SHUT_RDWR);
  close(listener_);
  thread_.join();
}

std::string RawHttpServer::url(std::string_view path) const {
  return "http://127.0.0.1:" + std::to_string(port_) + std::string(path);
}

std::vector<std::string> RawHttpServer::requests() const {
  std::lock_guard lock(mutex_);
  return requests_;
}

std::string RawHttpServer::last_request() const {
  std::lock_guard lock(mutex_);
  return requests_.empty() ? std::string() : requests_.back();
}

std::string RawHttpServer::target_of(const std::string& request) {
  std::size_t start = request.find(' ');
  if (start == std::string::npos) return {};
  std::size_t end = request.find(' ', start + 1);
  return request.substr(start + 1, end - start - 1);
}

void RawHttpServer::serve() {
  while (!stopping_) {
    int client = accept(listener_, nullptr, nullptr);
    if (client < 0) return;
    std::string request = read_request(client);
    {
      std::lock_guard lock(mutex_);
      requests_.push_back(request);
    }
    Connection connection(client);
    handler_(request, connection);
    shutdown(client, SHUT_WR);
    close(client);
  }
}

int unused_loopback_port() {
  int port = 0;
  close(bind_loopback(port));
  return port;
}

std::string http_head(std::string_view status_line, std::initializer_list<std::string_view> headers) {
  std::string head(status_line);
  head += "\r\n";
  for (std::string_view h : headers) {
    head += h;
    head += "\r\n";
  }
  head += "\r\n";
  return head;
}

}  // namespace lyr::test
