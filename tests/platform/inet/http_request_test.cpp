#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>

#include "tests/platform/inet/inet_fixture.h"

namespace {

using inet_test::Handle;
using inet_test::Session;
using lyr::test::http_head;
using lyr::test::RawHttpServer;

std::string host_line(const RawHttpServer& server) {
  return "Host: 127.0.0.1:" + std::to_string(server.port()) + "\r\n";
}

void reply_ok(const std::string&, RawHttpServer::Connection& c) {
  c.send(http_head("HTTP/1.1 200 OK", {"Content-Length: 5", "Content-Type: text/plain"}) + "hello");
}

TEST(HttpRequest, SendsExactlyTheLineAgentAndHeadersItWasGiven) {
  RawHttpServer server(reply_ok);
  LPCSTR accept[] = {"text/html ", "image/png", nullptr};
  Session s(server, "/covers/one.png?size=2", "Agent/1.0", "HTTP/1.0", accept);
  ASSERT_TRUE(s.send("X-One: 1\r\nX-Two: two\r\n\r\n"));
  EXPECT_EQ(server.last_request(), "GET /covers/one.png?size=2 HTTP/1.0\r\n" + host_line(server) +
                                       "User-Agent: Agent/1.0\r\n"
                                       "Accept: text/html, image/png\r\n"
                                       "X-One: 1\r\nX-Two: two\r\n\r\n");
}

TEST(HttpRequest, DefaultsAddNothingOfTheirOwn) {
  RawHttpServer server(reply_ok);
  Session s(server, "", "");
  ASSERT_TRUE(s.send());
  // No agent, no accept types, no headers: request line and Host only, version 1.1.
  EXPECT_EQ(server.last_request(), "GET / HTTP/1.1\r\n" + host_line(server) + "\r\n");
}

TEST(HttpRequest, SentHeaderReplacesTheAcceptTypesHeader) {
  RawHttpServer server(reply_ok);
  LPCSTR accept[] = {"text/html", nullptr};
  Session s(server, "/x", "a", "HTTP/1.0", accept);
  ASSERT_TRUE(s.send("Accept: */*\r\n\r\n"));
  EXPECT_EQ(server.last_request(),
            "GET /x HTTP/1.0\r\n" + host_line(server) + "User-Agent: a\r\nAccept: */*\r\n\r\n");
}

TEST(HttpRequest, PathBytesThatWouldBreakTheRequestLineAreEncoded) {
  RawHttpServer server(reply_ok);
  // "封面" in the ANSI code page, a space and a line break.
  Session s(server, "/a b/\xB7\xE2\xC3\xE6\r\nX: y");
  ASSERT_TRUE(s.send());
  EXPECT_EQ(RawHttpServer::target_of(server.last_request()), "/a%20b/%E5%B0%81%E9%9D%A2%0D%0AX:%20y");
}

TEST(HttpRequest, RefusesHeaderTextThatCouldInjectLines) {
  RawHttpServer server(reply_ok);
  Session s(server, "/");
  EXPECT_FALSE(HttpSendRequestA(s.request.get(), "no colon here\r\n", static_cast<DWORD>(-1), nullptr, 0));
  EXPECT_EQ(GetLastError(), ERROR_HTTP_INVALID_HEADER);
  EXPECT_EQ(InternetOpenA("evil\r\nX: 1", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0), nullptr);
  LPCSTR accept[] = {"a/b\r\nX: 1", nullptr};
  EXPECT_EQ(HttpOpenRequestA(s.connection.get(), "GET", "/", nullptr, nullptr, accept, 0, 0), nullptr);
  EXPECT_EQ(HttpOpenRequestA(s.connection.get(), "GET /x", "/", nullptr, nullptr, nullptr, 0, 0), nullptr);
  EXPECT_EQ(HttpOpenRequestA(s.connection.get(), "GET", "/", "HTTP/2", nullptr, nullptr, 0, 0), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  EXPECT_TRUE(server.requests().empty());
}

TEST(HttpRequest, QueryInfoAnswersStatusAndHeadersAsTextOrNumber) {
  RawHttpServer server([](const std::string&, RawHttpServer::Connection& c) {
    c.send(http_head("HTTP/1.1 404 Not Found", {"Content-Length: 9"}) + "not found");
  });
  Session s(server, "/missing");
  ASSERT_TRUE(s.send());
  EXPECT_EQ(s.query_text(HTTP_QUERY_STATUS_CODE), "404");
  EXPECT_EQ(s.query_text(HTTP_QUERY_STATUS_TEXT), "Not Found");
  EXPECT_EQ(s.query_text(HTTP_QUERY_CONTENT_LENGTH), "9");
  EXPECT_EQ(s.query_text(HTTP_QUERY_CONTENT_TYPE), "<none>");
  EXPECT_EQ(GetLastError(), ERROR_HTTP_HEADER_NOT_FOUND);

  DWORD number = 0;
  DWORD length = sizeof number;
  ASSERT_TRUE(HttpQueryInfoA(s.request.get(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &number,
                             &length, nullptr));
  EXPECT_EQ(number, 404u);

  char small[2];
  length = sizeof small;
  EXPECT_FALSE(HttpQueryInfoA(s.request.get(), HTTP_QUERY_STATUS_CODE, small, &length, nullptr));
  EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
  EXPECT_EQ(length, 4u);  // "404" and its NUL

  std::string body;
  ASSERT_TRUE(s.read_all(&body));
  EXPECT_EQ(body, "not found");  // an error page's body is a body like any other
}

TEST(HttpRequest, QueryIndexWalksRepeatedHeaders) {
  RawHttpServer server([](const std::string&, RawHttpServer::Connection& c) {
    c.send(http_head("HTTP/1.1 200 OK", {"Content-Type: a", "Content-Type: b", "Content-Length: 0"}));
  });
  Session s(server, "/");
  ASSERT_TRUE(s.send());
  DWORD index = 0;
  char text[16];
  DWORD length = sizeof text;
  ASSERT_TRUE(HttpQueryInfoA(s.request.get(), HTTP_QUERY_CONTENT_TYPE, text, &length, &index));
  EXPECT_STREQ(text, "a");
  length = sizeof text;
  ASSERT_TRUE(HttpQueryInfoA(s.request.get(), HTTP_QUERY_CONTENT_TYPE, text, &length, &index));
  EXPECT_STREQ(text, "b");
  length = sizeof text;
  EXPECT_FALSE(HttpQueryInfoA(s.request.get(), HTTP_QUERY_CONTENT_TYPE, text, &length, &index));
  EXPECT_EQ(index, 2u);
}

// The server sends the first part, then waits until the client has read it before sending the
// rest: a read that waited for the whole body would never return.
TEST(HttpRequest, ReadHandsOutTheBodyAsItStreamsIn) {
  std::mutex mutex;
  std::condition_variable changed;
  bool first_read = false;
  RawHttpServer server([&](const std::string&, RawHttpServer::Connection& c) {
    c.send(http_head("HTTP/1.1 200 OK", {"Content-Length: 8"}) + "abcd");
    std::unique_lock lock(mutex);
    changed.wait_for(lock, std::chrono::seconds(10), [&] { return first_read; });
    c.send("efgh");
  });
  Session s(server, "/stream");
  ASSERT_TRUE(s.send());
  char buffer[4];
  DWORD n = 0;
  ASSERT_TRUE(InternetReadFile(s.request.get(), buffer, sizeof buffer, &n));
  EXPECT_EQ(std::string(buffer, n), "abcd");
  {
    std::lock_guard lock(mutex);
    first_read = true;
  }
  changed.notify_all();
  std::string rest;
  ASSERT_TRUE(s.read_all(&rest, 3));
  EXPECT_EQ(rest, "efgh");
}

TEST(HttpRequest, BodyWithoutLengthEndsWithTheConnection) {
  const std::string body(30000, 'z');
  RawHttpServer server([&](const std::string&, RawHttpServer::Connection& c) {
    c.send(http_head("HTTP/1.0 200 OK", {}) + body);
  });
  Session s(server, "/");
  ASSERT_TRUE(s.send());
  EXPECT_EQ(s.query_text(HTTP_QUERY_CONTENT_LENGTH), "<none>");
  std::string got;
  ASSERT_TRUE(s.read_all(&got, 10240));
  EXPECT_EQ(got, body);
}

TEST(HttpRequest, ABrokenTransferHandsOutWhatArrivedThenFails) {
  RawHttpServer server([](const std::string&, RawHttpServer::Connection& c) {
    c.send(http_head("HTTP/1.1 200 OK", {"Content-Length: 1000"}) + std::string(300, 'p'));
  });
  Session s(server, "/cut");
  ASSERT_TRUE(s.send());
  std::string got;
  EXPECT_FALSE(s.read_all(&got, 128));
  EXPECT_EQ(GetLastError(), ERROR_INTERNET_CONNECTION_RESET);
  EXPECT_EQ(got, std::string(300, 'p'));
}

TEST(HttpRequest, RedirectsAreFollowedUnlessTheRequestSaysNot) {
  RawHttpServer server([](const std::string& request, RawHttpServer::Connection& c) {
    if (RawHttpServer::target_of(request) == "/old")
      c.send(http_head("HTTP/1.1 302 Found", {"Location: /new", "Content-Length: 0"}));
    else
      reply_ok(request, c);
  });
  Session followed(server, "/old");
  ASSERT_TRUE(followed.send());
  EXPECT_EQ(followed.query_text(HTTP_QUERY_STATUS_CODE), "200");
  EXPECT_EQ(RawHttpServer::target_of(server.last_request()), "/new");

  Session kept(server, "/old", "a", nullptr, nullptr, INTERNET_FLAG_NO_AUTO_REDIRECT);
  ASSERT_TRUE(kept.send());
  EXPECT_EQ(kept.query_text(HTTP_QUERY_STATUS_CODE), "302");
  EXPECT_EQ(kept.query_text(HTTP_QUERY_LOCATION), "/new");
}

TEST(HttpRequest, AProxySetOnTheRootCarriesTheRequest) {
  RawHttpServer proxy(reply_ok);
  Handle root(InternetOpenA("a", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0));
  Handle connection(
      InternetConnectA(root.get(), "lyrics.example", 0, nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0));
  std::string server = "127.0.0.1:" + std::to_string(proxy.port());
  INTERNET_PROXY_INFO info{INTERNET_OPEN_TYPE_PROXY, server.c_str(), nullptr};
  ASSERT_TRUE(InternetSetOptionA(root.get(), INTERNET_OPTION_PROXY, &info, sizeof info));
  // A proxy option belongs to the root.
  EXPECT_FALSE(InternetSetOptionA(connection.get(), INTERNET_OPTION_PROXY, &info, sizeof info));
  EXPECT_EQ(GetLastError(), ERROR_INTERNET_INCORRECT_HANDLE_TYPE);
  Handle request(HttpOpenRequestA(connection.get(), "GET", "/x", "HTTP/1.0", nullptr, nullptr, 0, 0));
  ASSERT_TRUE(HttpSendRequestA(request.get(), nullptr, 0, nullptr, 0));
  EXPECT_EQ(proxy.last_request().substr(0, proxy.last_request().find("\r\n")),
            "GET http://lyrics.example/x HTTP/1.0");
}

TEST(HttpRequest, FailuresSayWhy) {
  int closed_port;
  {
    RawHttpServer gone(reply_ok);
    closed_port = gone.port();
  }
  Handle root(InternetOpenA("a", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0));
  Handle connection(InternetConnectA(root.get(), "127.0.0.1", static_cast<INTERNET_PORT>(closed_port),
                                     nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0));
  Handle request(HttpOpenRequestA(connection.get(), nullptr, "/", nullptr, nullptr, nullptr, 0, 0));
  EXPECT_FALSE(HttpSendRequestA(request.get(), nullptr, 0, nullptr, 0));
  EXPECT_EQ(GetLastError(), ERROR_INTERNET_CANNOT_CONNECT);
  // Nothing to read or query before a response.
  char buffer[8];
  DWORD n = 1;
  EXPECT_FALSE(InternetReadFile(request.get(), buffer, sizeof buffer, &n));
  EXPECT_EQ(n, 0u);
  EXPECT_EQ(GetLastError(), ERROR_INTERNET_INCORRECT_HANDLE_STATE);

  // Only the HTTP service, and no handle of the wrong kind.
  EXPECT_EQ(InternetConnectA(root.get(), "h", 0, nullptr, nullptr, 1, 0, 0), nullptr);
  EXPECT_EQ(HttpOpenRequestA(root.get(), "GET", "/", nullptr, nullptr, nullptr, 0, 0), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_INTERNET_INCORRECT_HANDLE_TYPE);
}

TEST(HttpRequest, ClosedHandlesAreRejectedAndChildrenOutliveTheirParents) {
  RawHttpServer server(reply_ok);
  Session s(server, "/");
  HINTERNET root = s.root.get();
  s.root = Handle();  // closes the root before the request is sent
  EXPECT_FALSE(InternetCloseHandle(root));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  EXPECT_EQ(InternetConnectA(root, "h", 0, nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  ASSERT_TRUE(s.send());
  std::string body;
  ASSERT_TRUE(s.read_all(&body));
  EXPECT_EQ(body, "hello");
  EXPECT_FALSE(InternetCloseHandle(nullptr));
}

}  // namespace
