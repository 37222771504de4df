// The replies as the finder reads them: its markers must cut the right ids, addresses and count
// out of real replies, whatever the titles hold.
#include <gtest/gtest.h>

#include "tests/service/support/service_fixture.h"

namespace service_test {
namespace {

class ReplyShape : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = new TempDir;
    write_file(*dir_ / "a/Alpha - 夜曲.lrc", "[00:01.00]night\n");
    write_file(*dir_ / "a/Alpha - 夜曲.png", std::string("\x89PNG\r\n\x1A\n", 8) + "rest");
    write_file(*dir_ / "b/quote.lrc",
               "[ti:Say \"aid\": 5, \"lrc\": \"x\" count\": 9, \"code]\n[ar:Beta]\n[00:01.00]x\n");
    write_file(*dir_ / "b/Beta - 夜曲 Remix.lrc", "[00:01.00]remix\n");
    service_ = new LocalService({dir_->path().string()});
  }
  static void TearDownTestSuite() {
    delete service_;
    delete dir_;
  }
  // Ids come from the songs' paths.
  static std::string id(const char* file) { return service_->id_text(*dir_ / file); }
  static TempDir* dir_;
  static LocalService* service_;
};
TempDir* ReplyShape::dir_ = nullptr;
LocalService* ReplyShape::service_ = nullptr;

TEST_F(ReplyShape, SearchReplyIsByteExactAndCutsCleanly) {
  auto reply = service_->get("/api/lyric/%E5%A4%9C%E6%9B%B2/");  // 夜曲, percent-encoded
  ASSERT_EQ(reply.status, 200);
  EXPECT_EQ(reply.content_type, "application/json; charset=utf-8");
  std::string b = service_->base();
  std::string id1 = id("a/Alpha - 夜曲.lrc"), id2 = id("b/Beta - 夜曲 Remix.lrc");
  EXPECT_EQ(reply.body, "{\"count\": 2, \"code\": 0, \"result\": [{\"aid\": " + id1 + ", \"lrc\": \"" + b +
                            "/lrc/" + id1 +
                            ".lrc\", \"song\": \"夜曲\", \"artist\": \"Alpha\", \"album\": \"\"}, "
                            "{\"aid\": " +
                            id2 + ", \"lrc\": \"" + b + "/lrc/" + id2 +
                            ".lrc\", \"song\": \"夜曲 Remix\", \"artist\": \"Beta\", \"album\": \"\"}]}");
  EXPECT_EQ(cut_all(reply.body, "\"aid\": ", ","), (std::vector<std::string>{id1, id2}));
  EXPECT_EQ(cut_all(reply.body, "\"lrc\": \"", "\""),
            (std::vector<std::string>{b + "/lrc/" + id1 + ".lrc", b + "/lrc/" + id2 + ".lrc"}));
  EXPECT_EQ(cut_one(reply.body, "count\": ", ", \"code"), "2");
}

TEST_F(ReplyShape, TitleHoldingMarkersCannotForgeThem) {
  auto reply = service_->get("/api/lyric/say/beta");
  ASSERT_EQ(reply.status, 200);
  EXPECT_NE(reply.body.find("Say \\u0022aid\\u0022: 5, \\u0022lrc\\u0022: \\u0022x\\u0022"),
            std::string::npos);
  EXPECT_EQ(cut_all(reply.body, "\"aid\": ", ","), std::vector<std::string>{id("b/quote.lrc")});
  EXPECT_EQ(cut_all(reply.body, "\"lrc\": \"", "\""),
            std::vector<std::string>{service_->base() + "/lrc/" + id("b/quote.lrc") + ".lrc"});
  EXPECT_EQ(cut_one(reply.body, "count\": ", ", \"code"), "1");
}

TEST_F(ReplyShape, EitherPartMayBeEmpty) {
  auto by_artist = service_->get("/api/lyric//ALPHA");
  EXPECT_EQ(cut_all(by_artist.body, "\"aid\": ", ","), std::vector<std::string>{id("a/Alpha - 夜曲.lrc")});
  auto title_only = service_->get("/api/lyric/%E5%A4%9C%E6%9B%B2%20remix");
  EXPECT_EQ(cut_all(title_only.body, "\"aid\": ", ","),
            std::vector<std::string>{id("b/Beta - 夜曲 Remix.lrc")});
  // The finder sends its keywords as typed; the platform's request object encodes them as UTF-8.
  auto raw = service_->get("/api/lyric/夜曲/Beta");
  EXPECT_EQ(cut_all(raw.body, "\"aid\": ", ","), std::vector<std::string>{id("b/Beta - 夜曲 Remix.lrc")});
  // Older clients send their code page's bytes: 夜曲 in GBK.
  auto gbk = service_->get("/api/lyric/%D2%B9%C7%FA/alpha");
  EXPECT_EQ(cut_all(gbk.body, "\"aid\": ", ","), std::vector<std::string>{id("a/Alpha - 夜曲.lrc")});
}

TEST_F(ReplyShape, NoHitAndNothingToSearch) {
  const std::string none = "{\"count\": 0, \"code\": 0, \"result\": []}";
  EXPECT_EQ(service_->get("/api/lyric/nothing%20like%20this/").body, none);
  EXPECT_EQ(service_->get("/api/lyric//").body, none);
  EXPECT_EQ(cut_one(none, "count\": ", ", \"code"), "0");
}

TEST_F(ReplyShape, CoverPresentAndAbsent) {
  std::string with_cover = id("a/Alpha - 夜曲.lrc"), without = id("b/Beta - 夜曲 Remix.lrc");
  auto with = service_->get("/api/cover/" + with_cover);
  EXPECT_EQ(with.body, "{\"count\": 1, \"code\": 0, \"result\": {\"cover\": \"" + service_->base() +
                           "/cover/" + with_cover + ".png\"}}");
  std::string address = cut_all(with.body, "\"cover\": \"", "\"").at(0);
  auto picture = service_->get(address.substr(service_->base().size()));
  EXPECT_EQ(picture.status, 200);
  EXPECT_EQ(picture.content_type, "image/png");
  EXPECT_TRUE(picture.body.starts_with("\x89PNG"));

  EXPECT_EQ(service_->get("/api/cover/" + without).body, "{\"count\": 0, \"code\": 0, \"result\": {}}");
  EXPECT_EQ(service_->get("/api/cover/999").body, "{\"count\": 0, \"code\": 0, \"result\": {}}");
  EXPECT_TRUE(cut_all(service_->get("/api/cover/" + without).body, "\"cover\": \"", "\"").empty());
  EXPECT_EQ(service_->get("/cover/" + without + ".png").status, 404);
  EXPECT_EQ(service_->get("/cover/" + with_cover + ".jpg").status, 404);
}

TEST_F(ReplyShape, AddressesFollowTheHostTheClientUsed) {
  std::string reply = raw_exchange(
      service_->port(), "GET /api/lyric/say/ HTTP/1.1\r\nHost: localhost:8123\r\nConnection: close\r\n\r\n");
  EXPECT_NE(reply.find("\"lrc\": \"http://localhost:8123/lrc/" + id("b/quote.lrc") + ".lrc\""),
            std::string::npos);
  std::string forged = raw_exchange(
      service_->port(), "GET /api/lyric/say/ HTTP/1.1\r\nHost: x\"y\r\nConnection: close\r\n\r\n");
  EXPECT_NE(forged.find("\"lrc\": \"" + service_->base() + "/lrc/" + id("b/quote.lrc") + ".lrc\""),
            std::string::npos);
}

}  // namespace
}  // namespace service_test
