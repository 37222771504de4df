// Searching: the request the service sees, the rows and the status line that come back.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/main_window.h"
#include "tests/app/support/finder.h"
#include "tests/app/support/lyric_server.h"

namespace {

using namespace app::main_window;
using app_test::search_reply;

constexpr char kTotal[] = "\xB9\xB2\xA3\xBA";                    // 共：
constexpr char kLyrics[] = " \xB8\xE8\xB4\xCA\xA1\xA3\r\n\r\n";  // " 歌词。\r\n\r\n"

class Search : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(server_->started()) << "port " << app_test::service_port() << " is taken";
    finder_ = std::make_unique<app_test::Finder>();
  }
  void TearDown() override { finder_.reset(); }

  std::string status(const std::string& count) const {
    return kTotal + count + kLyrics + app_test::service_base() + "/";
  }
  std::string row(int i) const { return finder_->cell(i, 0) + " | " + finder_->cell(i, 1); }

  std::unique_ptr<app_test::LyricServer> server_ =
      std::make_unique<app_test::LyricServer>(app_test::service_port());
  std::unique_ptr<app_test::Finder> finder_;
};

TEST_F(Search, KeywordsGoIntoThePathAsTyped) {
  finder_->set_keywords("abc", "");
  finder_->search();
  finder_->set_keywords("", "abc");
  finder_->search();
  finder_->set_keywords("\xB8\xE8\xB4\xCA", "x");  // 歌词: sent as UTF-8, percent-encoded
  finder_->search();
  EXPECT_EQ(server_->requests(), (std::vector<std::string>{"/api/lyric/abc/", "/api/lyric//abc",
                                                           "/api/lyric/%E6%AD%8C%E8%AF%8D/x"}));
}

// Characters that would split the path, start a query or fragment, break an escape or fold a
// dot segment stay inside their keyword's one segment; a double-byte character whose second
// byte is a backslash or '|' passes whole.
TEST_F(Search, EachKeywordIsExactlyOneSegment) {
  const struct {
    const char* title;
    const char* artist;
    const char* target;
  } cases[] = {
      {"AC/DC", "", "/api/lyric/AC%2FDC/"},
      {"a?b#c", "100%", "/api/lyric/a%3Fb%23c/100%25"},
      {"%", "%2F", "/api/lyric/%25/%252F"},
      {"..", ".", "/api/lyric/%2E%2E/%2E"},
      {"...", "/", "/api/lyric/.../%2F"},
      {"\x81\x5C\x81\x7C", "x", "/api/lyric/%E4%B9%97%E4%BA%85/x"},  // 乗亅
  };
  for (const auto& c : cases) {
    server_->clear_log();
    finder_->set_keywords(c.title, c.artist);
    finder_->search();
    EXPECT_EQ(server_->requests(), std::vector<std::string>{c.target}) << c.title << " | " << c.artist;
  }
}

TEST_F(Search, WithoutKeywordsOnlyTheNoticeShows) {
  finder_->set_keywords("", "");
  testing::internal::CaptureStderr();
  finder_->search();
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "[MessageBox] 提示\n至少输入一个关键词！\n");
  EXPECT_TRUE(server_->requests().empty());
  EXPECT_EQ(finder_->text(kHintLabel).substr(0, 2), "\xCB\xAB") << "the hint stays";
}

TEST_F(Search, HitsAreListedInReplyOrderWithTheServiceCount) {
  server_->reply("/api/lyric/abc/",
                 search_reply({{"7", "http://h/7.lrc"}, {"12", "http://h/12.lrc"}, {"3", "http://h/3.lrc"}}));
  server_->reply("/api/lyric/one/", search_reply({{"5", "http://h/5.lrc"}}));
  finder_->set_keywords("abc", "");
  testing::internal::CaptureStderr();
  finder_->search();
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  ASSERT_EQ(finder_->row_count(), 3);
  EXPECT_EQ(row(0), "7 | http://h/7.lrc");
  EXPECT_EQ(row(1), "12 | http://h/12.lrc");
  EXPECT_EQ(row(2), "3 | http://h/3.lrc");
  EXPECT_EQ(finder_->text(kHintLabel), status("3"));

  // A second search starts from an empty list.
  finder_->set_keywords("one", "");
  finder_->search();
  ASSERT_EQ(finder_->row_count(), 1);
  EXPECT_EQ(row(0), "5 | http://h/5.lrc");
  EXPECT_EQ(finder_->text(kHintLabel), status("1"));
}

TEST_F(Search, AnUnreachableServiceListsNothingAndSaysNothing) {
  server_->reply("/api/lyric/abc/", search_reply({{"7", "http://h/7.lrc"}}));
  finder_->set_keywords("abc", "");
  finder_->search();
  ASSERT_EQ(finder_->row_count(), 1);
  server_.reset();
  testing::internal::CaptureStderr();
  finder_->search();
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  EXPECT_EQ(finder_->row_count(), 0);
  EXPECT_EQ(finder_->text(kHintLabel), status(""));
}

// Replies the markers cut oddly: fewer addresses than ids, an id closed by "}" rather than ",",
// no count at all.
TEST_F(Search, ShortAndOddRepliesNeverEndTheProgram) {
  server_->reply("/api/lyric/abc/",
                 "{\"list\": [{\"aid\": 1, \"lrc\": \"http://h/1.lrc\"}, {\"aid\": 2}, {\"aid\": 3}], "
                 "\"count\": 3, \"code\": 0}");
  finder_->set_keywords("abc", "");
  finder_->search();
  ASSERT_EQ(finder_->row_count(), 3);
  EXPECT_EQ(row(0), "1 | http://h/1.lrc");
  EXPECT_EQ(row(1), "2} | ") << "the id runs on to the next comma";
  EXPECT_EQ(row(2), "3}] | ");
  EXPECT_EQ(finder_->text(kHintLabel), status("3"));

  server_->reply("/api/lyric/x/", "{\"aid\": 9, \"lrc\": \"u\"}");
  finder_->set_keywords("x", "");
  finder_->search();
  ASSERT_EQ(finder_->row_count(), 1);
  EXPECT_EQ(row(0), "9 | u");
  EXPECT_EQ(finder_->text(kHintLabel), status(""));
}

}  // namespace
