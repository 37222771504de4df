// Window.PopupMenu on this program's main window: the hidden "菜单" record and its one item.
#include <gtest/gtest.h>
#include <unistd.h>

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "commands/popup_menu_command.h"
#include "platform/api/controls.h"
#include "platform/api/input.h"
#include "platform/api/kernel.h"
#include "platform/api/user.h"
#include "platform/winsys/headless.h"
#include "runtime/abi/event_handler.h"
#include "runtime/messages.h"
#include "tests/commands/command_call.h"
#include "tests/runtime/test_image.h"
#include "tests/support/popup_watch.h"
#include "tests/ui/main_window_template.h"
#include "tests/ui/support/ui_host.h"
#include "ui/listview/extended_library.h"
#include "ui/templates/window_collection.h"
#include "ui/windows/window_builder.h"

namespace {

using ui_test::kMainWindowId;

constexpr std::uint32_t kMenuTop = 0x26010080;
constexpr std::uint32_t kDownloadItem = 0x26010081;
constexpr std::uint32_t kListView = 0x16010019;
constexpr POINT kCursor{300, 200};

int download_runs = 0;

runtime::HandlerResult count_download(const std::uint64_t*, std::int32_t) {
  ++download_runs;
  return runtime::returns_nothing();
}

const runtime::CodeBase& code_base() {
  static const auto code = ui_test::MainWindowCodeBase::quiet_except(
      {{ui_test::kDownloadHandler, ui_test::as_routine(&count_download)}});
  return code.base();
}

runtime::ArgRecord unit(std::uint32_t window_id, std::uint32_t unit_id, std::uint32_t type) {
  return runtime::ArgRecord{window_id, unit_id, type};
}

// The item data of the owner-drawn menu items the owner was asked to measure.
std::vector<ULONG_PTR>* measured = nullptr;

LRESULT on_call(int code, WPARAM wp, LPARAM lp) {
  const auto* message = reinterpret_cast<const CWPSTRUCT*>(lp);
  if (measured != nullptr && message->message == WM_MEASUREITEM) {
    const auto* item = reinterpret_cast<const MEASUREITEMSTRUCT*>(message->lParam);
    if (item->CtlType == ODT_MENU) measured->push_back(item->itemData);
  }
  return CallNextHookEx(nullptr, code, wp, lp);
}

class PopupMenu : public ::testing::Test {
 protected:
  void SetUp() override {
    download_runs = 0;
    host_ = std::make_unique<ui_test::UiHost>(
        template_.block(), &code_base(),
        std::vector<runtime::LibraryRecord>{ui::listview::extended_library_record()});
    ASSERT_TRUE(ui::load_window(kMainWindowId));
    platform::headless::mouse_move(kCursor);
    ui_test::pump();
    watch_.emplace();
    measured = &measured_;
    hook_ = SetWindowsHookExA(WH_CALLWNDPROC, &on_call, nullptr, GetCurrentThreadId());
  }
  void TearDown() override {
    UnhookWindowsHookEx(hook_);
    measured = nullptr;
    watch_.reset();
    host_.reset();
  }

  void popup(std::vector<runtime::ArgRecord> args) {
    commands_test::call(&commands::popup_menu_command, std::move(args));
    ui_test::pump();
  }
  void popup_of(std::uint32_t menu_unit) {
    popup({unit(kMainWindowId, 0, 0x00010001), unit(kMainWindowId, menu_unit, 0x00010003)});
  }

  ui_test::MainWindowTemplate template_;
  std::unique_ptr<ui_test::UiHost> host_;
  std::optional<test_support::PopupWatch> watch_;
  std::vector<ULONG_PTR> measured_;
  HHOOK hook_ = nullptr;
};

TEST_F(PopupMenu, ShowsTheItemAtTheCursorPlusThreeAndAClickFiresItsEvent) {
  popup_of(kMenuTop);
  ASSERT_EQ(watch_->corners.size(), 1u);
  EXPECT_EQ(watch_->corners[0].x, kCursor.x + 3);
  EXPECT_EQ(watch_->corners[0].y, kCursor.y + 3);
  EXPECT_TRUE(measured_.empty()) << "the main window does not ask for owner-drawn items";
  EXPECT_EQ(download_runs, 1) << "the click on 下载歌词 raised its selection event";
}

TEST_F(PopupMenu, GivenCoordinatesReplaceTheCursorsAndDismissingChoosesNothing) {
  watch_->click_at.reset();
  popup({unit(kMainWindowId, 0, 0x00010001), unit(kMainWindowId, kMenuTop, 0x00010003),
         commands_test::integer(50), commands_test::omitted()});
  ASSERT_EQ(watch_->corners.size(), 1u);
  EXPECT_EQ(watch_->corners[0].x, 50);
  EXPECT_EQ(watch_->corners[0].y, kCursor.y + 3);
  EXPECT_EQ(download_runs, 0);
}

TEST_F(PopupMenu, NothingIsShownForItemsWithoutSubItemsOrOfAnotherWindow) {
  popup_of(kDownloadItem);
  popup_of(kListView);
  popup_of(0x26019999);
  popup({unit(kMainWindowId, 0, 0x00010001), unit(0x52010002, kMenuTop, 0x00010003)});
  popup({unit(kMainWindowId, 0, 0x00010001)});
  EXPECT_TRUE(watch_->corners.empty());
  EXPECT_EQ(download_runs, 0);
}

TEST_F(PopupMenu, ItemsAreOwnerDrawnWhenTheWindowAsks) {
  auto& window = ui::templates::window_collection().window(0);
  window.units[0].control().state_flags |= ui::templates::kOwnerDrawnPopups;
  watch_->click_at.reset();
  popup_of(kMenuTop);
  ASSERT_EQ(watch_->corners.size(), 1u);
  ASSERT_FALSE(measured_.empty());
  EXPECT_EQ(measured_[0], 20001u) << "the item's command id is its data";
}

TEST_F(PopupMenu, AWindowThatIsNotLoadedIsARuntimeError) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(popup({unit(0x52010009, 0, 0x00010001), unit(0x52010009, kMenuTop, 0x00010003)}),
              ::testing::ExitedWithCode(255), runtime_test::utf8(runtime::messages::kUnitNotLoaded));
}

TEST_F(PopupMenu, TheRunDirectoryIsTheProgramsFolderWithoutASeparator) {
  char path[4096] = {};
  const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
  ASSERT_GT(n, 0);
  std::string expected(path, static_cast<std::size_t>(n));
  expected.resize(expected.rfind('/'));
  for (char& c : expected) c = c == '/' ? '\\' : c;
  EXPECT_EQ(commands_test::call_text(&commands::get_run_directory_command, {}), expected);
}

}  // namespace
