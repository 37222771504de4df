// The finder on a desktop at 200 %: the program keeps its 96-dpi layout while every window is
// drawn at twice the size, and input given at the shown places reaches the right units.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/main_window.h"
#include "platform/api/gdi.h"
#include "platform/api/input.h"
#include "platform/api/listview.h"
#include "platform/api/user.h"
#include "platform/winsys/headless.h"
#include "tests/app/support/finder.h"
#include "tests/app/support/lyric_server.h"
#include "tests/support/popup_watch.h"

namespace {

namespace hl = platform::headless;
using namespace app::main_window;

class ScaledFinder : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(hl::set_scale(2.0));
    finder_ = std::make_unique<app_test::Finder>();
  }
  void TearDown() override {
    finder_.reset();
    hl::set_scale(1.0);
  }
  // The device pixel of a unit's client point, counted from the main window's corner.
  POINT device_point(HWND unit, POINT client) const {
    RECT main{};
    GetWindowRect(finder_->window(), &main);
    ClientToScreen(unit, &client);
    return POINT{2 * (client.x - main.left) + 1, 2 * (client.y - main.top) + 1};
  }
  std::unique_ptr<app_test::Finder> finder_;
};

TEST_F(ScaledFinder, TheMainWindowIsTwiceItsLogicalSizeAndCentred) {
  HWND w = finder_->window();
  RECT r{}, client{};
  GetWindowRect(w, &r);
  GetClientRect(w, &client);
  EXPECT_EQ(r.right - r.left, 418);
  EXPECT_EQ(client.right, 412);
  EXPECT_EQ(client.bottom, 487);
  const SIZE device = hl::client_device_size(w);
  EXPECT_EQ(device.cx, 824);
  EXPECT_EQ(device.cy, 974);
  EXPECT_EQ(r.left, (GetSystemMetrics(SM_CXSCREEN) - 418) / 2);
  EXPECT_EQ(r.top, (GetSystemMetrics(SM_CYSCREEN) - 512) / 2);
}

TEST_F(ScaledFinder, TypingAfterAClickAtTheTitleBoxsShownPlaceFillsIt) {
  HWND title = finder_->unit(kTitleEdit);
  ASSERT_NE(title, nullptr);
  ASSERT_TRUE(hl::click_device(finder_->window(), device_point(title, {10, 8})));
  finder_->pump();
  EXPECT_EQ(GetFocus(), title);
  hl::text("scaled");
  finder_->pump();
  EXPECT_EQ(finder_->text(kTitleEdit), "scaled");
}

TEST_F(ScaledFinder, TheRowMenuOpensThreeLogicalPixelsFromTheCursor) {
  app_test::LyricServer server(app_test::service_port());
  ASSERT_TRUE(server.started());
  const std::string base = app_test::service_base();
  server.reply("/api/lyric/abc/", app_test::search_reply({{"1", base + "/lrc/1.lrc"}}));
  finder_->set_keywords("abc", "");
  finder_->search();
  ASSERT_EQ(finder_->row_count(), 1);
  HWND list = finder_->unit(kResultList);
  RECT row{};
  row.left = LVIR_BOUNDS;
  SendMessageA(list, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row));
  test_support::PopupWatch watch;
  watch.click_at.reset();
  hl::advance_clock(1000);
  ASSERT_TRUE(hl::click_device(finder_->window(), device_point(list, {row.left + 20, row.top + 5}),
                               hl::Button::right));
  finder_->pump();
  ASSERT_EQ(watch.opened, 1);
  POINT cursor{};
  GetCursorPos(&cursor);
  EXPECT_EQ(watch.corners[0].x, cursor.x + 3);
  EXPECT_EQ(watch.corners[0].y, cursor.y + 3);
}

}  // namespace
