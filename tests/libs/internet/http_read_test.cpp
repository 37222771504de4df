#include "libs/internet/http_read.h"

#include <gtest/gtest.h>
#include <httplib.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "tests/libs/internet/recording_functions.h"
#include "tests/support/raw_http_server.h"

namespace {

using inet_lib_test::Call;
using inet_lib_test::recorded_calls;
using inet_lib_test::recorded_read_sizes;
using inet_lib_test::recording_functions;
using inet_lib_test::start_recording;
using libs::internet::http_read;
using libs::internet::InternetRoot;
using lyr::test::http_head;
using lyr::test::RawHttpServer;

std::string as_text(const std::vector<std::uint8_t>& bytes) {
  return std::string(bytes.begin(), bytes.end());
}

// Serves `body` with the given extra head lines for every request.
RawHttpServer::Handler serving(std::string status, std::vector<std::string> head, std::string body) {
  return [=](const std::string&, RawHttpServer::Connection& c) {
    std::string reply = status + "\r\n";
    for (const std::string& line : head) reply += line + "\r\n";
    c.send(reply + "\r\n" + body);
  };
}

class HttpReadTest : public ::testing::Test {
 protected:
  void SetUp() override { start_recording(); }
  void TearDown() override { root_.close(); }
  std::vector<std::uint8_t> fetch(const std::string& address) {
    return http_read(address, root_, recording_functions());
  }
  InternetRoot root_;
};

TEST_F(HttpReadTest, TheServerSeesTheFixedRequest) {
  RawHttpServer server(serving("HTTP/1.0 200 OK", {"Content-Length: 3"}, "png"));
  EXPECT_EQ(as_text(fetch(server.url("/path"))), "png");
  EXPECT_EQ(server.last_request(),
            "GET /path HTTP/1.0\r\n"
            "Host: 127.0.0.1:" +
                std::to_string(server.port()) +
                "\r\n"
                "User-Agent: Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)\r\n"
                "Accept: */*\r\n\r\n");
}

TEST_F(HttpReadTest, CallsThePlatformInOrderAndSharesTheRoot) {
  RawHttpServer server(serving("HTTP/1.0 200 OK", {"Content-Length: 2"}, "ok"));
  ASSERT_EQ(as_text(fetch(server.url("/a?b=1#part"))), "ok");
  std::vector<Call> calls = recorded_calls();
  std::vector<std::string> names;
  for (const Call& c : calls) names.push_back(c.name);
  EXPECT_EQ(names, (std::vector<std::string>{"crack_url", "open", "connect", "set_option", "set_option",
                                             "set_option", "open_request", "send_request", "query_info",
                                             "read_file", "read_file", "close_handle", "close_handle"}));
  EXPECT_EQ(calls[1].text, libs::internet::kAgent);
  EXPECT_EQ(calls[1].number, INTERNET_OPEN_TYPE_DIRECT);
  EXPECT_EQ(calls[2].text, "127.0.0.1");
  EXPECT_EQ(calls[2].number, static_cast<DWORD>(server.port()));
  EXPECT_EQ(calls[2].number2, INTERNET_SERVICE_HTTP);  // and no flags
  // The root's proxy falls back to the system's; the proxy credentials are empty texts + NUL.
  EXPECT_EQ(calls[3].number, INTERNET_OPTION_PROXY);
  EXPECT_EQ(calls[3].text, "0 <null>");
  EXPECT_EQ(calls[4].number, INTERNET_OPTION_PROXY_USERNAME);
  EXPECT_EQ(calls[4].number2, 1u);
  EXPECT_EQ(calls[5].number, INTERNET_OPTION_PROXY_PASSWORD);
  EXPECT_EQ(calls[6].text, "GET /a?b=1 HTTP/1.0 <null>");  // cut at the "#"
  EXPECT_EQ(calls[6].text2, "Accept: */* \r\n|");
  EXPECT_EQ(calls[6].number, 0x84000000u);
  EXPECT_EQ(calls[7].text, "Accept: */*\r\n\r\n");
  EXPECT_EQ(calls[8].number, HTTP_QUERY_CONTENT_LENGTH);
  EXPECT_EQ(calls[8].number2, 32u);
  EXPECT_EQ(RawHttpServer::target_of(server.last_request()), "/a?b=1");

  start_recording();
  ASSERT_EQ(as_text(fetch(server.url("/again"))), "ok");
  for (const Call& c : recorded_calls()) EXPECT_NE(c.name, "open") << "the root is opened once";
}

TEST_F(HttpReadTest, ChunksFollowTheAnnouncedLength) {
  const std::string large(500000, 'L');
  RawHttpServer sized(serving("HTTP/1.1 200 OK", {"Content-Length: 500000"}, large));
  EXPECT_EQ(as_text(fetch(sized.url("/large"))), large);
  std::vector<DWORD> sizes = recorded_read_sizes();
  ASSERT_EQ(sizes.size(), 6u);  // five full reads and the one that finds the end
  for (DWORD s : sizes) EXPECT_EQ(s, 102400u);

  start_recording();
  const std::string unannounced(25000, 'U');
  RawHttpServer open_ended(serving("HTTP/1.0 200 OK", {}, unannounced));
  EXPECT_EQ(as_text(fetch(open_ended.url("/"))), unannounced);
  sizes = recorded_read_sizes();
  ASSERT_EQ(sizes.size(), 4u);
  for (DWORD s : sizes) EXPECT_EQ(s, 10240u);

  start_recording();
  RawHttpServer small(serving("HTTP/1.1 200 OK", {"Content-Length: 100"}, std::string(100, 's')));
  EXPECT_EQ(fetch(small.url("/")).size(), 100u);
  EXPECT_EQ(recorded_read_sizes(), (std::vector<DWORD>{101, 101}));
}

TEST(ChunkSize, ReadsTheLeadingNumberAndClampsIt) {
  using libs::internet::chunk_size_for;
  EXPECT_EQ(chunk_size_for(nullptr), 10240u);
  EXPECT_EQ(chunk_size_for("0"), 10240u);
  EXPECT_EQ(chunk_size_for("abc"), 10240u);
  EXPECT_EQ(chunk_size_for("-5"), 10240u);
  EXPECT_EQ(chunk_size_for("12abc"), 13u);
  EXPECT_EQ(chunk_size_for(" +7"), 8u);
  EXPECT_EQ(chunk_size_for("102399"), 102400u);
  EXPECT_EQ(chunk_size_for("102400"), 102400u);
  EXPECT_EQ(chunk_size_for("99999999999999999999999"), 102400u);
}

TEST_F(HttpReadTest, ErrorPagesAndBrokenTransfersKeepTheirBytes) {
  RawHttpServer missing(serving("HTTP/1.1 404 Not Found", {"Content-Length: 14"}, "no such cover!"));
  EXPECT_EQ(as_text(fetch(missing.url("/nothing"))), "no such cover!");

  RawHttpServer cut(serving("HTTP/1.1 200 OK", {"Content-Length: 50000"}, std::string(12345, 'c')));
  EXPECT_EQ(as_text(fetch(cut.url("/cut"))), std::string(12345, 'c'));
}

TEST_F(HttpReadTest, UnusableAddressesAnswerNothing) {
  EXPECT_TRUE(fetch("").empty());
  EXPECT_TRUE(recorded_calls().empty()) << "an empty address touches nothing";
  for (const char* address : {"ftp://127.0.0.1/x", "just words", "http://", "http://host:70000/"}) {
    start_recording();
    EXPECT_TRUE(fetch(address).empty()) << address;
    ASSERT_EQ(recorded_calls().size(), 1u) << address;
  }
  start_recording();
  EXPECT_TRUE(fetch("http://127.0.0.1:1/refused").empty());  // nothing listens on port 1
}

TEST_F(HttpReadTest, AFailedRootEndsTheCallAndIsTriedAgainLater) {
  start_recording(true);
  RawHttpServer server(serving("HTTP/1.0 200 OK", {"Content-Length: 1"}, "x"));
  EXPECT_TRUE(fetch(server.url("/")).empty());
  EXPECT_EQ(recorded_calls().back().name, "open");
  start_recording();
  EXPECT_EQ(as_text(fetch(server.url("/"))), "x");
}

TEST_F(HttpReadTest, ConcurrentFirstCallsOpenOneRoot) {
  RawHttpServer server(serving("HTTP/1.0 200 OK", {"Content-Length: 1"}, "y"));
  std::vector<std::uint8_t> a, b;
  std::thread first([&] { a = fetch(server.url("/1")); });
  std::thread second([&] { b = fetch(server.url("/2")); });
  first.join();
  second.join();
  EXPECT_EQ(as_text(a), "y");
  EXPECT_EQ(as_text(b), "y");
  int opens = 0;
  for (const Call& c : recorded_calls()) opens += c.name == "open";
  EXPECT_EQ(opens, 1);
}

TEST_F(HttpReadTest, HttpsWithoutAPortGoesSecureTo443) {
  fetch("https://127.0.0.1/cover.jpg");
  for (const Call& c : recorded_calls()) {
    if (c.name == "connect") {
      EXPECT_EQ(c.number, 443u);
    }
    if (c.name == "open_request") {
      EXPECT_EQ(c.number, 0x84800000u);
    }
  }
}

TEST_F(HttpReadTest, HttpsFromALoopbackServerWithATestCertificate) {
  const std::string dir = INET_TEST_DATA;
  httplib::SSLServer server((dir + "/loopback_cert.pem").c_str(), (dir + "/loopback_key.pem").c_str());
  ASSERT_TRUE(server.is_valid());
  server.Get("/cover.png", [](const httplib::Request& request, httplib::Response& response) {
    response.set_content("secure " + request.get_header_value("User-Agent"), "image/png");
  });
  int port = server.bind_to_any_port("127.0.0.1");
  std::thread serving_thread([&] { server.listen_after_bind(); });
  while (!server.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  // Trust the test certificate only for this fetch.
  setenv("SSL_CERT_FILE", (dir + "/loopback_cert.pem").c_str(), 1);
  std::vector<std::uint8_t> body = fetch("https://127.0.0.1:" + std::to_string(port) + "/cover.png");
  unsetenv("SSL_CERT_FILE");
  // Without it, the unknown certificate is refused.
  std::vector<std::uint8_t> untrusted = fetch("https://127.0.0.1:" + std::to_string(port) + "/cover.png");
  server.stop();
  serving_thread.join();
  EXPECT_EQ(as_text(body), std::string("secure ") + libs::internet::kAgent);
  EXPECT_TRUE(untrusted.empty());
}

}  // namespace
