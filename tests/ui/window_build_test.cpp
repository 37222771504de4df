#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/api/input.h"
#include "platform/api/menu.h"
#include "platform/api/user.h"
#include "runtime/callback.h"
#include "runtime/state.h"
#include "runtime/window_system.h"
#include "tests/ui/support/test_unit_types.h"
#include "tests/ui/support/ui_host.h"
#include "ui/templates/window_collection.h"
#include "ui/units/unit_interface.h"
#include "ui/state/modal.h"
#include "ui/windows/window_builder.h"

namespace {

using namespace ui_test;
using ui::templates::kDisabled;
using ui::templates::kTabStop;
using ui::templates::kVisible;

constexpr std::uint32_t kWindowA = 0x52000001;
constexpr std::uint32_t kOwnA = 0x06000001;
constexpr std::uint32_t kWindowB = 0x52000002;
constexpr std::uint32_t kOwnB = 0x06000002;
constexpr std::uint32_t kWindowC = 0x52000003;
constexpr std::uint32_t kOwnC = 0x06000003;

class WindowBuild : public ::testing::Test {
 protected:
  void SetUp() override { reset_fake_log(); }
  void TearDown() override {
    host_.reset();
    reset_fake_log();
  }

  void start() {
    host_ = std::make_unique<UiHost>(templates_.block(), nullptr,
                                     std::vector<runtime::LibraryRecord>{fake_unit_library()});
    record_events();
  }

  HWND native(std::size_t window, std::size_t unit) const {
    ui::Unit* u = ui::live_unit(window, unit);
    return u != nullptr ? u->hwnd() : nullptr;
  }

  static std::vector<std::uint32_t> layout_of(UINT message) {
    std::vector<std::uint32_t> ids;
    for (const LoggedMessage& m : fake_log().layout) {
      if (m.message == message) ids.push_back(m.unit_id);
    }
    return ids;
  }

  static bool quit_waiting() {
    MSG m;
    return PeekMessageA(&m, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE) != FALSE;
  }

  FakeTemplates templates_;
  std::unique_ptr<UiHost> host_;
};

TEST_F(WindowBuild, ControlsAreCreatedInReverseOrderAndStackedInTemplateOrder) {
  auto& w = templates_.add_window(kWindowA, kOwnA);
  templates_.add_control(w, 0x16000001, kFakeControl, kVisible | kTabStop);
  templates_.add_menu(w, 0x26000001, "menu", 0);
  templates_.add_control(w, 0x16000002, kFakeControl, kVisible | kDisabled);
  templates_.add_control(w, 0x16000003, kFakeControl, 0);
  start();

  ASSERT_TRUE(ui::load_window(kWindowA));
  EXPECT_EQ(fake_log().created, (std::vector<std::uint32_t>{kOwnA, 0x16000003, 0x16000002, 0x16000001}));

  HWND window = ui::window_native(0);
  HWND c1 = native(0, 1), c2 = native(0, 3), c3 = native(0, 4);
  ASSERT_TRUE(window && c1 && c2 && c3);
  EXPECT_EQ(GetDlgCtrlID(c3), 100);
  EXPECT_EQ(GetDlgCtrlID(c2), 110);
  EXPECT_EQ(GetDlgCtrlID(c1), 120);
  EXPECT_EQ(GetWindow(window, GW_CHILD), c1);
  EXPECT_EQ(GetWindow(c1, GW_HWNDNEXT), c2);
  EXPECT_EQ(GetWindow(c2, GW_HWNDNEXT), c3);
  EXPECT_EQ(GetWindow(c3, GW_HWNDNEXT), nullptr);

  EXPECT_TRUE(GetWindowLongA(c1, GWL_STYLE) & WS_TABSTOP);
  EXPECT_FALSE(GetWindowLongA(c2, GWL_STYLE) & WS_TABSTOP);
  EXPECT_FALSE(IsWindowEnabled(c2));
  EXPECT_TRUE(IsWindowVisible(window));
  EXPECT_TRUE(IsWindowVisible(c1));
  EXPECT_TRUE(IsWindowVisible(c2));
  EXPECT_FALSE(IsWindowVisible(c3));

  // Layout notifications from the last unit down to the window, the stacking message in between.
  const std::vector<std::uint32_t> down = {0x16000003, 0x16000002, 0x16000001, kOwnA};
  EXPECT_EQ(layout_of(ui::kMsgRereadData), down);
  EXPECT_EQ(layout_of(ui::kMsgLayout), std::vector<std::uint32_t>{kOwnA});
  EXPECT_EQ(layout_of(ui::kMsgPageSetup), down);
  ASSERT_EQ(fake_log().layout.size(), 9u);
  EXPECT_EQ(fake_log().layout[4].message, ui::kMsgLayout);

  ASSERT_EQ(fake_log().events.size(), 3u);
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(fake_log().events[i].window_id, kWindowA);
    EXPECT_EQ(fake_log().events[i].unit_id, kOwnA);
  }
  EXPECT_EQ(fake_log().events[0].event, 0);
  EXPECT_EQ(fake_log().events[1].event, 3);
  EXPECT_EQ(fake_log().events[2].event, 4);
  EXPECT_TRUE(ui::templates::window_collection().slots(0).created);
}

TEST_F(WindowBuild, LookupsFindUnitsByIdAndByNativeWindow) {
  auto& w = templates_.add_window(kWindowA, kOwnA);
  templates_.add_control(w, 0x16000001, kFakeControl, kVisible);
  templates_.add_menu(w, 0x26000001, "menu", 0);
  templates_.add_window(kWindowB, kOwnB);
  start();
  ASSERT_TRUE(ui::load_window(kWindowA));

  HWND window = ui::window_native(0);
  HWND control = native(0, 1);
  EXPECT_EQ(ui::window_index_of(kWindowB), 1);
  EXPECT_EQ(ui::unit_index_of(0, 0), 0);
  EXPECT_EQ(ui::unit_index_of(0, 0x26000001), 2);
  EXPECT_EQ(ui::unit_index_of(7, 0), -1);
  EXPECT_EQ(ui::unit_index_of_native(0, control), 1);
  EXPECT_EQ(ui::window_index_of_native(control), 0);
  EXPECT_EQ(ui::window_index_of_native(GetDesktopWindow()), -1);
  EXPECT_EQ(ui::unit_object(0, 1), ui::live_unit(0, 1));
  EXPECT_EQ(ui::live_unit(1, 0), nullptr);

  using runtime::runtime_callback;
  namespace cb = runtime::callback;
  EXPECT_EQ(runtime_callback(cb::kFindUnit, kWindowA, 0),
            reinterpret_cast<std::intptr_t>(ui::live_unit(0, 0)));
  EXPECT_EQ(runtime_callback(cb::kFindUnit, kWindowA, 0x16000001),
            reinterpret_cast<std::intptr_t>(ui::live_unit(0, 1)));
  EXPECT_EQ(runtime_callback(cb::kFindUnit, kWindowA, 0x26000001), 0) << "menu records are no unit objects";
  EXPECT_EQ(runtime_callback(cb::kFindUnit, kWindowB, 0), 0) << "not loaded";
  EXPECT_EQ(runtime_callback(cb::kWindowHandle, kWindowA, 0), reinterpret_cast<std::intptr_t>(window));
  EXPECT_EQ(runtime_callback(cb::kWindowHandle, kWindowB, 0), 0);
  EXPECT_EQ(runtime_callback(cb::kIsUnitWindow, reinterpret_cast<std::intptr_t>(control), 0), 1);
}

TEST_F(WindowBuild, ChildrenMoveIntoTheirContainerAndOnlyTheFirstPageShows) {
  auto& w = templates_.add_window(kWindowA, kOwnA);
  auto& pages = templates_.add_control(w, 0x16000001, kFakePageContainer, kVisible);
  pages.control().child_ids = {0x16000002, 0, 0x16000003};
  templates_.add_control(w, 0x16000002, kFakeControl, kVisible).control().parent_id = 0x16000001;
  templates_.add_control(w, 0x16000003, kFakeControl, kVisible).control().parent_id = 0x16000001;
  templates_.add_control(w, 0x16000004, kFakeStartsHidden, kVisible);
  templates_.add_control(w, 0x16000005, kFakeControl, kVisible);
  start();
  ASSERT_TRUE(ui::load_window(kWindowA));

  HWND window = ui::window_native(0);
  HWND container = native(0, 1), first = native(0, 2), second = native(0, 3);
  EXPECT_EQ(GetParent(first), container);
  EXPECT_EQ(GetParent(second), container);
  EXPECT_EQ(GetParent(native(0, 5)), window);
  EXPECT_TRUE(IsWindowVisible(first));
  EXPECT_FALSE(IsWindowVisible(second)) << "the second page starts hidden";
  EXPECT_FALSE(IsWindowVisible(native(0, 4))) << "a type that starts hidden";
  // Siblings inside the container keep template order, and so do the window's own children.
  EXPECT_EQ(GetWindow(container, GW_CHILD), first);
  EXPECT_EQ(GetWindow(first, GW_HWNDNEXT), second);
  EXPECT_EQ(GetWindow(window, GW_CHILD), container);
  EXPECT_EQ(GetWindow(container, GW_HWNDNEXT), native(0, 4));
  EXPECT_EQ(GetWindow(native(0, 4), GW_HWNDNEXT), native(0, 5));
}

TEST_F(WindowBuild, LoadingAnOpenWindowOnlyBringsItBack) {
  auto& w = templates_.add_window(kWindowA, kOwnA);
  templates_.add_control(w, 0x16000001, kFakeControl, kVisible);
  start();
  ASSERT_TRUE(ui::load_window(kWindowA));
  HWND window = ui::window_native(0);
  const std::size_t built = fake_log().created.size();

  ASSERT_TRUE(ui::load_window(kWindowA));
  EXPECT_EQ(fake_log().created.size(), built);
  EXPECT_EQ(ui::window_native(0), window);
  EXPECT_EQ(GetActiveWindow(), window);

  ShowWindow(window, SW_MINIMIZE);
  ASSERT_TRUE(IsIconic(window));
  ASSERT_TRUE(ui::load_window(kWindowA));
  EXPECT_FALSE(IsIconic(window)) << "a minimised window is restored";
  // One set of slots holds one live window: a new instance of an open window is not built.
  ASSERT_TRUE(ui::load_window(kWindowA, true));
  EXPECT_EQ(fake_log().created.size(), built);
  EXPECT_EQ(fake_log().events.size(), 3u) << "no second round of build events";
}

TEST_F(WindowBuild, AFailedBuildLeavesNothingBehind) {
  auto& w = templates_.add_window(kWindowA, kOwnA);
  templates_.add_menu(w, 0x26000001, "File", 0);
  templates_.add_menu(w, 0x26000002, "Open", 1, 0, 15);
  templates_.add_control(w, 0x16000001, kFakeControl, kVisible);
  templates_.add_control(w, 0x16000002, kFakeControl, kVisible, kFailCreate);
  templates_.add_control(w, 0x16000003, kFakeControl, kVisible);
  auto& b = templates_.add_window(kWindowB, kOwnB);
  templates_.add_control(b, 0x16000004, kFakeNoQuery, kVisible);
  templates_.add_window(kWindowC, kOwnC, kVisible, kFailCreate);
  start();

  EXPECT_FALSE(ui::load_window(kWindowA));
  // The window and the unit after it were built before the failing one.
  EXPECT_EQ(fake_log().created, (std::vector<std::uint32_t>{kOwnA, 0x16000003, 0x16000002}));
  ASSERT_NE(fake_log().last_window_menu, nullptr);
  EXPECT_FALSE(IsMenu(fake_log().last_window_menu)) << "the menu bar built for it is destroyed";
  EXPECT_EQ(ui::window_native(0), nullptr);
  for (std::size_t k = 0; k < 6; ++k) EXPECT_EQ(ui::unit_object(0, k), nullptr) << k;
  EXPECT_EQ(ui::templates::window_collection().slots(0).accelerators, nullptr);
  EXPECT_FALSE(runtime::window_system().any_window_alive());
  EXPECT_TRUE(fake_log().events.empty());

  EXPECT_FALSE(ui::load_window(kWindowB)) << "a type without interface query";
  EXPECT_FALSE(runtime::window_system().any_window_alive());
  EXPECT_FALSE(ui::load_window(kWindowC)) << "the window's own unit fails";
  EXPECT_FALSE(ui::load_window(0x52FFFFFF)) << "unknown id";
  EXPECT_FALSE(ui::create_window(9, false, false, nullptr));

  const std::size_t before = fake_log().created.size();
  HWND gone = CreateWindowExA(0, "LyrFakeWindow", "", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                              nullptr);
  DestroyWindow(gone);
  EXPECT_FALSE(ui::load_window(kWindowA, false, false, gone)) << "an owner that is not a live window";
  EXPECT_EQ(fake_log().created.size(), before);
}

TEST_F(WindowBuild, AHandlerThatClosesTheWindowEndsTheBuildEvents) {
  templates_.add_window(kWindowA, kOwnA);
  start();
  fake_log().on_event = [](const RaisedEvent& e) {
    if (e.event == 0) DestroyWindow(ui::window_native(0));
  };
  EXPECT_TRUE(ui::load_window(kWindowA));
  ASSERT_EQ(fake_log().events.size(), 1u);
  EXPECT_EQ(ui::window_native(0), nullptr);
  EXPECT_FALSE(ui::templates::window_collection().slots(0).created);
}

TEST_F(WindowBuild, AModalWindowDisablesTheOthersUntilItCloses) {
  templates_.add_window(kWindowA, kOwnA);
  templates_.add_window(kWindowB, kOwnB);
  templates_.add_window(kWindowC, kOwnC);
  start();
  ASSERT_TRUE(ui::load_window(kWindowA));
  ASSERT_TRUE(ui::load_window(kWindowC));
  HWND a = ui::window_native(0), c = ui::window_native(2);
  EnableWindow(c, FALSE);
  HWND active = GetActiveWindow();

  struct Seen {
    bool ran = false;
    bool a_enabled = true;
    bool c_enabled = true;
    bool modal = false;
    std::uint32_t loop_window = 0;
  } seen;
  fake_log().probe = [&] {
    seen.ran = true;
    seen.a_enabled = IsWindowEnabled(a) != FALSE;
    seen.c_enabled = IsWindowEnabled(c) != FALSE;
    seen.modal = ui::is_modal(1);
    seen.loop_window = runtime::modal_window();
  };
  fake_log().on_event = [](const RaisedEvent& e) {
    if (e.window_id != kWindowB || e.event != 4) return;
    // Served by the nested loop once the window is up.
    PostMessageA(ui::window_native(1), kMsgProbe, 0, 0);
    PostMessageA(ui::window_native(1), WM_CLOSE, 0, 0);
  };

  EXPECT_TRUE(ui::load_window(kWindowB, false, true, nullptr));
  ASSERT_TRUE(seen.ran) << "the nested loop ran while the window was open";
  EXPECT_FALSE(seen.a_enabled);
  EXPECT_FALSE(seen.c_enabled);
  EXPECT_TRUE(seen.modal);
  EXPECT_EQ(seen.loop_window, kWindowB);
  EXPECT_EQ(fake_log().last_window_owner, active);

  EXPECT_EQ(ui::window_native(1), nullptr);
  EXPECT_TRUE(IsWindowEnabled(a)) << "re-enabled";
  EXPECT_FALSE(IsWindowEnabled(c)) << "back to its previous state";
  EXPECT_FALSE(ui::is_modal(1));
  EXPECT_EQ(runtime::modal_window(), 0u);
}

TEST_F(WindowBuild, ClosingTheLastWindowEndsTheLoopAndEmptiesItsSlots) {
  auto& w = templates_.add_window(kWindowA, kOwnA);
  templates_.add_menu(w, 0x26000001, "File", 0);
  templates_.add_menu(w, 0x26000002, "Open", 1, 0, 15);
  templates_.add_control(w, 0x16000001, kFakeControl, kVisible);
  templates_.add_window(kWindowB, kOwnB);
  start();
  host_->state().message_loop_started = true;
  ASSERT_TRUE(ui::load_window(kWindowA));
  ASSERT_TRUE(ui::load_window(kWindowB));
  auto& slots = ui::templates::window_collection().slots(0);
  HMENU bar = slots.menu_bar;
  HACCEL accelerators = slots.accelerators;
  ASSERT_TRUE(bar && accelerators);

  SendMessageA(ui::window_native(0), WM_CLOSE, 0, 0);
  EXPECT_FALSE(quit_waiting()) << "another window is still open";
  EXPECT_EQ(ui::window_native(0), nullptr);
  EXPECT_EQ(ui::unit_object(0, 0), nullptr);
  EXPECT_EQ(ui::unit_object(0, 3), nullptr);
  EXPECT_FALSE(IsMenu(bar));
  EXPECT_EQ(CopyAcceleratorTableA(accelerators, nullptr, 0), 0) << "the table is destroyed";
  EXPECT_EQ(slots.accelerators, nullptr);

  SendMessageA(ui::window_native(1), WM_CLOSE, 0, 0);
  EXPECT_TRUE(quit_waiting());
  MSG m;
  PeekMessageA(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
}

TEST_F(WindowBuild, AWindowCanBeBuiltAgainAfterItClosed) {
  auto& w = templates_.add_window(kWindowA, kOwnA);
  templates_.add_control(w, 0x16000001, kFakeControl, kVisible);
  start();
  ASSERT_TRUE(ui::load_window(kWindowA));
  DestroyWindow(ui::window_native(0));
  ASSERT_TRUE(ui::load_window(kWindowA));
  EXPECT_EQ(fake_log().created.size(), 4u);
  EXPECT_NE(ui::live_unit(0, 1), nullptr);
  EXPECT_EQ(GetParent(native(0, 1)), ui::window_native(0));
}

TEST_F(WindowBuild, WhatWasWrittenIntoTheRecordsWhileTheWindowLivedIsUndoneWhenItGoes) {
  auto& w = templates_.add_window(kWindowA, kOwnA);
  templates_.add_control(w, 0x16000001, kFakeControl, kVisible);
  templates_.add_menu(w, 0x26000001, "File", 0);
  start();
  auto& units = ui::templates::window_collection().window(0).units;
  // Written while the window is not loaded: the next build starts from it.
  units[1].control().tag = "before";
  ASSERT_TRUE(ui::load_window(kWindowA));
  units[1].control().tag = "while open";
  units[2].menu().caption = "Datei";

  DestroyWindow(ui::window_native(0));
  EXPECT_EQ(units[1].control().tag, "before");
  EXPECT_EQ(units[2].menu().caption, "File");
}

}  // namespace
