// Edit boxes, buttons and a group box on a window built from a template, driven through the
// property services and the real event dispatch: content writes announce themselves once,
// re-creation keeps the text, Enter reaches the default button, the mouse clicks a button.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "platform/api/edit.h"
#include "platform/api/input.h"
#include "platform/api/user.h"
#include "platform/winsys/headless.h"
#include "runtime/heap.h"
#include "runtime/values.h"
#include "tests/support/runtime_values.h"
#include "tests/ui/property_test_support.h"
#include "ui/access/property_access.h"
#include "ui/units/group_box_properties.h"
#include "ui/units/unit_types.h"

namespace access_test {
namespace {

using test_support::take_text;
using test_support::text_value;


constexpr std::uint32_t kWindow = 0x52000040;
constexpr std::uint32_t kOwn = 0x06000040;
constexpr std::uint32_t kName = 0x16000041;    // unit 1: single-line box, event 0 -> handler 1
constexpr std::uint32_t kLyrics = 0x16000042;  // unit 2: multi-line box
constexpr std::uint32_t kSearch = 0x16000043;  // unit 3: default button, event 0 -> handler 2
constexpr std::uint32_t kCover = 0x16000044;   // unit 4: group box
constexpr std::int32_t kContent = 8;
constexpr std::int32_t kMultiLine = 15;
constexpr std::int32_t kCaption = 8;

int calls_of(int handler) {
  const auto& calls = handler_log().calls;
  return static_cast<int>(
      std::count_if(calls.begin(), calls.end(), [&](const HandlerCall& c) { return c.handler == handler; }));
}

class ControlsOnWindow : public AccessTest {
 protected:
  void SetUp() override {
    AccessTest::SetUp();
    auto& window = templates_.add_window(kWindow, kOwn, window_block(), {}, {100, 100, 400, 300});
    templates_.add_unit(window, kName, ui::kEditType, {10, 10, 160, 24}, kVisible | kTabStop,
                        edit_block("first"), {bind(0, 1)});
    templates_.add_unit(window, kLyrics, ui::kEditType, {10, 50, 160, 120}, kVisible | kTabStop,
                        edit_block("", true));
    templates_.add_unit(window, kSearch, ui::kButtonType, {200, 10, 80, 40}, kVisible | kTabStop,
                        button_block("Search", true), {bind(0, 2)});
    ui::GroupBoxProperties group;
    group.caption = "Cover";
    templates_.add_unit(window, kCover, ui::kGroupBoxType, {200, 60, 150, 150}, kVisible, group.serialize());
    start(kWindow);
  }
};

TEST_F(ControlsOnWindow, ContentWritesFireTheChangeHandlerOncePerWrite) {
  EXPECT_EQ(take_text(ui::read_unit_property(kWindow, kName, kContent, -1)), "first");
  EXPECT_EQ(calls_of(1), 0);
  ui::write_unit_property(kWindow, kName, kContent, -1, text_value("\xB8\xE8\xC7\xFA"));
  EXPECT_EQ(calls_of(1), 1);
  EXPECT_EQ(take_text(ui::read_unit_property(kWindow, kName, kContent, -1)), "\xB8\xE8\xC7\xFA");
  ui::write_unit_property(kWindow, kName, kContent, -1, text_value(""));
  EXPECT_EQ(calls_of(1), 2);
  EXPECT_EQ(take_text(ui::read_unit_property(kWindow, kName, kContent, -1)), "");
  ui::write_unit_property(kWindow, kName, kContent, -1, 0);
  EXPECT_EQ(calls_of(1), 3);
  ASSERT_FALSE(handler_log().calls.empty());
  EXPECT_EQ(handler_log().calls.back().source_unit, kName);

  // Typing fires it too, once per character.
  SetFocus(native(0, 1));
  platform::headless::text("ab");
  ui_test::pump();
  EXPECT_EQ(calls_of(1), 5);
  EXPECT_EQ(take_text(ui::read_unit_property(kWindow, kName, kContent, -1)), "ab");
}

TEST_F(ControlsOnWindow, ReCreationKeepsTextAndHappensOnlyForChanges) {
  HWND before = native(0, 2);
  ui::write_unit_property(kWindow, kLyrics, kContent, -1, text_value("line one\r\nline two"));
  ui::write_unit_property(kWindow, kLyrics, kMultiLine, -1, 1);
  EXPECT_EQ(native(0, 2), before) << "unchanged value, same native window";
  ui::write_unit_property(kWindow, kLyrics, kMultiLine, -1, 0);
  HWND after = native(0, 2);
  ASSERT_NE(after, nullptr);
  EXPECT_NE(after, before);
  EXPECT_FALSE(IsWindow(before));
  EXPECT_EQ(GetWindowLongA(after, GWL_STYLE) & ES_MULTILINE, 0);
  EXPECT_EQ(ui::read_unit_property(kWindow, kLyrics, kMultiLine, -1), 0u);
  EXPECT_EQ(take_text(ui::read_unit_property(kWindow, kLyrics, kContent, -1)), "line one\r\nline two");
}

TEST_F(ControlsOnWindow, EnterInASingleLineBoxClicksTheDefaultButton) {
  SetFocus(native(0, 1));
  platform::headless::key_press(VK_RETURN);
  ui_test::pump();
  EXPECT_EQ(calls_of(2), 1);

  // A multi-line box keeps Enter for itself.
  SetFocus(native(0, 2));
  platform::headless::key_press(VK_RETURN);
  ui_test::pump();
  EXPECT_EQ(calls_of(2), 1);
  EXPECT_EQ(take_text(ui::read_unit_property(kWindow, kLyrics, kContent, -1)), "\r\n");
}

TEST_F(ControlsOnWindow, MouseClickRunsTheButtonHandler) {
  platform::headless::click(native(0, 3), {10, 10});
  ui_test::pump();
  EXPECT_EQ(calls_of(2), 1);
  ASSERT_FALSE(handler_log().calls.empty());
  EXPECT_EQ(handler_log().calls.back().source_unit, kSearch);
}

TEST_F(ControlsOnWindow, GroupBoxCaptionThroughTheService) {
  EXPECT_EQ(take_text(ui::read_unit_property(kWindow, kCover, kCaption, -1)), "Cover");
  ui::write_unit_property(kWindow, kCover, kCaption, -1, text_value("\xD7\xA8\xBC\xAD"));
  char text[32] = {};
  GetWindowTextA(native(0, 4), text, sizeof text);
  EXPECT_STREQ(text, "\xD7\xA8\xBC\xAD");
}

}  // namespace
}  // namespace access_test
