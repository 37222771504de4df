// The finder's web fetch and decoding, driven through the commands exactly as its routines do:
// request objects by ProgID with two fall-backs, Open / Send / ResponseBody into a byte set, and
// the stream decoding UTF-8 bytes into GB18030 text.
#include <gtest/gtest.h>

#include <thread>

#include "platform/com/classes/http_request.h"
#include "platform/com/registry.h"
#include "runtime/callback.h"
#include "tests/automation/command_harness.h"
#include "tests/automation/finder_routines.h"
#include "tests/support/raw_http_server.h"

namespace lyr::test {
namespace {

namespace tag = runtime::tag;

class WebFetch : public ::testing::Test {
 protected:
  void SetUp() override { automation::attach_runtime(&runtime::runtime_callback); }

  RawHttpServer server_{[](const std::string& request, RawHttpServer::Connection& reply) {
    std::string target = RawHttpServer::target_of(request);
    if (target == "/missing") {
      std::string body = "<html>no such lyric</html>";
      reply.send(http_head("HTTP/1.1 404 Not Found", {"Content-Length: " + std::to_string(body.size())}) +
                 body);
      return;
    }
    std::string body = "body of " + target;
    reply.send(http_head("HTTP/1.1 200 OK", {"Content-Length: " + std::to_string(body.size())}) + body);
  }};
};

TEST_F(WebFetch, EveryRequestClassFetchesTheBodyWithThePercentEncodedUtf8Path) {
  const std::string title = ansi("/api/lyric/歌词 A/周");
  const std::string wire = "/api/lyric/%E6%AD%8C%E8%AF%8D%20A/%E5%91%A8";
  for (const char* progid : kRequestProgIds) {
    Apartment apartment;
    ObjectVar request;
    ASSERT_TRUE(request.create(progid)) << progid;
    std::string address = server_.url("") + title;
    char* url = address.data();
    call(&automation::com_object_method,
         {request.arg(), text_arg("Open"), text_arg("GET"), by_address(tag::kText, &url), bool_arg(false)});
    EXPECT_EQ(automation::automation_error_code(), 0) << progid;
    call(&automation::com_object_method, {request.arg(), text_arg("Send")});
    EXPECT_EQ(automation::automation_error_code(), 0) << progid;
    runtime::ArgRecord body =
        call(&automation::com_object_read_property, {request.arg(), text_arg("ResponseBody")});
    ASSERT_EQ(body.tag, tag::kVariant);
    EXPECT_EQ(body.pointer<VARIANT>()->vt, VT_ARRAY | VT_UI1);
    runtime::ArgRecord bytes = call(&automation::variant_to_byte_set, {variant_arg(body.pointer<VARIANT>())});
    EXPECT_EQ(byte_set_bytes(bytes.pointer<void>()), "body of " + wire) << progid;
    EXPECT_EQ(RawHttpServer::target_of(server_.last_request()), wire);
    free_value(bytes);
    free_value(body);
  }
}

TEST_F(WebFetch, RevokedClassesFallBackToTheNextProgIdInOrder) {
  std::string served_by;
  const CLSID first = platform::com::CLSID_WinHttpRequest;
  const CLSID second = platform::com::CLSID_ServerXMLHTTP60;
  ASSERT_TRUE(platform::com::revoke_class(first));
  EXPECT_EQ(fetch_url(server_.url("/a"), &served_by), "body of /a");
  EXPECT_EQ(served_by, "MSXML2.ServerXMLHTTP.6.0");
  ASSERT_TRUE(platform::com::revoke_class(second));
  EXPECT_EQ(fetch_url(server_.url("/b"), &served_by), "body of /b");
  EXPECT_EQ(served_by, "MSXML2.ServerXMLHTTP.5.0");
  for (const auto& entry : platform::com::http_request_class_entries()) platform::com::register_class(entry);
  EXPECT_EQ(fetch_url(server_.url("/c"), &served_by), "body of /c");
  EXPECT_EQ(served_by, "WinHttp.WinHttpRequest.5.1");
}

TEST_F(WebFetch, AnErrorPageBodyComesBackAndAFailedRequestGivesNothing) {
  EXPECT_EQ(fetch_url(server_.url("/missing")), "<html>no such lyric</html>");

  Apartment apartment;
  ObjectVar request;
  ASSERT_TRUE(request.create("WinHttp.WinHttpRequest.5.1"));
  std::string address = "http://no-such-host.invalid/api/lyric/x/y";
  char* url = address.data();
  call(&automation::com_object_method,
       {request.arg(), text_arg("Open"), text_arg("GET"), by_address(tag::kText, &url), bool_arg(false)});
  call(&automation::com_object_method, {request.arg(), text_arg("Send")});
  EXPECT_EQ(automation::automation_error_code(), -11) << "the failed send raises an exception";
  runtime::ArgRecord body =
      call(&automation::com_object_read_property, {request.arg(), text_arg("ResponseBody")});
  EXPECT_EQ(body.pointer<VARIANT>()->vt, VT_EMPTY);
  runtime::ArgRecord bytes = call(&automation::variant_to_byte_set, {variant_arg(body.pointer<VARIANT>())});
  EXPECT_EQ(bytes.pointer<void>(), nullptr);
  free_value(body);
}

TEST_F(WebFetch, OnlyHttpAndHttpsAreOpened) {
  Apartment apartment;
  ObjectVar request;
  ASSERT_TRUE(request.create("MSXML2.ServerXMLHTTP.6.0"));
  call(&automation::com_object_method,
       {request.arg(), text_arg("Open"), text_arg("GET"), text_arg("file:///etc/passwd"), bool_arg(false)});
  EXPECT_EQ(automation::automation_error_code(), -11);
  call(&automation::com_object_method, {request.arg(), text_arg("Send")});
  EXPECT_EQ(automation::automation_error_code(), -11) << "nothing was opened";
}

TEST_F(WebFetch, TwoThreadsEachWithTheirOwnApartmentFetchAtOnce) {
  std::string a, b;
  std::thread first([&] { a = fetch_url(server_.url("/one")); });
  std::thread second([&] { b = fetch_url(server_.url("/two")); });
  first.join();
  second.join();
  EXPECT_EQ(a, "body of /one");
  EXPECT_EQ(b, "body of /two");
}

TEST(StreamDecoding, Utf8BytesBecomeGb18030Text) {
  automation::attach_runtime(&runtime::runtime_callback);
  EXPECT_EQ(decode_bytes("\xE6\xAD\x8C\xE8\xAF\x8D"), ansi("歌词"));
  EXPECT_EQ(decode_bytes(""), "");
  EXPECT_EQ(decode_bytes("\xEF\xBB\xBF[00:01.00]\xE6\xAD\x8C"), ansi("[00:01.00]歌"));
  const std::string mixed = "한국어 é 😀 歌词";
  EXPECT_EQ(utf8(decode_bytes(mixed).c_str()), mixed);
  EXPECT_EQ(utf8(decode_bytes("ok \xFF\xC3 end").c_str()), "ok \xEF\xBF\xBD\xEF\xBF\xBD end")
      << "bad bytes become U+FFFD and reading goes on";
  EXPECT_EQ(decode_bytes("\xB8\xE8\xB4\xCA", "GBK"), ansi("歌词"));
}

}  // namespace
}  // namespace lyr::test
