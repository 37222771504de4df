// Shared pieces of the internet client tests: handles closed at scope end and a request sent
// through a fresh root and connection.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "platform/inet/wininet.h"
#include "tests/support/raw_http_server.h"

namespace inet_test {

class Handle {
 public:
  explicit Handle(HINTERNET h = nullptr) : h_(h) {}
  Handle(Handle&& other) noexcept : h_(other.h_) { other.h_ = nullptr; }
  Handle& operator=(Handle&& other) noexcept {
    std::swap(h_, other.h_);
    return *this;
  }
  ~Handle() {
    if (h_ != nullptr) InternetCloseHandle(h_);
  }
  HINTERNET get() const { return h_; }
  explicit operator bool() const { return h_ != nullptr; }

 private:
  HINTERNET h_;
};

// A root (direct, given agent), a connection to the loopback server and an opened request.
struct Session {
  Handle root;
  Handle connection;
  Handle request;

  Session(const lyr::test::RawHttpServer& server, const char* object, const char* agent = "tester",
          const char* version = nullptr, LPCSTR* accept = nullptr, DWORD flags = 0)
      : root(InternetOpenA(agent, INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0)),
        connection(InternetConnectA(root.get(), "127.0.0.1", static_cast<INTERNET_PORT>(server.port()),
                                    nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0)),
        request(HttpOpenRequestA(connection.get(), "GET", object, version, nullptr, accept, flags, 0)) {}

  bool send(const char* headers = nullptr) {
    return HttpSendRequestA(request.get(), headers, headers ? static_cast<DWORD>(-1) : 0, nullptr, 0) !=
           FALSE;
  }
  // The whole body, read in pieces of `chunk` bytes; false when a read failed.
  bool read_all(std::string* body, DWORD chunk = 4096) {
    std::string buffer(chunk, '\0');
    for (;;) {
      DWORD n = 0;
      if (!InternetReadFile(request.get(), buffer.data(), chunk, &n)) return false;
      if (n == 0) return true;
      body->append(buffer.data(), n);
    }
  }
  std::string query_text(DWORD level) {
    char text[256] = {};
    DWORD length = sizeof text;
    if (!HttpQueryInfoA(request.get(), level, text, &length, nullptr)) return "<none>";
    return std::string(text, length);
  }
};

}  // namespace inet_test
