// The request objects driven through the object commands: each class by its ProgID, Open / Send
// / ResponseBody into a byte set, a failed send and a refused scheme. The finder's own routines
// built on these are tested with the finder (tests/app/web_fetch_test.cpp).
#include <gtest/gtest.h>

#include "runtime/callback.h"
#include "tests/automation/command_harness.h"
#include "tests/support/raw_http_server.h"

namespace lyr::test {
namespace {

namespace tag = runtime::tag;

constexpr const char* kRequestProgIds[] = {"WinHttp.WinHttpRequest.5.1", "MSXML2.ServerXMLHTTP.6.0",
                                           "MSXML2.ServerXMLHTTP.5.0"};

class WebFetch : public ::testing::Test {
 protected:
  void SetUp() override { automation::attach_runtime(&runtime::runtime_callback); }

  RawHttpServer server_{[](const std::string& request, RawHttpServer::Connection& reply) {
    const std::string body = "body of " + RawHttpServer::target_of(request);
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

TEST_F(WebFetch, AFailedSendRaisesAnExceptionAndLeavesNoBody) {
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

}  // namespace
}  // namespace lyr::test
