// The finder's own web routines, run in its runtime on its program image (no window): the fetch
// (a request object by class name with two fall-backs, Open, Send, ResponseBody into a byte set)
// and the decoding (the stream turning bytes in a charset into GB18030 text).
#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <thread>

#include "app/routines.h"
#include "platform/com/classes/http_request.h"
#include "platform/com/registry.h"
#include "platform/kernel/codepage.h"
#include "tests/app/support/finder_runtime.h"
#include "tests/support/raw_http_server.h"

namespace {

using lyr::test::http_head;
using lyr::test::RawHttpServer;
using platform::codepage::ansi_to_utf8;
using platform::codepage::utf8_to_ansi;

class FinderRoutines : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(runtime_.started()); }
  void TearDown() override {
    for (const auto& entry : platform::com::http_request_class_entries())
      platform::com::register_class(entry);
  }

  static std::string fetch(const std::string& address) {
    return app_test::FinderRuntime::bytes_of(app::fetch_url(address.c_str()));
  }
  static std::string decode(std::string_view bytes, const char* charset = nullptr) {
    return std::string(app::decode_bytes(app_test::FinderRuntime::byte_set(bytes), charset).view());
  }

  app_test::FinderRuntime runtime_;
};

class WebFetch : public FinderRoutines {
 protected:
  RawHttpServer server_{[](const std::string& request, RawHttpServer::Connection& reply) {
    const std::string target = RawHttpServer::target_of(request);
    const bool missing = target == "/missing";
    const std::string body = missing ? "<html>no such lyric</html>" : "body of " + target;
    reply.send(http_head(missing ? "HTTP/1.1 404 Not Found" : "HTTP/1.1 200 OK",
                         {"Content-Length: " + std::to_string(body.size())}) +
               body);
  }};
};

TEST_F(WebFetch, EachRequestClassThatCannotBeMadeFallsBackToTheNext) {
  EXPECT_EQ(fetch(server_.url("/a")), "body of /a");
  ASSERT_TRUE(platform::com::revoke_class(platform::com::CLSID_WinHttpRequest));
  EXPECT_EQ(fetch(server_.url("/b")), "body of /b");
  ASSERT_TRUE(platform::com::revoke_class(platform::com::CLSID_ServerXMLHTTP60));
  EXPECT_EQ(fetch(server_.url("/c")), "body of /c");
  ASSERT_TRUE(platform::com::revoke_class(platform::com::CLSID_ServerXMLHTTP50));
  EXPECT_EQ(fetch(server_.url("/d")), "") << "no request class: nothing fetched";
  EXPECT_EQ(server_.requests().size(), 3u);
}

TEST_F(WebFetch, AnErrorPageComesBackAndAnUnreachableHostGivesNothing) {
  EXPECT_EQ(fetch(server_.url("/missing")), "<html>no such lyric</html>");
  EXPECT_EQ(app::fetch_url("http://no-such-host.invalid/api/lyric/x/y").get(), nullptr);
}

TEST_F(WebFetch, TwoThreadsFetchAtOnceEachInItsOwnApartment) {
  std::string a, b;
  std::thread first([&] { a = fetch(server_.url("/one")); });
  std::thread second([&] { b = fetch(server_.url("/two")); });
  first.join();
  second.join();
  EXPECT_EQ(a, "body of /one");
  EXPECT_EQ(b, "body of /two");
}

using StreamDecoding = FinderRoutines;

TEST_F(StreamDecoding, BytesInTheirCharsetBecomeGb18030Text) {
  const std::string mixed = "한국어 é 😀 歌词";
  const struct {
    const char* name;
    std::string bytes;
    const char* charset;
    std::string utf8;  // what the text reads as, in UTF-8
  } cases[] = {
      {"UTF-8 by default", "歌词", nullptr, "歌词"},
      {"nothing", "", nullptr, ""},
      {"a byte-order mark is dropped", "\xEF\xBB\xBF[00:01.00]歌", "UTF-8", "[00:01.00]歌"},
      {"Korean, Latin, an emoji and Chinese keep every character", mixed, "UTF-8", mixed},
      {"bad bytes become U+FFFD and reading goes on", "ok \xFF\xC3 end", "UTF-8",
       "ok \xEF\xBF\xBD\xEF\xBF\xBD end"},
      {"GBK", "\xB8\xE8\xB4\xCA", "GBK", "歌词"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string text = decode(c.bytes, c.charset);
    EXPECT_EQ(text, utf8_to_ansi(c.utf8));
    EXPECT_EQ(ansi_to_utf8(text), c.utf8);
  }
}

}  // namespace
