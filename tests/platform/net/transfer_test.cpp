// The transfer layer seen through each of its adapters: the request classes, the internet
// functions and the URL download must agree on proxies, certificates and failures, each in its
// own codes.
#include <gtest/gtest.h>
#include <httplib.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <thread>

#include "platform/com/classes/http_transfer.h"
#include "platform/inet/url_download.h"
#include "platform/inet/wininet.h"
#include "platform/net/url_text.h"
#include "tests/platform/inet/inet_fixture.h"
#include "tests/support/raw_http_server.h"

namespace {

using lyr::test::http_head;
using lyr::test::RawHttpServer;

// Sets (or with no value, removes) an environment variable for one scope.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, std::optional<std::string> value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    if (value) {
      setenv(name, value->c_str(), 1);
    } else {
      unsetenv(name);
    }
  }
  ~ScopedEnv() {
    if (old_) {
      setenv(name_, old_->c_str(), 1);
    } else {
      unsetenv(name_);
    }
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

struct Outcome {
  long code = 0;  // the adapter's own: HRESULT or last error
  std::string body;
};

Outcome through_request_class(const std::string& url) {
  platform::com::HttpExchange exchange;
  exchange.url = url;
  platform::com::HttpResponse response;
  Outcome out{platform::com::perform(exchange, &response), {}};
  out.body.assign(response.body.begin(), response.body.end());
  return out;
}

// InternetOpenA with the given access, then connect, open, send and read the whole body.
Outcome through_internet_functions(const std::string& url, DWORD access, const char* proxy = nullptr) {
  char host[256] = {}, path[1024] = {};
  URL_COMPONENTSA parts{};
  parts.dwStructSize = sizeof parts;
  parts.lpszHostName = host;
  parts.dwHostNameLength = sizeof host;
  parts.lpszUrlPath = path;
  parts.dwUrlPathLength = sizeof path;
  if (!InternetCrackUrlA(url.c_str(), 0, 0, &parts)) return {static_cast<long>(GetLastError()), {}};
  DWORD flags = parts.nScheme == INTERNET_SCHEME_HTTPS ? INTERNET_FLAG_SECURE : 0;
  inet_test::Handle root(InternetOpenA("t", access, proxy, nullptr, 0));
  inet_test::Handle connection(
      InternetConnectA(root.get(), host, parts.nPort, nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0));
  inet_test::Handle request(
      HttpOpenRequestA(connection.get(), "GET", path, nullptr, nullptr, nullptr, flags, 0));
  Outcome out;
  bool ok = HttpSendRequestA(request.get(), nullptr, 0, nullptr, 0) != FALSE;
  char buffer[4096];
  DWORD n = 0;
  while (ok && (ok = InternetReadFile(request.get(), buffer, sizeof buffer, &n) != FALSE) && n > 0)
    out.body.append(buffer, n);
  if (!ok) out.code = static_cast<long>(GetLastError());
  return out;
}

Outcome through_url_download(const std::string& url) {
  std::filesystem::path file =
      std::filesystem::temp_directory_path() / ("net_transfer_" + std::to_string(getpid()) + ".bin");
  Outcome out{URLDownloadToFileA(nullptr, url.c_str(), file.c_str(), 0, nullptr), {}};
  std::ifstream in(file, std::ios::binary);
  out.body.assign(std::istreambuf_iterator<char>(in), {});
  std::filesystem::remove(file);
  return out;
}

struct Adapter {
  const char* name;
  std::function<Outcome(const std::string&)> fetch;
};

const Adapter kAdapters[] = {
    {"request class", through_request_class},
    {"internet functions",
     [](const std::string& url) { return through_internet_functions(url, INTERNET_OPEN_TYPE_PRECONFIG); }},
    {"URL download", through_url_download},
};

void reply_ok(const std::string&, RawHttpServer::Connection& c) {
  c.send(http_head("HTTP/1.1 200 OK", {"Content-Length: 2"}) + "ok");
}

TEST(UrlText, EncodesExactlyTheBytesAUrlCannotCarry) {
  const struct {
    std::string_view in;
    std::string_view out;
  } cases[] = {
      {"http://h/a-z_0.9~!$&'()*+,;=:@/?#[]", "http://h/a-z_0.9~!$&'()*+,;=:@/?#[]"},
      {"/a b\t\r\n\x7F", "/a%20b%09%0D%0A%7F"},
      {"\"<>\\^`{|}", "%22%3C%3E%5C%5E%60%7B%7C%7D"},
      {"/%41%e6/100%", "/%41%e6/100%"},  // escapes already there stay, so encoding twice is harmless
      {"/\xE6\xAD\x8C", "/%E6%AD%8C"},
      {std::string_view("\0", 1), "%00"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(platform::net::percent_encode_url(c.in), c.out) << c.in;
    EXPECT_EQ(platform::net::percent_encode_url(c.out), c.out) << c.out;
  }
}

// The environment names a proxy: remote hosts go through it, loopback hosts never do, and a
// proxy the program names itself keeps loopback direct too.
TEST(Transfer, EveryAdapterKeepsLoopbackOffTheProxy) {
  RawHttpServer origin(reply_ok);
  RawHttpServer proxy(reply_ok);
  ScopedEnv http_proxy("http_proxy", "http://127.0.0.1:" + std::to_string(proxy.port()));
  ScopedEnv no_proxy("no_proxy", std::nullopt);
  ScopedEnv no_proxy_upper("NO_PROXY", std::nullopt);
  for (const Adapter& adapter : kAdapters) {
    SCOPED_TRACE(adapter.name);
    std::size_t proxied = proxy.requests().size();
    EXPECT_EQ(adapter.fetch(origin.url("/local")).body, "ok");
    EXPECT_EQ(RawHttpServer::target_of(origin.last_request()), "/local");
    EXPECT_EQ(proxy.requests().size(), proxied);
    EXPECT_EQ(adapter.fetch("http://lyrics.example/remote").body, "ok");
    EXPECT_EQ(RawHttpServer::target_of(proxy.last_request()), "http://lyrics.example/remote");
  }
  std::string named = "127.0.0.1:" + std::to_string(proxy.port());
  std::size_t proxied = proxy.requests().size();
  EXPECT_EQ(through_internet_functions(origin.url("/named"), INTERNET_OPEN_TYPE_PROXY, named.c_str()).body,
            "ok");
  EXPECT_EQ(RawHttpServer::target_of(origin.last_request()), "/named");
  EXPECT_EQ(proxy.requests().size(), proxied);
}

TEST(Transfer, EveryAdapterAnswersEachFailureInItsOwnCodes) {
  RawHttpServer server([](const std::string& request, RawHttpServer::Connection& c) {
    std::string target = RawHttpServer::target_of(request);
    if (target == "/to-ftp") {
      c.send(http_head("HTTP/1.1 302 Found", {"Location: ftp://127.0.0.1/x", "Content-Length: 0"}));
    } else if (target.starts_with("/hop/")) {
      c.send(
          http_head("HTTP/1.1 302 Found", {"Location: /hop/" + target.substr(5) + "x", "Content-Length: 0"}));
    } else if (target == "/cut") {
      c.send(http_head("HTTP/1.1 200 OK", {"Content-Length: 100"}) + "part");
    } else {
      reply_ok(request, c);
    }
  });
  const std::string closed = "http://127.0.0.1:" + std::to_string(lyr::test::unused_loopback_port()) + "/";
  const struct {
    const char* name;
    std::string url;
    long codes[3];  // request class, internet functions, URL download
  } cases[] = {
      {"complete", server.url("/ok"), {S_OK, 0, S_OK}},
      {"nothing listens",
       closed,
       {platform::com::kHttpCannotConnect, ERROR_INTERNET_CANNOT_CONNECT, INET_E_CANNOT_CONNECT}},
      {"redirect to ftp",
       server.url("/to-ftp"),
       {platform::com::kHttpUnrecognizedScheme, ERROR_INTERNET_UNRECOGNIZED_SCHEME, INET_E_UNKNOWN_PROTOCOL}},
      {"endless redirects",
       server.url("/hop/"),
       {platform::com::kHttpRedirectFailed, ERROR_HTTP_REDIRECT_FAILED, INET_E_DOWNLOAD_FAILURE}},
      {"body cut short",
       server.url("/cut"),
       {platform::com::kHttpConnectionError, ERROR_INTERNET_CONNECTION_RESET, INET_E_DOWNLOAD_FAILURE}},
  };
  for (const auto& c : cases) {
    for (int i = 0; i < 3; ++i) {
      Outcome out = kAdapters[i].fetch(c.url);
      EXPECT_EQ(out.code, c.codes[i]) << c.name << " via " << kAdapters[i].name;
      if (c.codes[i] == 0) {
        EXPECT_EQ(out.body, "ok") << c.name << " via " << kAdapters[i].name;
      }
    }
  }
}

// Every adapter trusts the certificate that SSL_CERT_FILE names, and only then.
TEST(Transfer, EveryAdapterTrustsTheCertificateFileOfTheEnvironment) {
  const std::string dir = INET_TEST_DATA;
  httplib::SSLServer server((dir + "/loopback_cert.pem").c_str(), (dir + "/loopback_key.pem").c_str());
  ASSERT_TRUE(server.is_valid());
  server.Get("/secure",
             [](const httplib::Request&, httplib::Response& r) { r.set_content("sealed", "text/plain"); });
  int port = server.bind_to_any_port("127.0.0.1");
  std::thread serving([&] { server.listen_after_bind(); });
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (!server.is_running() && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  const std::string url = "https://127.0.0.1:" + std::to_string(port) + "/secure";
  const long refused[] = {platform::com::kHttpConnectionError, ERROR_INTERNET_INVALID_CA,
                          INET_E_DOWNLOAD_FAILURE};
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(kAdapters[i].name);
    {
      ScopedEnv trust("SSL_CERT_FILE", dir + "/loopback_cert.pem");
      Outcome trusted = kAdapters[i].fetch(url);
      EXPECT_EQ(trusted.code, 0);
      EXPECT_EQ(trusted.body, "sealed");
    }
    ScopedEnv system_store("SSL_CERT_FILE", std::nullopt);
    EXPECT_EQ(kAdapters[i].fetch(url).code, refused[i]);
  }
  server.stop();
  serving.join();
}

}  // namespace
