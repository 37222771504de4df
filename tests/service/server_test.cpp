// The server under hostile or heavy use: file requests by id only, malformed requests answered
// with 4xx, many clients at once.
#include <gtest/gtest.h>

#include <future>

#include "tests/service/support/service_fixture.h"

namespace service_test {
namespace {

class Server : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = new TempDir;
    for (int i = 0; i < 20; ++i)
      write_file(*dir_ / ("Band - Song " + std::to_string(i) + ".lrc"),
                 "[00:01.00]line " + std::to_string(i) + "\n");
    service_ = new LocalService({dir_->path().string()});
  }
  static void TearDownTestSuite() {
    delete service_;
    delete dir_;
  }
  static int status_of(const std::string& request) {
    return raw_status(raw_exchange(service_->port(), request));
  }
  static TempDir* dir_;
  static LocalService* service_;
};
TempDir* Server::dir_ = nullptr;
LocalService* Server::service_ = nullptr;

TEST_F(Server, FilesAreReachedByIdOnly) {
  auto lrc = service_->get("/lrc/" + service_->id_text(*dir_ / "Band - Song 10.lrc") + ".lrc");
  EXPECT_EQ(lrc.body, "[00:01.00]line 10\n");
  for (const char* target :
       {"/lrc/../../etc/passwd", "/lrc/..%2F..%2Fetc%2Fpasswd", "/lrc/%2e%2e/etc/passwd.lrc",
        "/lrc/1.lrc/../../../etc/passwd", "/lrc/-1.lrc", "/lrc/0.lrc", "/lrc/21.lrc",
        "/lrc/99999999999999999999.lrc", "/lrc/3.txt", "/cover/../../etc/passwd",
        "/api/cover/../../etc/passwd", "/api/cover/abc", "/nowhere"}) {
    std::string reply = raw_exchange(
        service_->port(), std::string("GET ") + target + " HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n");
    EXPECT_EQ(raw_status(reply), 404) << target;
    EXPECT_EQ(reply.find("root:"), std::string::npos) << target;
  }
}

TEST_F(Server, MalformedRequestsGetAShortClientError) {
  EXPECT_EQ(status_of("GARBAGE\r\n\r\n"), 400);
  EXPECT_EQ(status_of("GET\r\n\r\n"), 400);
  EXPECT_EQ(status_of("GET /api/lyric/%ZZ/ HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n"), 400);
  EXPECT_EQ(status_of("GET /api/lyric/%FF%FF%FF/ HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n"),
            400);  // no text in any encoding
  int huge = status_of("GET /api/lyric/" + std::string(100000, 'a') +
                       " HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n");
  EXPECT_TRUE(huge == 400 || huge == 414) << huge;
  std::string reply =
      raw_exchange(service_->port(), "GET /nowhere HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n");
  EXPECT_NE(reply.find("\r\n\r\nnot found\n"), std::string::npos);
}

TEST_F(Server, FiftyConcurrentSearchesAreAllAnswered) {
  std::vector<std::future<std::string>> replies;
  for (int i = 0; i < 50; ++i)
    replies.push_back(std::async(std::launch::async, [i] {
      return service_->get("/api/lyric/song%20" + std::to_string(i % 20) + "/band").body;
    }));
  for (int i = 0; i < 50; ++i) {
    std::string body = replies[static_cast<std::size_t>(i)].get();
    // "song 1" also starts "song 10".."song 19".
    EXPECT_EQ(cut_one(body, "count\": ", ", \"code"), i % 20 == 1 ? "11" : "1") << i;
  }
}

TEST_F(Server, AuthorPageSaysWhatIsServed) {
  auto page = service_->get("/");
  EXPECT_EQ(page.status, 200);
  EXPECT_EQ(page.content_type, "text/html; charset=utf-8");
  EXPECT_NE(page.body.find("20 songs"), std::string::npos);
  EXPECT_NE(page.body.find(dir_->path().string()), std::string::npos);
}

}  // namespace
}  // namespace service_test
