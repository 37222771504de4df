// Windows of real window and label units built from templates, with handlers bound in the
// template and delivered by the runtime's event dispatch.
#include <gtest/gtest.h>

#include <deque>
#include <memory>

#include "platform/api/menu.h"
#include "platform/api/messages.h"
#include "platform/api/user.h"
#include "platform/winsys/headless.h"
#include "runtime/abi/event_handler.h"
#include "runtime/state.h"
#include "tests/ui/support/ui_host.h"
#include "tests/ui/window_unit_support.h"
#include "ui/state/modal.h"
#include "ui/templates/template_builder.h"
#include "ui/units/label_properties.h"
#include "ui/units/unit_types.h"
#include "ui/units/window_properties.h"
#include "ui/windows/window_builder.h"

namespace {

using ui::templates::kVisible;

constexpr std::uint32_t kWindowA = 0x52000031;
constexpr std::uint32_t kOwnA = 0x06000031;
constexpr std::uint32_t kWindowB = 0x52000032;
constexpr std::uint32_t kOwnB = 0x06000032;
constexpr std::uint32_t kLabelId = 0x16000033;
constexpr std::uint32_t kMenuTop = 0x26000034;
constexpr std::uint32_t kMenuItem = 0x26000035;

constexpr std::int32_t kRefuseOffset = 0x10;
constexpr std::int32_t kCountOffset = 0x20;
constexpr std::int32_t kPostCloseOffset = 0x30;
constexpr std::int32_t kNoteOffset = 0x40;

int refusals = 0;
int menu_selections = 0;
int first_enabled_while_closing = -1;

runtime::HandlerResult refuse(const std::uint64_t*, std::int32_t) {
  ++refusals;
  return runtime::returns(0);
}

runtime::HandlerResult count_selection(const std::uint64_t*, std::int32_t) {
  ++menu_selections;
  return runtime::returns_nothing();
}

runtime::HandlerResult post_close(const std::uint64_t*, std::int32_t) {
  PostMessageA(ui::window_native(1), WM_CLOSE, 0, 0);
  return runtime::returns_nothing();
}

runtime::HandlerResult note_first_window(const std::uint64_t*, std::int32_t) {
  first_enabled_while_closing = IsWindowEnabled(ui::window_native(0)) ? 1 : 0;
  return runtime::returns_nothing();
}

const runtime::CodeEntry kEntries[] = {
    {kRefuseOffset, reinterpret_cast<runtime::Routine>(&refuse)},
    {kCountOffset, reinterpret_cast<runtime::Routine>(&count_selection)},
    {kPostCloseOffset, reinterpret_cast<runtime::Routine>(&post_close)},
    {kNoteOffset, reinterpret_cast<runtime::Routine>(&note_first_window)},
};
const runtime::CodeBase kCodeBase{kEntries, 4};

class WindowUnitBuild : public ::testing::Test {
 protected:
  void SetUp() override {
    refusals = 0;
    menu_selections = 0;
    first_enabled_while_closing = -1;
    drop_quit();
  }
  void TearDown() override {
    host_.reset();
    drop_quit();  // closing the last window at the end of a test posts one
  }

  ui::templates::WindowTemplate& add_window(std::uint32_t window_id, std::uint32_t own_id,
                                            const ui::WindowProperties& p,
                                            std::vector<ui::templates::EventBinding> events = {}) {
    ui::templates::WindowTemplate& w = windows_.emplace_back();
    w.id = window_id;
    w.units.push_back(ui::templates::window_unit(own_id, ui::kWindowType, {5, 5, 418, 300}, kVisible,
                                                 std::move(events), keep(p)));
    return w;
  }

  std::span<const std::uint8_t> keep(const ui::WindowProperties& p) {
    return blocks_.emplace_back(p.serialize());
  }
  std::span<const std::uint8_t> keep(const ui::LabelProperties& p) {
    return blocks_.emplace_back(p.serialize());
  }

  void start() {
    std::vector<ui::templates::WindowTemplate> all(windows_.begin(), windows_.end());
    host_ = std::make_unique<ui_test::UiHost>(ui::templates::build_templates(all), &kCodeBase);
  }

  static bool quit_waiting() {
    MSG m;
    return PeekMessageA(&m, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE) != FALSE;
  }
  static void drop_quit() {
    MSG m;
    while (PeekMessageA(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
  }

  std::deque<std::vector<std::uint8_t>> blocks_;
  std::deque<ui::templates::WindowTemplate> windows_;
  std::unique_ptr<ui_test::UiHost> host_;
};

TEST_F(WindowUnitBuild, TheWindowIsCentredAndItsLabelPaintsItsLines) {
  ui::WindowProperties wp;
  wp.position = 1;
  ui::LabelProperties lp;
  lp.caption = "Double click\r\nRight click";
  lp.background = 0xFFFFFF;
  auto& w = add_window(kWindowA, kOwnA, wp);
  w.units.push_back(ui::templates::control(kLabelId, ui::kLabelType,
                                           "\xB1\xEA\xC7\xA9"
                                           "1",
                                           {10, 10, 150, 60}, kVisible, {}, keep(lp)));
  start();
  ASSERT_TRUE(ui::load_window(kWindowA));
  ui_test::pump();

  HWND window = ui::window_native(0);
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(IsWindowVisible(window));
  RECT r{};
  GetWindowRect(window, &r);
  EXPECT_EQ(r.left, (GetSystemMetrics(SM_CXSCREEN) - 418) / 2) << "the template's left is replaced";
  EXPECT_EQ(r.top, (GetSystemMetrics(SM_CYSCREEN) - 300) / 2);

  ui::Unit* label = ui::live_unit(0, 1);
  ASSERT_NE(label, nullptr);
  EXPECT_TRUE(IsWindowVisible(label->hwnd()));
  RECT client{};
  GetClientRect(label->hwnd(), &client);
  EXPECT_EQ(ui_test::ink(label->hwnd(), client, 0xFFFFFF).row_bands, 2);
}

TEST_F(WindowUnitBuild, AHandlerAnsweringFalseKeepsTheWindowOpen) {
  add_window(kWindowA, kOwnA, ui::WindowProperties{}, {{1, kRefuseOffset}});
  start();
  host_->state().message_loop_started = true;
  ASSERT_TRUE(ui::load_window(kWindowA));
  HWND window = ui::window_native(0);
  SendMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(refusals, 1);
  EXPECT_TRUE(IsWindow(window));
  EXPECT_FALSE(quit_waiting());
}

TEST_F(WindowUnitBuild, ClosingTheOnlyWindowEndsTheLoopClosingOneOfTwoDoesNot) {
  add_window(kWindowA, kOwnA, ui::WindowProperties{});
  add_window(kWindowB, kOwnB, ui::WindowProperties{});
  start();
  host_->state().message_loop_started = true;
  ASSERT_TRUE(ui::load_window(kWindowA));
  ASSERT_TRUE(ui::load_window(kWindowB));
  SendMessageA(ui::window_native(0), WM_CLOSE, 0, 0);
  EXPECT_EQ(ui::window_native(0), nullptr);
  EXPECT_FALSE(quit_waiting());
  SendMessageA(ui::window_native(1), WM_CLOSE, 0, 0);
  EXPECT_TRUE(quit_waiting());
  drop_quit();
}

TEST_F(WindowUnitBuild, MenuCommandsReachTheirMenuRecords) {
  auto& w = add_window(kWindowA, kOwnA, ui::WindowProperties{});
  w.units.push_back(ui::templates::menu_item(kMenuTop, "File", 0, 0, -1));
  w.units.push_back(ui::templates::menu_item(kMenuItem, "Open", 1, 0, kCountOffset));
  start();
  ASSERT_TRUE(ui::load_window(kWindowA));
  HWND window = ui::window_native(0);
  ASSERT_NE(GetMenu(window), nullptr);
  SendMessageA(window, WM_COMMAND, 20001, 0);
  EXPECT_EQ(menu_selections, 1);
  SendMessageA(window, WM_COMMAND, 20000, 0);  // the top item has no handler
  SendMessageA(window, WM_COMMAND, 20005, 0);  // no such record
  EXPECT_EQ(menu_selections, 1);
}

TEST_F(WindowUnitBuild, AModalWindowReEnablesTheOthersWhenItCloses) {
  add_window(kWindowA, kOwnA, ui::WindowProperties{});
  // Created: ask to close at once (served by the modal loop); may close: note the first window.
  add_window(kWindowB, kOwnB, ui::WindowProperties{}, {{0, kPostCloseOffset}, {1, kNoteOffset}});
  start();
  ASSERT_TRUE(ui::load_window(kWindowA));
  HWND first = ui::window_native(0);
  ASSERT_TRUE(ui::load_window(kWindowB, false, true));
  EXPECT_EQ(first_enabled_while_closing, 0) << "disabled while the modal window was open";
  EXPECT_EQ(ui::window_native(1), nullptr);
  EXPECT_TRUE(IsWindowEnabled(first));
}

TEST_F(WindowUnitBuild, ActivatingAWindowThatAModalWindowDisabledActivatesTheModalOne) {
  add_window(kWindowA, kOwnA, ui::WindowProperties{});
  add_window(kWindowB, kOwnB, ui::WindowProperties{});
  start();
  ASSERT_TRUE(ui::load_window(kWindowA));
  ASSERT_TRUE(ui::load_window(kWindowB));
  HWND a = ui::window_native(0);
  HWND b = ui::window_native(1);
  SetActiveWindow(a);
  SetActiveWindow(b);
  SetActiveWindow(a);
  EXPECT_EQ(GetActiveWindow(), a) << "not modal yet: activation goes where it is asked";

  ui::begin_modal(1);
  ASSERT_FALSE(IsWindowEnabled(a));
  SetActiveWindow(b);
  SetActiveWindow(a);
  EXPECT_EQ(GetActiveWindow(), b);
  ui::end_modal(1);
  EXPECT_TRUE(IsWindowEnabled(a));
}

}  // namespace
