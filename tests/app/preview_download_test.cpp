// What a user does with a listed hit: preview it (lyric and cover), download it through the row
// menu, and open the author's site from the hint label.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <set>
#include <string>
#include <thread>

#include "app/main_window.h"
#include "platform/kernel/codepage.h"
#include "platform/winsys/headless.h"
#include "runtime/service_table.h"
#include "tests/app/support/finder.h"
#include "tests/app/support/lyric_server.h"
#include "tests/support/popup_watch.h"
#include "tests/ui/picture/picture_encoders.h"

namespace {

namespace fs = std::filesystem;
using namespace app::main_window;
using app_test::search_reply;
namespace pictures = lyr::picture::test;

constexpr char kLyric[] = "[00:01.00]歌词 가사 🎵\n[00:02.00]second line\n";

std::string bytes_text(const pictures::Bytes& b) {
  return std::string(b.begin(), b.end());
}

std::string read_all(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

class Hits : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(server_->started()) << "port " << app_test::service_port() << " is taken";
    const std::string base = app_test::service_base();
    server_->reply("/api/lyric/abc/", search_reply({{"1", base + "/lrc/1.lrc"}, {"2", base + "/lrc/2.lrc"}}));
    server_->reply("/lrc/1.lrc", kLyric, "text/plain");
    server_->reply("/lrc/2.lrc", "[00:00.00]two\n", "text/plain");
    finder_ = std::make_unique<app_test::Finder>();
    finder_->set_keywords("abc", "");
    finder_->search();
    ASSERT_EQ(finder_->row_count(), 2);
  }
  void TearDown() override { finder_.reset(); }

  void cover(const std::string& id, const std::string& path, const pictures::Bytes& picture,
             const char* type) {
    server_->reply("/api/cover/" + id,
                   "{\"cover\": \"" + app_test::service_base() + path + "\", \"code\": 0}");
    server_->reply(path, bytes_text(picture), type);
  }
  // The picture property as the picture box holds it.
  std::string picture() const {
    const runtime::ServiceTable& s = runtime::service_table();
    auto* set = reinterpret_cast<std::uint8_t*>(
        static_cast<std::uintptr_t>(s.read_property(kWindow, kCoverPicture, kPicture, -1)));
    if (set == nullptr) return "";
    std::uint32_t n = 0;
    std::memcpy(&n, set + 4, sizeof n);
    std::string bytes(reinterpret_cast<char*>(set + 8), n);
    s.free(set);
    return bytes;
  }
  void preview(int row) {
    finder_->double_click_row(row);
    finder_->wait_for_workers();
  }

  std::unique_ptr<app_test::LyricServer> server_ =
      std::make_unique<app_test::LyricServer>(app_test::service_port());
  std::unique_ptr<app_test::Finder> finder_;
};

TEST_F(Hits, ADoubleClickShowsTheLyricWholeAndTheCoverInEveryFormat) {
  const std::vector<std::uint32_t> red(16 * 16, 0xFFFF0000);
  const pictures::Bytes png = pictures::write_png(16, 16, red);
  cover("1", "/img/1.png", png, "image/png");
  preview(0);
  EXPECT_EQ(platform::codepage::ansi_to_utf8(finder_->text(kLyricPreview)), kLyric) << "no character lost";
  EXPECT_EQ(picture(), bytes_text(png));
  EXPECT_EQ(platform::headless::read_pixel(finder_->unit(kCoverPicture), 4, 4), RGB(255, 0, 0));

  pictures::GifLayout gif;
  gif.width = gif.height = 4;
  gif.global_palette = {0xFF0000, 0x00FF00};
  for (std::uint8_t colour : {0, 1}) {
    pictures::GifFrameLayout frame;
    frame.width = frame.height = 4;
    frame.indices.assign(16, colour);
    frame.delay_cs = 5;
    gif.frames.push_back(frame);
  }
  const pictures::Bytes animated = pictures::write_gif(gif);
  cover("1", "/img/1.gif", animated, "image/gif");
  preview(0);  // the animation plays on a thread of its own, which is no worker of the program
  EXPECT_EQ(picture(), bytes_text(animated));
  const pictures::Bytes jpeg = pictures::write_jpeg(16, 16, std::vector<std::uint32_t>(256, 0x0000FF));
  cover("1", "/img/1.jpg", jpeg, "image/jpeg");
  preview(0);
  EXPECT_EQ(picture(), bytes_text(jpeg)) << "and the animation stops with the next picture";
}

TEST_F(Hits, AFailedFetchEmptiesThePreviewAndAMissingCoverKeepsThePicture) {
  const pictures::Bytes png = pictures::write_png(2, 2, std::vector<std::uint32_t>(4, 0xFF00FF00));
  cover("1", "/img/1.png", png, "image/png");
  preview(0);
  ASSERT_FALSE(finder_->text(kLyricPreview).empty());

  server_->reply("/lrc/1.lrc", "", "text/plain", 500);
  server_->reply("/api/cover/1", "{\"code\": 404}");
  preview(0);
  EXPECT_EQ(finder_->text(kLyricPreview), "");
  EXPECT_EQ(picture(), bytes_text(png)) << "a reply without a cover address changes nothing";
}

TEST_F(Hits, TwoQuickDoubleClicksEndWithTheLyricOfTheLastWorker) {
  finder_->double_click_row(0);
  finder_->double_click_row(1);
  finder_->wait_for_workers();
  const std::string shown = finder_->text(kLyricPreview);
  EXPECT_TRUE(shown == "[00:00.00]two\n" || shown.rfind("[00:01.00]", 0) == 0) << shown;
  // Both workers asked for their lyric.
  int lyric_requests = 0;
  for (const std::string& target : server_->requests()) lyric_requests += target.rfind("/lrc/", 0) == 0;
  EXPECT_EQ(lyric_requests, 2);
}

class Download : public Hits {
 protected:
  void SetUp() override {
    Hits::SetUp();
    target_ = fs::path(test_support_program_directory()) / "abc - .lrc";
    fs::remove(target_);
  }
  void TearDown() override {
    fs::remove(target_);
    Hits::TearDown();
  }
  static std::string test_support_program_directory() {
    return fs::canonical("/proc/self/exe").parent_path().string();
  }
  // Right-clicks a row and chooses the menu's one item; answers the message boxes shown.
  std::string download(int row) {
    test_support::PopupWatch watch;
    testing::internal::CaptureStderr();
    finder_->right_click_row(row);
    finder_->pump();
    opened_ = watch.opened;
    return testing::internal::GetCapturedStderr();
  }
  fs::path target_;
  int opened_ = 0;
};

TEST_F(Download, TheChosenItemSavesTheServedBytesNextToTheProgram) {
  EXPECT_EQ(download(0), "[MessageBox] 提示\n下载完毕,已保存在软件目录！\n");
  EXPECT_EQ(opened_, 1);
  EXPECT_EQ(read_all(target_), kLyric);
}

TEST_F(Download, TheFileIsNamedAfterTheFieldsAtTheMomentOfTheDownload) {
  finder_->set_keywords("later", "someone");
  const fs::path renamed = target_.parent_path() / "later - someone.lrc";
  fs::remove(renamed);
  EXPECT_EQ(download(1), "[MessageBox] 提示\n下载完毕,已保存在软件目录！\n");
  EXPECT_EQ(read_all(renamed), "[00:00.00]two\n");
  EXPECT_FALSE(fs::exists(target_));
  fs::remove(renamed);
}

// Whatever the fields hold, the lyric lands in the program's folder under a name with no
// folder part, cut to what the file system takes with " - artist.lrc" kept whole.
TEST_F(Download, EveryNameLandsInTheProgramFolder) {
  std::string long_chinese;  // 150 x 歌: 300 bytes here, 450 in UTF-8
  for (int i = 0; i < 150; ++i) long_chinese += "\xB8\xE8";
  std::string cut_title, cut_artist;
  for (int i = 0; i < 80; ++i) cut_title += "歌";
  for (int i = 0; i < 82; ++i) cut_artist += "歌";
  const struct {
    std::string title, artist, name;
  } cases[] = {
      {"..\\..\\..\\x", "", ".._.._.._x - .lrc"},
      {"AC/DC", "a:b*c?d\"e<f>g|h", "AC_DC - a_b_c_d_e_f_g_h.lrc"},
      {"tab\there", "\x01", "tab_here - _.lrc"},
      {"..", "..", ".. - ...lrc"},
      {"\x81\x5C\x81\x7C", "", "乗亅 - .lrc"},  // second bytes: a backslash and '|'
      {long_chinese, "someone", cut_title + " - someone.lrc"},
      {"t", long_chinese, "t - " + cut_artist + ".lrc"},
  };
  const fs::path folder = target_.parent_path();
  auto names = [&] {
    std::set<std::string> found;
    for (const auto& entry : fs::directory_iterator(folder)) found.insert(entry.path().filename().string());
    return found;
  };
  for (const auto& c : cases) {
    const std::set<std::string> before = names();
    finder_->set_keywords(c.title, c.artist);
    EXPECT_EQ(download(0), "[MessageBox] 提示\n下载完毕,已保存在软件目录！\n") << c.name;
    std::set<std::string> added;
    for (const std::string& name : names())
      if (!before.count(name)) added.insert(name);
    EXPECT_EQ(added, std::set<std::string>{c.name});
    EXPECT_EQ(read_all(folder / c.name), kLyric) << c.name;
    fs::remove(folder / c.name);
  }
  EXPECT_FALSE(fs::exists(folder / "../../../x - .lrc"));
  fs::remove(folder / "../../../x - .lrc");
}

TEST_F(Download, AFailureWarnsWithTheStatusAndKeepsTheOldFile) {
  { std::ofstream(target_, std::ios::binary) << "kept"; }
  server_->reply("/lrc/1.lrc", "gone", "text/plain", 404);
  EXPECT_EQ(download(0), "[MessageBox] 警告\n下载文件失败！错误代码；-2146697211\n");
  EXPECT_EQ(read_all(target_), "kept");
}

TEST_F(Download, ARightClickOnTheEmptyListShowsNothing) {
  server_->reply("/api/lyric/none/", search_reply({}));
  finder_->set_keywords("none", "");
  finder_->search();
  ASSERT_EQ(finder_->row_count(), 0);
  test_support::PopupWatch watch;
  platform::headless::click(finder_->unit(kResultList), POINT{100, 100}, platform::headless::Button::right);
  finder_->pump();
  EXPECT_EQ(watch.opened, 0);
  EXPECT_FALSE(fs::exists(target_));
}

// The hint label starts the platform's shell program with the author's address, which hands it
// to the desktop's opener (here one that records its arguments).
TEST(AuthorSite, ALeftClickOnTheHintOpensTheAuthorsAddress) {
  const fs::path dir = fs::temp_directory_path() / ("finder-opener-" + std::to_string(getpid()));
  fs::create_directories(dir);
  const fs::path record = dir / "opened";
  {
    std::ofstream script(dir / "xdg-open");
    script << "#!/bin/sh\nprintf '%s\\n' \"$@\" > '" << record.string() << ".part' && mv '" << record.string()
           << ".part' '" << record.string() << "'\n";
  }
  fs::permissions(dir / "xdg-open", fs::perms::owner_all);
  const std::string old_path = std::getenv("PATH") != nullptr ? std::getenv("PATH") : "";
  setenv("PATH", (dir.string() + ":" + old_path).c_str(), 1);
  {
    app_test::Finder finder;
    platform::headless::click(finder.unit(kHintLabel), POINT{10, 10});
    finder.pump();
    // Two programs start in turn; a loaded machine may take its time over them.
    for (int i = 0; i < 6000 && !fs::exists(record); ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  setenv("PATH", old_path.c_str(), 1);
  EXPECT_EQ(read_all(record), app_test::service_base() + "/\n");
  fs::remove_all(dir);
}

}  // namespace
