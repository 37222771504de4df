// This program's main window, built from its template with the real unit types of the core and
// extended interface libraries.
#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/api/edit.h"
#include "platform/api/menu.h"
#include "platform/api/user.h"
#include "runtime/abi/event_handler.h"
#include "runtime/heap.h"
#include "runtime/values.h"
#include "runtime/window_system.h"
#include "tests/ui/main_window_template.h"
#include "tests/ui/support/drawn_text.h"
#include "tests/ui/support/test_unit_types.h"
#include "tests/ui/support/ui_host.h"
#include "tests/ui/window_unit_support.h"
#include "ui/access/property_access.h"
#include "ui/listview/extended_library.h"
#include "ui/state/menu_builder.h"
#include "ui/templates/template_builder.h"
#include "ui/templates/window_collection.h"
#include "ui/units/unit_interface.h"
#include "ui/windows/window_builder.h"

namespace {

using ui_test::kMainWindowId;

constexpr std::uint32_t kMenuTop = 0x26010080;
constexpr std::size_t kUnits = 13;

int& runs(int n) {
  static std::array<int, 6> counts{};
  return counts[static_cast<std::size_t>(n)];
}

template <int N>
runtime::HandlerResult count_run(const std::uint64_t*, std::int32_t) {
  ++runs(N);
  return runtime::returns_nothing();
}

const runtime::CodeBase& counting_code_base() {
  using ui_test::as_routine;
  static const ui_test::MainWindowCodeBase code({as_routine(&count_run<0>), as_routine(&count_run<1>),
                                                 as_routine(&count_run<2>), as_routine(&count_run<3>),
                                                 as_routine(&count_run<4>), as_routine(&count_run<5>)});
  return code.base();
}

std::string menu_text(HMENU menu, UINT position) {
  char buffer[128] = {};
  GetMenuStringA(menu, position, buffer, sizeof buffer, MF_BYPOSITION);
  return buffer;
}

class MainWindowBuild : public ::testing::Test {
 protected:
  void SetUp() override {
    for (int i = 0; i < 6; ++i) runs(i) = 0;
    host_ = std::make_unique<ui_test::UiHost>(
        template_.block(), &counting_code_base(),
        std::vector<runtime::LibraryRecord>{ui::listview::extended_library_record()});
    ASSERT_TRUE(ui::load_window(kMainWindowId));
    window_ = ui::window_native(0);
    ASSERT_NE(window_, nullptr);
  }
  void TearDown() override { host_.reset(); }

  HWND native(std::size_t unit) const {
    ui::Unit* u = ui::live_unit(0, unit);
    return u != nullptr ? u->hwnd() : nullptr;
  }

  // A text property through the unit type's own getter.
  std::string own_text(std::size_t unit, std::int32_t own_index) const {
    const auto& record = ui::templates::window_collection().window(0).units[unit];
    const runtime::UnitTypeDescriptor* type = runtime::unit_type(record.type_reference);
    auto get = reinterpret_cast<ui::GetOp>(type->interface_query(ui::kGetOp));
    ui::PropertyPair pair;
    if (get == nullptr || get(ui::unit_object(0, unit), own_index, &pair) == 0) return "<none>";
    return std::string(reinterpret_cast<const char*>(pair.first), static_cast<std::size_t>(pair.second));
  }

  void write_caption(std::uint32_t unit_id, const char* caption) {
    char* text = runtime::make_text(caption);
    ui::write_unit_property(kMainWindowId, unit_id, 0, 0, reinterpret_cast<std::uintptr_t>(text));
    runtime::release(text);
  }

  ui_test::MainWindowTemplate template_;
  std::unique_ptr<ui_test::UiHost> host_;
  HWND window_ = nullptr;
};

TEST_F(MainWindowBuild, ElevenUnitsAreBuiltCentredAndStackedInTemplateOrder) {
  ASSERT_EQ(ui::templates::window_collection().window(0).units.size(), kUnits);
  std::vector<std::size_t> controls;
  for (std::size_t k = 0; k < kUnits; ++k) {
    const bool menu = k == 2 || k == 3;
    EXPECT_EQ(ui::live_unit(0, k) == nullptr, menu) << k;
    if (!menu && k != 0) controls.push_back(k);
  }
  EXPECT_EQ(runs(2), 1) << "the window-created handler ran once";

  RECT r{};
  GetWindowRect(window_, &r);
  EXPECT_EQ(r.right - r.left, 418);
  EXPECT_EQ(r.bottom - r.top, 512);
  EXPECT_EQ(r.left, (GetSystemMetrics(SM_CXSCREEN) - 418) / 2);
  EXPECT_EQ(r.top, (GetSystemMetrics(SM_CYSCREEN) - 512) / 2);
  EXPECT_TRUE(IsWindowVisible(window_));
  char title[64] = {};
  GetWindowTextA(window_, title, sizeof title);
  EXPECT_STREQ(title, "Sonvo\xD5\xD2\xB8\xE8\xB4\xCA v1.0 By Veskar");

  // Created from the last index down: the group box got the first control id, the label 标签3 the last.
  UINT id = 100;
  for (auto k = controls.rbegin(); k != controls.rend(); ++k, id += 10) {
    EXPECT_EQ(GetDlgCtrlID(native(*k)), static_cast<int>(id)) << *k;
  }
  HWND sibling = GetWindow(window_, GW_CHILD);
  for (std::size_t k : controls) {
    EXPECT_EQ(sibling, native(k)) << k;
    EXPECT_TRUE(IsWindowVisible(native(k))) << k;
    sibling = GetWindow(sibling, GW_HWNDNEXT);
  }
  EXPECT_EQ(sibling, nullptr);
}

TEST_F(MainWindowBuild, TheHiddenMenuLeavesNoBarButServesThePopup) {
  EXPECT_EQ(GetMenu(window_), nullptr);
  EXPECT_EQ(ui::templates::window_collection().slots(0).accelerators, nullptr);
  HMENU popup = ui::build_popup_menu(0, 2);
  ASSERT_NE(popup, nullptr);
  ASSERT_EQ(GetMenuItemCount(popup), 1);
  EXPECT_EQ(menu_text(popup, 0), "\xCF\xC2\xD4\xD8\xB8\xE8\xB4\xCA");
  EXPECT_EQ(GetMenuItemID(popup, 0), 20001u);
  DestroyMenu(popup);

  SendMessageA(window_, WM_COMMAND, 20001, 0);
  EXPECT_EQ(runs(1), 1) << "the download handler";
  SendMessageA(window_, WM_COMMAND, 20000, 0);
  EXPECT_EQ(runs(1), 1) << "the hidden top-level item has no handler";
}

TEST_F(MainWindowBuild, CaptionsComeFromThePropertyBlocks) {
  EXPECT_EQ(own_text(1, 0),
            "\xCB\xAB\xBB\xF7\xD4\xA4\xC0\xC0\xB8\xE8\xB4\xCA\xA3\xAC\r\n\xD3\xD2\xBB\xF7\xCF\xC2\xD4\xD8"
            "\xB8\xE8\xB4\xCA\xA1\xA3\r\n\xD7\xF7\xD5\xDF:Veskar");
  EXPECT_EQ(own_text(9, 0), "\xD2\xD5\xCA\xF5\xBC\xD2\xA3\xBA\r\n\xC4\xA3  \xBA\xFD\xA3\xBA");
  EXPECT_EQ(own_text(10, 0), "\xB8\xE8\xC7\xFA\xC3\xFB\xA3\xBA");
  EXPECT_EQ(own_text(6, 2), "\xCB\xD1\xCB\xF7");
  char text[32] = {};
  GetWindowTextA(native(6), text, sizeof text);
  EXPECT_STREQ(text, "\xCB\xD1\xCB\xF7");
  GetWindowTextA(native(12), text, sizeof text);
  EXPECT_STREQ(text, "\xD7\xA8\xBC\xAD\xB7\xE2\xC3\xE6");
}

// The hint label "标签3" (96 x 40) holds three lines and "标签2" (48 x 26) two, in the stock
// 12-pixel face: every line is found whole inside its label, each below the one before.
TEST_F(MainWindowBuild, EveryLineOfTheWrappedLabelsShowsInsideItsLabel) {
  ui_test::settle();
  const ui_test::TextLook look{static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)), RGB(0, 0, 0),
                               GetSysColor(COLOR_BTNFACE)};
  for (std::size_t unit : {std::size_t{1}, std::size_t{9}}) {
    HWND label = native(unit);
    RECT client{};
    GetClientRect(label, &client);
    const std::string caption = own_text(unit, 0);
    LONG previous_top = -1;
    std::size_t lines = 0;
    for (std::size_t from = 0; from <= caption.size(); ++lines) {
      const std::size_t end = std::min(caption.find("\r\n", from), caption.size());
      const std::string line = caption.substr(from, end - from);
      const std::optional<POINT> at = ui_test::find_text_line(label, client, line, look);
      ASSERT_TRUE(at.has_value()) << "unit " << unit << ", line " << lines;
      EXPECT_GT(at->y, previous_top) << "unit " << unit << ", line " << lines;
      previous_top = at->y;
      from = end + 2;
    }
    EXPECT_EQ(lines, unit == 1 ? 3u : 2u);
  }
}

TEST_F(MainWindowBuild, MenuWritesRebuildTheBarOnlyWhenSomethingChanged) {
  // Showing the hidden item puts it on the bar.
  ui::write_unit_property(kMainWindowId, kMenuTop, 3, 0, 1);
  HMENU bar = GetMenu(window_);
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(menu_text(bar, 0), "\xB2\xCB\xB5\xA5");
  EXPECT_EQ(GetMenuItemID(GetSubMenu(bar, 0), 0), 20001u);

  write_caption(kMenuTop, "\xB2\xCB\xB5\xA5");
  EXPECT_EQ(GetMenu(window_), bar) << "the same caption rebuilds nothing";
  ui::write_unit_property(kMainWindowId, kMenuTop, 3, 0, 1);
  EXPECT_EQ(GetMenu(window_), bar);

  write_caption(kMenuTop, "Lyrics");
  HMENU rebuilt = GetMenu(window_);
  ASSERT_NE(rebuilt, nullptr);
  EXPECT_NE(rebuilt, bar);
  EXPECT_FALSE(IsMenu(bar));
  EXPECT_EQ(menu_text(rebuilt, 0), "Lyrics");

  ui::write_unit_property(kMainWindowId, kMenuTop, 3, 0, 0);
  EXPECT_EQ(GetMenu(window_), nullptr);
}

TEST_F(MainWindowBuild, AnEditBoxRecreatedByAWriteKeepsFocusPlaceAndStacking) {
  HWND old = native(7);  // "Artist"
  SetFocus(old);
  ui::write_unit_property(kMainWindowId, 0x1601001D, 15, 0, 1);  // multi-line re-creates the box
  HWND fresh = native(7);
  ASSERT_NE(fresh, nullptr);
  EXPECT_NE(fresh, old);
  EXPECT_FALSE(IsWindow(old));
  EXPECT_EQ(GetFocus(), fresh);
  EXPECT_TRUE(GetWindowLongA(fresh, GWL_STYLE) & ES_MULTILINE);
  RECT r{};
  GetWindowRect(fresh, &r);
  MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&r), 2);
  EXPECT_EQ(r.left, 288);
  EXPECT_EQ(r.top, 196);
  EXPECT_EQ(r.right - r.left, 120);
  EXPECT_EQ(r.bottom - r.top, 24);
  EXPECT_EQ(GetWindow(native(6), GW_HWNDNEXT), fresh);
  EXPECT_EQ(GetWindow(fresh, GW_HWNDNEXT), native(8));
  EXPECT_EQ(GetDlgCtrlID(fresh), 150);
}

runtime::HandlerResult refuse_close(const std::uint64_t*, std::int32_t) {
  ++runs(0);
  return runtime::returns(0);
}

// The main window's own unit alone, with a handler that refuses every close.
TEST(MainWindowNewInstance, OnlyAWindowBuiltAsANewInstanceClosesWhateverItsHandlerAnswers) {
  const std::array<runtime::CodeEntry, 1> entries{
      {{0x40, reinterpret_cast<runtime::Routine>(&refuse_close)}}};
  const runtime::CodeBase code{entries.data(), 1};
  ui_test::MainWindowTemplate main;
  ui::templates::WindowTemplate window;
  window.id = kMainWindowId;
  window.units = {main.window().units[0]};
  window.units[0].control().events = {{1, 0x40}};
  ui_test::UiHost host(ui::templates::build_templates(std::span(&window, 1)), &code);
  runs(0) = 0;

  ASSERT_TRUE(ui::load_window(kMainWindowId));
  SendMessageA(ui::window_native(0), WM_CLOSE, 0, 0);
  EXPECT_EQ(runs(0), 1);
  ASSERT_NE(ui::window_native(0), nullptr) << "refused";
  DestroyWindow(ui::window_native(0));

  ASSERT_TRUE(ui::load_window(kMainWindowId, true));
  SendMessageA(ui::window_native(0), WM_CLOSE, 0, 0);
  EXPECT_EQ(runs(0), 2);
  EXPECT_EQ(ui::window_native(0), nullptr) << "a new instance cannot refuse";
}

}  // namespace
