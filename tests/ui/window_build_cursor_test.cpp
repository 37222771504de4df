#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include "platform/api/gdi.h"
#include "platform/api/input.h"
#include "platform/api/kernel.h"
#include "platform/api/user.h"
#include "platform/winsys/resources.h"
#include "tests/ui/support/test_unit_types.h"
#include "tests/ui/support/ui_host.h"
#include "ui/templates/window_collection.h"
#include "ui/windows/cursor_selector.h"
#include "ui/windows/window_builder.h"

namespace {

using namespace ui_test;
using ui::templates::kVisible;

// A 2x2 32-bit cursor file with its hot spot at (1, 0).
std::vector<std::uint8_t> tiny_cursor_file() {
  std::vector<std::uint8_t> f = {0, 0, 2, 0, 1,  0,        // reserved, type cursor, one image
                                 2, 2, 0, 0, 1,  0, 0, 0,  // 2x2, no palette, hot spot x 1, y 0
                                 0, 0, 0, 0, 22, 0, 0, 0};
  std::vector<std::uint8_t> img = {40, 0, 0, 0, 2, 0, 0, 0, 4, 0, 0, 0, 1, 0, 32, 0, 0, 0, 0, 0,
                                   0,  0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,  0, 0, 0, 0, 0};
  img.insert(img.end(), 16, 0xFF);  // white pixels
  img.insert(img.end(), 8, 0);      // AND mask, opaque
  f[14] = static_cast<std::uint8_t>(img.size());
  f.insert(f.end(), img.begin(), img.end());
  return f;
}

std::vector<std::uint8_t> word_selector(std::int32_t value) {
  std::vector<std::uint8_t> s(4);
  std::memcpy(s.data(), &value, 4);
  return s;
}

HCURSOR system(LPCSTR id) {
  return LoadCursorA(nullptr, id);
}

bool live_cursor(HCURSOR cursor) {
  ICONINFO info{};
  if (!GetIconInfo(cursor, &info)) return false;
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  return true;
}

TEST(CursorSelector, StandardTableSystemIdsAndTheProgramsHand) {
  platform::winsys::resources::add_program_cursors();
  EXPECT_EQ(ui::resolve_cursor_selector({}).cursor, nullptr);
  EXPECT_EQ(ui::resolve_cursor_selector(word_selector(0)).cursor, nullptr) << "0: the default cursor";
  const std::vector<std::uint8_t> ibeam = {3};
  EXPECT_EQ(ui::resolve_cursor_selector(ibeam).cursor, system(IDC_IBEAM));
  const std::vector<std::uint8_t> three_bytes = {12, 0xFF, 0xFF};  // the first byte counts
  EXPECT_EQ(ui::resolve_cursor_selector(three_bytes).cursor, system(IDC_SIZEWE));
  EXPECT_EQ(ui::resolve_cursor_selector(word_selector(1)).cursor, system(IDC_ARROW));
  EXPECT_EQ(ui::resolve_cursor_selector(word_selector(13)).cursor, system(IDC_UPARROW));
  EXPECT_EQ(ui::resolve_cursor_selector(word_selector(32651)).cursor, system(IDC_HELP));

  const ui::ResolvedCursor hand = ui::resolve_cursor_selector(word_selector(14));
  ASSERT_NE(hand.cursor, nullptr);
  EXPECT_EQ(hand.cursor, LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1032)));
  EXPECT_NE(hand.cursor, system(IDC_HAND)) << "the program's own hand, not the system's";
  EXPECT_FALSE(hand.owned);

  for (std::int32_t value : {15, 99, -2, 32517, 0x7FFFFFFF}) {
    EXPECT_EQ(ui::resolve_cursor_selector(word_selector(value)).cursor, nullptr) << value;
  }
}

TEST(CursorSelector, FileDataMakesAnOwnedCursor) {
  std::vector<std::uint8_t> tagged = word_selector(-1);
  const std::vector<std::uint8_t> file = tiny_cursor_file();
  tagged.insert(tagged.end(), file.begin(), file.end());
  ui::ResolvedCursor made = ui::resolve_cursor_selector(tagged);
  ASSERT_NE(made.cursor, nullptr);
  EXPECT_TRUE(made.owned);
  ICONINFO info{};
  ASSERT_TRUE(GetIconInfo(made.cursor, &info));
  EXPECT_FALSE(info.fIcon);
  EXPECT_EQ(info.xHotspot, 1u);
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  DestroyCursor(made.cursor);

  // More than ten bytes are tried as a file first, whatever their first word.
  ui::ResolvedCursor bare = ui::resolve_cursor_selector(file);
  ASSERT_NE(bare.cursor, nullptr);
  EXPECT_TRUE(bare.owned);
  DestroyCursor(bare.cursor);

  // Damaged file data gives no cursor, never a crash.
  std::vector<std::uint8_t> damaged(tagged.begin(), tagged.begin() + 20);
  EXPECT_EQ(ui::resolve_cursor_selector(damaged).cursor, nullptr);
  std::vector<std::uint8_t> only_tag = word_selector(-1);
  EXPECT_EQ(ui::resolve_cursor_selector(only_tag).cursor, nullptr);
  std::vector<std::uint8_t> long_table_value = word_selector(3);
  long_table_value.resize(16, 0);
  EXPECT_EQ(ui::resolve_cursor_selector(long_table_value).cursor, system(IDC_IBEAM))
      << "not a file: falls back to the table";
}

TEST(CursorSlots, BuiltFromSelectorsAndReleasedWithTheirUnit) {
  reset_fake_log();
  FakeTemplates templates;
  auto& w = templates.add_window(0x52000001, 0x06000001);
  templates.add_control(w, 0x16000001, kFakeControl, kVisible).control().cursor_selector = {3};
  std::vector<std::uint8_t> tagged = word_selector(-1);
  const std::vector<std::uint8_t> file = tiny_cursor_file();
  tagged.insert(tagged.end(), file.begin(), file.end());
  templates.add_control(w, 0x16000002, kFakeControl, kVisible).control().cursor_selector = tagged;
  {
    UiHost host(templates.block(), nullptr, {fake_unit_library()});
    ASSERT_TRUE(ui::load_window(0x52000001));
    auto& slots = ui::templates::window_collection().slots(0);
    EXPECT_EQ(slots.cursors[0], nullptr);
    EXPECT_EQ(slots.cursors[1], system(IDC_IBEAM));
    HCURSOR made = slots.cursors[2];
    ASSERT_NE(made, nullptr);
    EXPECT_TRUE(live_cursor(made));

    DestroyWindow(ui::live_unit(0, 2)->hwnd());
    EXPECT_EQ(slots.cursors[2], nullptr);
    EXPECT_FALSE(live_cursor(made)) << "a cursor made from file data goes with its unit";

    ui::set_unit_cursor(0, 1, tagged);
    made = slots.cursors[1];
    ASSERT_TRUE(live_cursor(made));
    ui::set_unit_cursor(0, 1, std::vector<std::uint8_t>{2});
    EXPECT_FALSE(live_cursor(made)) << "replaced and destroyed";
    EXPECT_EQ(slots.cursors[1], system(IDC_CROSS));
    ui::set_unit_cursor(0, 40, std::vector<std::uint8_t>{2});  // out of range: ignored

    DestroyWindow(ui::window_native(0));
    EXPECT_EQ(slots.cursors[1], nullptr);
    EXPECT_TRUE(live_cursor(system(IDC_CROSS))) << "shared cursors are never destroyed";
  }
  reset_fake_log();
}

}  // namespace
