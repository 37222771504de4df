// The edit box unit created directly under a test parent: creation styles, content and
// selection, typing through the input modes, focus events, re-creation answers, colours,
// vertical centring and the adjuster.
#include "ui/units/edit_unit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/api/edit.h"
#include "platform/api/gdi.h"
#include "platform/api/input.h"
#include "tests/ui/edit_unit_fixture.h"
#include "ui/units/edit_properties.h"
#include "ui/units/unit_types.h"

namespace controls_test {
namespace {

using ui::EditProperties;

enum Own {
  kContent = 0,
  kBorder = 1,
  kTextColour = 2,
  kBackground = 3,
  kFont = 4,
  kHideSelection = 5,
  kMaxLength = 6,
  kMultiLine = 7,
  kScrollBars = 8,
  kAlignment = 9,
  kInputMode = 10,
  kPasswordChar = 11,
  kCase = 12,
  kAdjuster = 13,
  kAdjusterMin = 14,
  kAdjusterMax = 15,
  kSelectionStart = 16,
  kSelectionLength = 17,
  kSelectedText = 18,
};

class EditUnitTest : public ControlsTest {
 protected:
  HWND make_edit(const EditProperties& p, RECT rect = {10, 10, 170, 34}, std::uint32_t unit_id = kUnitId,
                 UINT control_id = 100) {
    ui::Unit* unit = make(ui::edit_unit_type(), p.serialize(), rect, WS_TABSTOP, unit_id, control_id);
    return unit != nullptr ? unit->hwnd() : nullptr;
  }

  static int set(HWND box, std::int32_t index, ui::PropertyPair value) {
    auto op = ui_test::unit_op<ui::SetOp>(ui::edit_unit_type(), ui::kSetOp);
    return op(ui::Unit::from_window(box), index, value);
  }
  static int set_text(HWND box, std::int32_t index, const char* text) {
    return set(box, index,
               {reinterpret_cast<std::intptr_t>(text), static_cast<std::intptr_t>(std::strlen(text))});
  }
  static ui::PropertyPair get(HWND box, std::int32_t index) {
    auto op = ui_test::unit_op<ui::GetOp>(ui::edit_unit_type(), ui::kGetOp);
    ui::PropertyPair pair;
    EXPECT_EQ(op(ui::Unit::from_window(box), index, &pair), 1);
    return pair;
  }
  static std::int32_t get_int(HWND box, std::int32_t index) { return ui::pair_int(get(box, index)); }
  static std::string get_text(HWND box, std::int32_t index) {
    return std::string(ui::pair_text(get(box, index)));
  }

  static std::pair<DWORD, DWORD> selection(HWND box) {
    DWORD start = 0;
    DWORD end = 0;
    SendMessageA(box, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return {start, end};
  }

  // Types UTF-8 text into `box` as the input method delivers it.
  static void type_into(HWND box, std::string_view utf8) {
    SetFocus(box);
    platform::headless::text(utf8);
    ui_test::settle();
  }
};

TEST_F(EditUnitTest, StylesFollowTheProperties) {
  EditProperties multi;
  multi.multi_line = true;
  multi.scroll_bars = 2;
  multi.hide_selection = false;
  multi.alignment = 2;
  multi.case_conversion = 2;
  HWND box = make_edit(multi, {10, 10, 200, 120});
  ASSERT_NE(box, nullptr);
  const DWORD style = style_of(box);
  EXPECT_EQ(style & (ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN),
            ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN);
  EXPECT_NE(style & WS_VSCROLL, 0u);
  EXPECT_EQ(style & (WS_HSCROLL | ES_AUTOHSCROLL), 0u);
  EXPECT_NE(style & ES_NOHIDESEL, 0u);
  EXPECT_NE(style & ES_RIGHT, 0u);
  EXPECT_NE(style & ES_UPPERCASE, 0u);
  EXPECT_NE(style & WS_TABSTOP, 0u);

  EditProperties password;
  password.input_mode = 2;
  password.password_char = '#';
  HWND secret = make_edit(password, {10, 130, 170, 154}, kUnitId + 1, 110);
  ASSERT_NE(secret, nullptr);
  EXPECT_NE(style_of(secret) & ES_PASSWORD, 0u);
  EXPECT_NE(style_of(secret) & ES_AUTOHSCROLL, 0u);
  EXPECT_EQ(style_of(secret) & ES_NOHIDESEL, 0u);
  EXPECT_EQ(SendMessageA(secret, EM_GETPASSWORDCHAR, 0, 0), '#');
  EXPECT_EQ(get_text(secret, kPasswordChar), "#");
  EXPECT_EQ(GetDlgCtrlID(secret), 110);
}

TEST_F(EditUnitTest, NewerOrDamagedBlocksCreateNothing) {
  std::vector<std::uint8_t> block = EditProperties{}.serialize();
  block[0] = 3;
  EXPECT_EQ(make(ui::edit_unit_type(), block), nullptr);
  block = EditProperties{}.serialize();
  block.resize(block.size() - 1);
  EXPECT_EQ(make(ui::edit_unit_type(), block), nullptr);
}

TEST_F(EditUnitTest, ContentWritesReadBackAndAnnounceThemselvesOnce) {
  EditProperties p;
  p.content = "start";
  HWND box = make_edit(p);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(get_text(box, kContent), "start");
  EXPECT_TRUE(events_of().empty()) << "creation is no change";

  EXPECT_EQ(set_text(box, kContent, "\xC4\xE3\xBA\xC3 abc"), 0);
  EXPECT_EQ(text_of(box), "\xC4\xE3\xBA\xC3 abc");
  EXPECT_EQ(get_text(box, kContent), "\xC4\xE3\xBA\xC3 abc");
  EXPECT_EQ(events_of(), std::vector<std::int32_t>{0});

  EXPECT_EQ(set(box, kContent, {0, 0}), 0);
  EXPECT_EQ(get_text(box, kContent), "");
  EXPECT_EQ(set_text(box, kContent, ""), 0);
  EXPECT_EQ(get_text(box, kContent), "");
  EXPECT_EQ(events_of(), (std::vector<std::int32_t>{0, 0, 0}));
}

TEST_F(EditUnitTest, TypedTextFiresTheChangeEventPerCharacter) {
  HWND box = make_edit({});
  ASSERT_NE(box, nullptr);
  type_into(box, "a\xE4\xB8\xADz");  // "a中z"
  EXPECT_EQ(get_text(box, kContent), "a\xD6\xD0z");
  const std::vector<std::int32_t> events = events_of();
  EXPECT_EQ(std::count(events.begin(), events.end(), 0), 3);
  ASSERT_FALSE(events.empty());
  EXPECT_EQ(events.front(), -7);
}

TEST_F(EditUnitTest, IntegerBoxRefusesLetters) {
  EditProperties p;
  p.input_mode = 7;
  HWND box = make_edit(p);
  ASSERT_NE(box, nullptr);
  type_into(box,
            "1a2-b\xE4\xB8\xAD"
            "3");
  EXPECT_EQ(get_text(box, kContent), "12-3");
}

TEST_F(EditUnitTest, ByteBoxClampsOnFocusLossThenReportsIt) {
  EditProperties p;
  p.input_mode = 5;
  HWND box = make_edit(p);
  HWND other = make_edit({}, {10, 50, 170, 74}, kUnitId + 1, 110);
  ASSERT_NE(box, nullptr);
  ASSERT_NE(other, nullptr);
  type_into(box, "300");
  SendMessageA(box, EM_SETSEL, 1, 1);
  recorder_.events.clear();
  SetFocus(other);
  ui_test::settle();
  EXPECT_EQ(get_text(box, kContent), "255");
  EXPECT_EQ(selection(box), (std::pair<DWORD, DWORD>{1, 1})) << "the caret stays where it was";
  const std::vector<std::int32_t> events = events_of();
  ASSERT_FALSE(events.empty());
  EXPECT_EQ(events.back(), -8);

  // A value that needs no rewriting is left alone: no change event, only the focus loss.
  type_into(box, "");
  SetWindowTextA(box, "12");
  recorder_.events.clear();
  SetFocus(other);
  ui_test::settle();
  EXPECT_EQ(events_of(), std::vector<std::int32_t>{-8});
}

TEST_F(EditUnitTest, ZeroShowsEmptyAfterFocusLoss) {
  EditProperties p;
  p.input_mode = 6;
  HWND box = make_edit(p);
  HWND other = make_edit({}, {10, 50, 170, 74}, kUnitId + 1, 110);
  type_into(box, "-0");
  SetFocus(other);
  ui_test::settle();
  EXPECT_EQ(get_text(box, kContent), "");
}

TEST_F(EditUnitTest, ReCreationOnlyForChangedValues) {
  EditProperties p;
  p.multi_line = true;
  p.scroll_bars = 2;
  HWND box = make_edit(p, {10, 10, 200, 120});
  ASSERT_NE(box, nullptr);
  struct Case {
    std::int32_t index;
    std::int32_t same;
    std::int32_t changed;
  };
  for (const Case& c : {Case{kHideSelection, 1, 0}, Case{kMultiLine, 1, 0}, Case{kScrollBars, 2, 3},
                        Case{kAlignment, 0, 1}, Case{kCase, 0, 2}, Case{kAdjuster, 0, 1}}) {
    EXPECT_EQ(set(box, c.index, ui::int_pair(c.same)), 0) << c.index;
    EXPECT_EQ(set(box, c.index, ui::int_pair(c.changed)), 1) << c.index;
    EXPECT_EQ(get_int(box, c.index), c.changed) << c.index;
    EXPECT_EQ(set(box, c.index, ui::int_pair(c.changed)), 0) << c.index;
  }
  // Out-of-range values are clamped before comparing.
  EXPECT_EQ(set(box, kScrollBars, ui::int_pair(9)), 0);
  EXPECT_EQ(set(box, kAlignment, ui::int_pair(7)), 1);
  EXPECT_EQ(get_int(box, kAlignment), 2);
  // Everything else is applied in place.
  for (std::int32_t index : {kBorder, kTextColour, kBackground, kMaxLength, kInputMode, kAdjusterMin,
                             kAdjusterMax, kSelectionStart, kSelectionLength}) {
    EXPECT_EQ(set(box, index, ui::int_pair(1)), 0) << index;
  }
  // The block for the new native window carries the new values and the live text.
  SetWindowTextA(box, "live");
  auto serialize = ui_test::unit_op<ui::SerializeOp>(ui::edit_unit_type(), ui::kSerializeOp);
  std::vector<std::uint8_t> block;
  ASSERT_TRUE(serialize(ui::Unit::from_window(box), &block));
  const std::optional<EditProperties> saved = EditProperties::parse(block);
  ASSERT_TRUE(saved.has_value());
  EXPECT_EQ(saved->content, "live");
  EXPECT_FALSE(saved->hide_selection);
  EXPECT_EQ(saved->scroll_bars, 3);
  EXPECT_EQ(saved->alignment, 2);
  EXPECT_EQ(saved->adjuster, 1);
}

TEST_F(EditUnitTest, ChoicesAreClampedAndLengthsKeptNonNegative) {
  HWND box = make_edit({});
  EXPECT_EQ(set(box, kInputMode, ui::int_pair(40)), 0);
  EXPECT_EQ(get_int(box, kInputMode), 11);
  EXPECT_EQ(set(box, kInputMode, ui::int_pair(-3)), 0);
  EXPECT_EQ(get_int(box, kInputMode), 0);
  EXPECT_EQ(set(box, kMaxLength, ui::int_pair(-8)), 0);
  EXPECT_EQ(get_int(box, kMaxLength), 0);
  EXPECT_EQ(set(box, kMaxLength, ui::int_pair(3)), 0);
  type_into(box, "12345");
  EXPECT_EQ(get_text(box, kContent), "123");
}

TEST_F(EditUnitTest, InputModeChangesApplyInPlace) {
  HWND box = make_edit({});
  EXPECT_EQ(set(box, kInputMode, ui::int_pair(1)), 0);
  EXPECT_NE(style_of(box) & ES_READONLY, 0u);
  type_into(box, "x");
  EXPECT_EQ(get_text(box, kContent), "");
  EXPECT_EQ(set(box, kInputMode, ui::int_pair(2)), 0);
  EXPECT_EQ(style_of(box) & ES_READONLY, 0u);
  EXPECT_EQ(SendMessageA(box, EM_GETPASSWORDCHAR, 0, 0), '*');
  EXPECT_EQ(set_text(box, kPasswordChar, "?"), 0);
  EXPECT_EQ(SendMessageA(box, EM_GETPASSWORDCHAR, 0, 0), '?');
  EXPECT_EQ(set(box, kInputMode, ui::int_pair(0)), 0);
  EXPECT_EQ(SendMessageA(box, EM_GETPASSWORDCHAR, 0, 0), 0);
}

TEST_F(EditUnitTest, SelectionRules) {
  EditProperties p;
  p.content = "hello world";
  p.selection_start = 6;
  p.selection_length = 5;
  HWND box = make_edit(p);
  EXPECT_EQ(selection(box), (std::pair<DWORD, DWORD>{6, 11}));
  EXPECT_EQ(get_text(box, kSelectedText), "world");
  EXPECT_EQ(get_int(box, kSelectionStart), 6);
  EXPECT_EQ(get_int(box, kSelectionLength), 5);

  set(box, kSelectionStart, ui::int_pair(-1));
  EXPECT_EQ(selection(box), (std::pair<DWORD, DWORD>{11, 11}));
  set(box, kSelectionLength, ui::int_pair(-1));
  EXPECT_EQ(selection(box), (std::pair<DWORD, DWORD>{0, 11}));
  set(box, kSelectionStart, ui::int_pair(2));
  set(box, kSelectionLength, ui::int_pair(3));
  EXPECT_EQ(get_text(box, kSelectedText), "llo");

  recorder_.events.clear();
  EXPECT_EQ(set_text(box, kSelectedText, "LLO!"), 0);
  EXPECT_EQ(get_text(box, kContent), "heLLO! world");
  EXPECT_EQ(events_of(), std::vector<std::int32_t>{0});
}

TEST_F(EditUnitTest, EnterStaysWithWritableMultiLineBoxes) {
  auto wants = ui_test::unit_op<ui::WantsKeyOp>(ui::edit_unit_type(), ui::kWantsKeyOp);
  ASSERT_NE(wants, nullptr);
  EditProperties multi;
  multi.multi_line = true;
  HWND box = make_edit(multi, {10, 10, 200, 120});
  EXPECT_EQ(wants(ui::Unit::from_window(box), VK_RETURN), 1);
  EXPECT_EQ(wants(ui::Unit::from_window(box), VK_TAB), 0);
  set(box, kInputMode, ui::int_pair(1));
  EXPECT_EQ(wants(ui::Unit::from_window(box), VK_RETURN), 0);
  HWND single = make_edit({}, {10, 130, 170, 154}, kUnitId + 1, 110);
  EXPECT_EQ(wants(ui::Unit::from_window(single), VK_RETURN), 0);
}

TEST_F(EditUnitTest, SingleLineTextIsCentredVertically) {
  EditProperties p;
  p.border = 0;
  p.content = "Mg";
  p.background = 0x00FFFFFF;
  HWND box = make_edit(p, {10, 10, 170, 70});
  ASSERT_NE(box, nullptr);
  HDC dc = GetDC(box);
  SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(box, WM_GETFONT, 0, 0)));
  TEXTMETRICA tm{};
  GetTextMetricsA(dc, &tm);
  ReleaseDC(box, dc);
  RECT client{};
  GetClientRect(box, &client);
  EXPECT_EQ(client.bottom, tm.tmHeight);

  // The ink of the text sits in the middle of the box, the band around it in the background.
  RECT whole{};
  GetWindowRect(box, &whole);
  HWND parent = GetParent(box);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&whole), 2);
  const ui_test::Ink ink = ui_test::ink(parent, whole, 0x00FFFFFF);
  ASSERT_TRUE(ink.any());
  const int above = ink.box.top - whole.top;
  const int below = whole.bottom - ink.box.bottom;
  EXPECT_LE(std::abs(above - below), tm.tmHeight / 2 + 1);
  EXPECT_GT(above, 15);

  EditProperties multi = p;
  multi.multi_line = true;
  HWND tall = make_edit(multi, {200, 10, 360, 70}, kUnitId + 1, 110);
  GetClientRect(tall, &client);
  EXPECT_EQ(client.bottom, 60);
}

TEST_F(EditUnitTest, ColoursPaintTheBox) {
  EditProperties p;
  p.border = 0;
  p.content = "WWWW";
  p.background = 0x0000FF00;
  p.text_colour = 0x000000FF;
  HWND box = make_edit(p, {10, 10, 170, 34});
  ASSERT_NE(box, nullptr);
  RECT client{};
  GetClientRect(box, &client);
  EXPECT_EQ(platform::headless::read_pixel(box, client.right - 2, client.bottom / 2), 0x0000FF00u);
  EXPECT_GT(pixels_near(box, 0x000000FF, 80), 0) << "text in the text colour";

  EXPECT_EQ(set(box, kBackground, ui::int_pair(static_cast<std::int32_t>(ui::kDefaultColour))), 0);
  ui_test::settle();
  EXPECT_EQ(platform::headless::read_pixel(box, client.right - 2, client.bottom / 2),
            GetSysColor(COLOR_BTNFACE));
}

TEST_F(EditUnitTest, AdjusterSitsBesideTheBoxAndFollowsIt) {
  EditProperties p;
  p.adjuster = 1;
  p.adjuster_min = 50;
  p.adjuster_max = 5;
  p.content = "7";
  HWND box = make_edit(p, {10, 10, 110, 34}, kUnitId, 100);
  ASSERT_NE(box, nullptr);
  HWND adjuster = GetDlgItem(parent_.hwnd(), 104);
  ASSERT_NE(adjuster, nullptr);
  char class_name[64] = {};
  GetClassNameA(adjuster, class_name, sizeof class_name);
  EXPECT_STREQ(class_name, "msctls_updown32");
  int low = 0;
  int high = 0;
  SendMessageA(adjuster, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low), reinterpret_cast<LPARAM>(&high));
  EXPECT_EQ(low, 5);
  EXPECT_EQ(high, 50);
  EXPECT_TRUE(IsWindowVisible(adjuster));

  RECT box_rect{};
  RECT adjuster_rect{};
  GetWindowRect(box, &box_rect);
  GetWindowRect(adjuster, &adjuster_rect);
  EXPECT_EQ(adjuster_rect.left, box_rect.right);
  EXPECT_EQ(adjuster_rect.top, box_rect.top);

  EnableWindow(box, FALSE);
  EXPECT_FALSE(IsWindowEnabled(adjuster));
  EnableWindow(box, TRUE);
  EXPECT_TRUE(IsWindowEnabled(adjuster));
  MoveWindow(box, 40, 60, 100, 24, TRUE);
  GetWindowRect(box, &box_rect);
  GetWindowRect(adjuster, &adjuster_rect);
  EXPECT_EQ(adjuster_rect.left, box_rect.right);
  EXPECT_EQ(adjuster_rect.top, box_rect.top);

  DestroyWindow(box);
  EXPECT_FALSE(IsWindow(adjuster));

  // Multi-line boxes have none.
  EditProperties multi = p;
  multi.multi_line = true;
  make_edit(multi, {10, 100, 200, 200}, kUnitId + 1, 110);
  EXPECT_EQ(GetDlgItem(parent_.hwnd(), 114), nullptr);
}

}  // namespace
}  // namespace controls_test
