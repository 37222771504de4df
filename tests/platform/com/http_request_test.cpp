// The request classes on the wire: redirects, headers, bodies, reply charsets and failures,
// against a raw loopback server.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "platform/com/classes/http_transfer.h"
#include "tests/platform/com/dispatch_call.h"
#include "tests/support/raw_http_server.h"

namespace lyr::test {
namespace {

std::string reply(std::string_view status, std::string body,
                  std::initializer_list<std::string_view> extra = {}) {
  std::string head = http_head(status, {"Content-Length: " + std::to_string(body.size())});
  head.erase(head.size() - 2);  // reopen the head for the extra lines
  for (std::string_view line : extra) head += std::string(line) + "\r\n";
  return head + "\r\n" + body;
}

void serve(const std::string& request, RawHttpServer::Connection& out, RawHttpServer& self);

class HttpRequest : public ::testing::Test {
 protected:
  std::u16string url(const std::string& path) {
    std::string u = server_.url(path);
    return std::u16string(u.begin(), u.end());
  }
  HRESULT fetch(Client& client, const std::string& path, Var* body = nullptr, HRESULT* scode = nullptr) {
    client.method(u"Open", {text_var(u"GET"), text_var(url(path)), long_var(0)});
    HRESULT hr = client.method(u"Send", {}, nullptr, scode);
    if (body != nullptr) client.get(u"ResponseBody", body);
    return hr;
  }

  RawHttpServer server_{
      [this](const std::string& request, RawHttpServer::Connection& out) { serve(request, out, server_); }};
};

void serve(const std::string& request, RawHttpServer::Connection& out, RawHttpServer& self) {
  std::string target = RawHttpServer::target_of(request);
  if (target.rfind("/hop/", 0) == 0) {
    int left = std::stoi(target.substr(5));
    if (left == 0) {
      out.send(reply("HTTP/1.1 200 OK", "landed"));
    } else {
      out.send(reply("HTTP/1.1 302 Found", "", {"Location: /hop/" + std::to_string(left - 1)}));
    }
  } else if (target == "/to-ftp") {
    out.send(reply("HTTP/1.1 302 Found", "", {"Location: ftp://127.0.0.1/file"}));
  } else if (target == "/gbk") {
    out.send(reply("HTTP/1.1 200 OK", "\xB8\xE8\xB4\xCA",
                   {"Content-Type: text/plain; charset=GBK", "X-Lyric: yes"}));
  } else if (target == "/stall") {
    out.send("HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\npart");
    // Far beyond the 1 s time-out, so a loaded machine still sees a stall rather than a cut.
    std::this_thread::sleep_for(std::chrono::milliseconds(5000));
  } else {
    out.send(reply("HTTP/1.1 201 Created", "\xE6\xAD\x8C" + std::to_string(self.requests().size())));
  }
}

TEST_F(HttpRequest, RedirectsAreFollowedTenTimesAtMostAndOnlyToHttp) {
  Client request(u"WinHttp.WinHttpRequest.5.1");
  Var body;
  EXPECT_EQ(fetch(request, "/hop/10", &body), S_OK);
  EXPECT_EQ(bytes_of(body.v), "landed");
  HRESULT scode = S_OK;
  Var none;
  EXPECT_EQ(fetch(request, "/hop/11", &none, &scode), DISP_E_EXCEPTION);
  EXPECT_EQ(scode, platform::com::kHttpRedirectFailed);
  EXPECT_EQ(none.v.vt, VT_EMPTY) << "a failed request leaves no body";
  EXPECT_EQ(fetch(request, "/to-ftp", nullptr, &scode), DISP_E_EXCEPTION);
}

TEST_F(HttpRequest, HeadersStatusAndTextByTheReplysCharset) {
  Client request(u"MSXML2.ServerXMLHTTP.6.0");
  HRESULT scode = S_OK;
  Var status;
  EXPECT_EQ(request.get(u"Status", &status), DISP_E_EXCEPTION) << "no status before a reply";
  request.method(u"Open", {text_var(u"POST"), text_var(url("/echo")), long_var(0)});
  request.method(u"SetRequestHeader", {text_var(u"X-Title"), text_var(u"lyric")});
  EXPECT_EQ(request.method(u"SetRequestHeader", {text_var(u"Bad\r\nName"), text_var(u"x")}, nullptr, &scode),
            DISP_E_EXCEPTION);
  ASSERT_EQ(request.method(u"Send", {text_var(u"歌")}), S_OK);
  const std::string wire = server_.last_request();
  EXPECT_NE(wire.find("POST /echo "), std::string::npos);
  EXPECT_NE(wire.find("X-Title: lyric\r\n"), std::string::npos);
  EXPECT_NE(wire.find("\r\n\r\n\xE6\xAD\x8C"), std::string::npos) << "a text body goes as UTF-8";
  request.get(u"Status", &status);
  EXPECT_EQ(status.v.lVal, 201);
  Var status_text, text;
  request.get(u"StatusText", &status_text);
  EXPECT_EQ(std::u16string(status_text.v.bstrVal), u"Created");
  request.get(u"ResponseText", &text);
  EXPECT_EQ(std::u16string(text.v.bstrVal), u"歌1") << "UTF-8 when the reply names no charset";

  Client gbk(u"MSXML2.ServerXMLHTTP.5.0");
  ASSERT_EQ(fetch(gbk, "/gbk"), S_OK);
  Var decoded, header, missing;
  gbk.get(u"ResponseText", &decoded);
  EXPECT_EQ(std::u16string(decoded.v.bstrVal), u"歌词");
  gbk.method(u"GetResponseHeader", {text_var(u"x-lyric")}, &header);
  EXPECT_EQ(std::u16string(header.v.bstrVal), u"yes");
  EXPECT_EQ(gbk.method(u"GetResponseHeader", {text_var(u"X-None")}, &missing, &scode), DISP_E_EXCEPTION);
}

TEST_F(HttpRequest, AStalledTransferEndsAtTheReceiveTimeout) {
  Client request(u"WinHttp.WinHttpRequest.5.1");
  request.method(u"SetTimeouts", {long_var(0), long_var(1000), long_var(1000), long_var(1000)});
  HRESULT scode = S_OK;
  EXPECT_EQ(fetch(request, "/stall", nullptr, &scode), DISP_E_EXCEPTION);
  EXPECT_EQ(scode, platform::com::kHttpTimeout);
}

TEST(HttpUrl, UnicodeAndUnsafeBytesArePercentEncodedOnce) {
  EXPECT_EQ(platform::com::percent_encode_url("http://h/a b/%41/\xE6\xAD\x8C?q=\"x\""),
            "http://h/a%20b/%41/%E6%AD%8C?q=%22x%22");
  EXPECT_TRUE(platform::com::is_http_url("HTTPS://example"));
  EXPECT_FALSE(platform::com::is_http_url("file:///etc/passwd"));
}

}  // namespace
}  // namespace lyr::test
