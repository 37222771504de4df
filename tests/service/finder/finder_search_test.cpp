// The finder's real program image against this service over the bundled sample library: what
// a user sees after a search and a double-click.
#include <gtest/gtest.h>
#include <iconv.h>

#include "app/main_window.h"
#include "tests/app/support/finder.h"
#include "tests/service/support/service_fixture.h"

namespace service_test {
namespace {

using namespace app::main_window;

// The finder's text values are GB18030.
std::string gb18030(const std::string& utf8) {
  iconv_t cd = iconv_open("GB18030", "UTF-8");
  std::string out(utf8.size() * 4, '\0');
  char* in = const_cast<char*>(utf8.data());
  char* dst = out.data();
  std::size_t in_left = utf8.size(), out_left = out.size();
  iconv(cd, &in, &in_left, &dst, &out_left);
  iconv_close(cd);
  out.resize(out.size() - out_left);
  return out;
}

class FinderOnService : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(service_.port(), app_test::service_port())
        << "port " << app_test::service_port() << " is taken";
    finder_ = std::make_unique<app_test::Finder>();
  }
  LocalService service_{{LYRIC_SAMPLE_LIBRARY}, {}, std::chrono::seconds(3), app_test::service_port()};
  std::unique_ptr<app_test::Finder> finder_;
};

TEST_F(FinderOnService, SearchListsTheHitsAndADoubleClickShowsTheLyric) {
  finder_->set_keywords(gb18030("夜空的灯"), "");
  finder_->search();
  ASSERT_EQ(finder_->row_count(), 1);
  std::string id = finder_->cell(0, 0);
  EXPECT_EQ(finder_->cell(0, 1), service_.base() + "/lrc/" + id + ".lrc");
  EXPECT_EQ(finder_->text(kHintLabel).substr(0, 5), gb18030("共：1"));

  finder_->double_click_row(0);
  finder_->wait_for_workers();
  std::string lyric = finder_->text(kLyricPreview);
  EXPECT_NE(lyric.find(gb18030("[00:10.00]晚风吹过安静的街口")), std::string::npos) << lyric;
}

TEST_F(FinderOnService, KoreanAndJapaneseTitlesAndAnArtistAlone) {
  finder_->set_keywords(gb18030("별빛 정류장"), "");
  finder_->search();
  EXPECT_EQ(finder_->row_count(), 1);
  finder_->set_keywords(gb18030("春風のメロディ"), "");
  finder_->search();
  EXPECT_EQ(finder_->row_count(), 1);
  finder_->set_keywords("", "northbound trains");
  finder_->search();
  EXPECT_EQ(finder_->row_count(), 1);
  finder_->set_keywords("nothing like this", "");
  finder_->search();
  EXPECT_EQ(finder_->row_count(), 0);
  EXPECT_EQ(finder_->text(kHintLabel).substr(0, 5), gb18030("共：0"));
}

}  // namespace
}  // namespace service_test

namespace service_test {
namespace {

// Titles holding the characters that shape an address, in a library of their own.
class FinderOnReservedTitles : public ::testing::Test {
 protected:
  static std::vector<std::string> library(const TempDir& dir) {
    write_file(dir / "a.lrc", "[ti:AC/DC]\n[ar:Volts]\n[00:01.00]high voltage\n");
    write_file(dir / "b.lrc", "[ti:100% #1?]\n[ar:Volts]\n[00:01.00]all of it\n");
    return {dir.path().string()};
  }
  void SetUp() override {
    ASSERT_EQ(service_.port(), app_test::service_port())
        << "port " << app_test::service_port() << " is taken";
    finder_ = std::make_unique<app_test::Finder>();
  }
  TempDir dir_;
  LocalService service_{library(dir_), {}, std::chrono::seconds(3), app_test::service_port()};
  std::unique_ptr<app_test::Finder> finder_;
};

TEST_F(FinderOnReservedTitles, EachTitleIsFoundWhole) {
  const struct {
    const char* title;
    const char* artist;
    int rows;
  } cases[] = {
      {"AC/DC", "", 1},    {"AC/DC", "Volts", 1},
      {"100% #1?", "", 1}, {"AC", "DC", 0},  // the halves of a title are not a title and an artist
      {"%", "", 0},        {"%", "%", 0},    // a lone escape sign is a keyword like any other
  };
  for (const auto& c : cases) {
    finder_->set_keywords(c.title, c.artist);
    finder_->search();
    EXPECT_EQ(finder_->row_count(), c.rows) << c.title << " | " << c.artist;
    EXPECT_EQ(finder_->text(kHintLabel).substr(0, 5), gb18030("共：" + std::to_string(c.rows)))
        << c.title << " | " << c.artist;
  }
}

}  // namespace
}  // namespace service_test
