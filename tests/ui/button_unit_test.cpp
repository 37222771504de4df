// The button unit: its property data block, creation styles, the default-button query, the
// click event, the picture and in-place property changes.
#include "ui/units/button_unit.h"

#include <gtest/gtest.h>

#include <cstring>

#include "platform/api/controls.h"
#include "platform/api/input.h"
#include "tests/ui/edit_unit_fixture.h"
#include "ui/bytes/byte_writer.h"
#include "ui/units/button_properties.h"
#include "ui/units/unit_types.h"

namespace controls_test {
namespace {

using ui::ButtonProperties;

enum Own { kPicture = 0, kType = 1, kCaption = 2, kHorizontal = 3, kVertical = 4, kFont = 5 };

ButtonProperties unusual() {
  ButtonProperties p;
  p.picture = {1, 2, 3};
  p.type = 1;
  p.caption = "\xCB\xD1\xCB\xF7";
  p.horizontal_alignment = 2;
  p.vertical_alignment = 0;
  p.font.assign(60, 9);
  return p;
}

TEST(ButtonBlock, RoundTripsInStoredOrder) {
  const ButtonProperties p = unusual();
  const std::vector<std::uint8_t> block = p.serialize();
  // version, type, horizontal, vertical, then picture, font and caption as counted runs
  ASSERT_GE(block.size(), 20u);
  EXPECT_EQ(block[0], ButtonProperties::kVersion);
  EXPECT_EQ(block[4], 1);
  EXPECT_EQ(block[8], 2);
  EXPECT_EQ(block[12], 0);
  EXPECT_EQ(block[16], 3);
  const std::optional<ButtonProperties> back = ButtonProperties::parse(block);
  ASSERT_TRUE(back.has_value());
  EXPECT_EQ(back->picture, p.picture);
  EXPECT_EQ(back->type, p.type);
  EXPECT_EQ(back->caption, p.caption);
  EXPECT_EQ(back->horizontal_alignment, p.horizontal_alignment);
  EXPECT_EQ(back->vertical_alignment, p.vertical_alignment);
  EXPECT_EQ(back->font, p.font);
}

TEST(ButtonBlock, RefusesNewerAndTruncatedBlocksAndClampsChoices) {
  std::vector<std::uint8_t> block = unusual().serialize();
  block[0] = 2;
  EXPECT_FALSE(ButtonProperties::parse(block).has_value());
  block[0] = 1;
  for (std::size_t n = 0; n < block.size(); ++n)
    EXPECT_FALSE(ButtonProperties::parse(std::span(block).first(n)));
  ButtonProperties wild;
  wild.type = 4;
  wild.horizontal_alignment = -2;
  wild.vertical_alignment = 8;
  const std::optional<ButtonProperties> back = ButtonProperties::parse(wild.serialize());
  ASSERT_TRUE(back.has_value());
  EXPECT_EQ(back->type, 1);
  EXPECT_EQ(back->horizontal_alignment, 0);
  EXPECT_EQ(back->vertical_alignment, 2);
}

// An icon file holding one 32-bit 16x16 image of one opaque colour (0x00BBGGRR).
std::vector<std::uint8_t> solid_icon(COLORREF colour) {
  constexpr int kSide = 16;
  lyr::ByteWriter w;
  for (std::uint16_t v : {0, 1, 1}) w.u16(v);  // reserved, type icon, one image
  w.u8(kSide);
  w.u8(kSide);
  w.u8(0);                           // colours
  w.u8(0);                           // reserved
  w.u16(1);                          // planes
  w.u16(32);                         // bits per pixel
  const std::uint32_t mask_row = 4;  // 16 bits padded to 32
  w.u32(40 + kSide * kSide * 4 + kSide * mask_row);
  w.u32(22);  // image offset
  w.u32(40);
  w.i32(kSide);
  w.i32(2 * kSide);  // colour and mask rows
  w.u16(1);
  w.u16(32);
  for (int i = 0; i < 6; ++i) w.u32(0);
  for (int i = 0; i < kSide * kSide; ++i) {
    w.u8(static_cast<std::uint8_t>(colour >> 16));
    w.u8(static_cast<std::uint8_t>(colour >> 8));
    w.u8(static_cast<std::uint8_t>(colour));
    w.u8(0xFF);
  }
  for (std::uint32_t i = 0; i < kSide * mask_row; ++i) w.u8(0);
  return w.take();
}

class ButtonUnitTest : public ControlsTest {
 protected:
  HWND make_button(const ButtonProperties& p, std::uint32_t unit_id = kUnitId,
                   RECT rect = {10, 10, 110, 50}) {
    ui::Unit* unit = make(ui::button_unit_type(), p.serialize(), rect, WS_TABSTOP, unit_id);
    return unit != nullptr ? unit->hwnd() : nullptr;
  }
  static int set(HWND button, std::int32_t index, ui::PropertyPair value) {
    return ui_test::unit_op<ui::SetOp>(ui::button_unit_type(), ui::kSetOp)(ui::Unit::from_window(button),
                                                                           index, value);
  }
  static ui::PropertyPair get(HWND button, std::int32_t index) {
    ui::PropertyPair pair;
    EXPECT_EQ(ui_test::unit_op<ui::GetOp>(ui::button_unit_type(), ui::kGetOp)(ui::Unit::from_window(button),
                                                                              index, &pair),
              1);
    return pair;
  }
  static int is_default(HWND button) {
    return ui_test::unit_op<ui::DefaultButtonOp>(ui::button_unit_type(),
                                                 ui::kDefaultButtonOp)(ui::Unit::from_window(button));
  }
};

TEST_F(ButtonUnitTest, StylesFollowTheProperties) {
  ButtonProperties p;
  p.caption = "Go";
  p.horizontal_alignment = 0;
  p.vertical_alignment = 2;
  HWND button = make_button(p);
  ASSERT_NE(button, nullptr);
  const DWORD style = style_of(button);
  EXPECT_EQ(style & BS_TYPEMASK, BS_PUSHBUTTON);
  EXPECT_EQ(style & (BS_CENTER | BS_VCENTER), BS_LEFT | BS_BOTTOM);
  EXPECT_NE(style & BS_MULTILINE, 0u);
  EXPECT_NE(style & (WS_CHILD | WS_CLIPSIBLINGS | WS_TABSTOP), 0u);
  EXPECT_EQ(style & (BS_ICON | BS_BITMAP), 0u);
  EXPECT_EQ(text_of(button), "Go");
  EXPECT_EQ(SendMessageA(button, WM_GETFONT, 0, 0),
            reinterpret_cast<LRESULT>(GetStockObject(DEFAULT_GUI_FONT)));

  std::vector<std::uint8_t> newer = p.serialize();
  newer[0] = 2;
  EXPECT_EQ(make(ui::button_unit_type(), newer), nullptr);
}

TEST_F(ButtonUnitTest, DefaultButtonQueryFollowsTheType) {
  ButtonProperties p;
  p.type = 1;
  HWND default_button = make_button(p);
  HWND plain = make_button({}, kUnitId + 1, {120, 10, 220, 50});
  EXPECT_EQ(style_of(default_button) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
  EXPECT_EQ(is_default(default_button), 1);
  EXPECT_EQ(is_default(plain), 0);
  EXPECT_EQ(set(plain, kType, ui::int_pair(5)), 0);
  EXPECT_EQ(ui::pair_int(get(plain, kType)), 1);
  EXPECT_EQ(is_default(plain), 1);
  EXPECT_EQ(set(default_button, kType, ui::int_pair(0)), 0);
  EXPECT_EQ(is_default(default_button), 0);
}

TEST_F(ButtonUnitTest, MouseClickRaisesEventZeroOnce) {
  HWND button = make_button({});
  ASSERT_NE(button, nullptr);
  recorder_.events.clear();
  platform::headless::click(button, {20, 15});
  ui_test::settle();
  std::vector<std::int32_t> events = events_of();
  EXPECT_EQ(std::count(events.begin(), events.end(), 0), 1);
  // Pressing inside and releasing outside is no click.
  recorder_.events.clear();
  platform::headless::advance_clock(1000);
  platform::headless::mouse_button(button, platform::headless::Button::left, true, {20, 15});
  platform::headless::mouse_move(button, {300, 200});
  platform::headless::mouse_button(button, platform::headless::Button::left, false, {300, 200});
  ui_test::settle();
  events = events_of();
  EXPECT_EQ(std::count(events.begin(), events.end(), 0), 0);
  // A disabled button is not clicked.
  EnableWindow(button, FALSE);
  platform::headless::advance_clock(1000);
  platform::headless::click(button, {20, 15});
  ui_test::settle();
  events = events_of();
  EXPECT_EQ(std::count(events.begin(), events.end(), 0), 0);
}

TEST_F(ButtonUnitTest, FocusChangesRaiseCommonEvents) {
  HWND first = make_button({});
  HWND second = make_button({}, kUnitId + 1, {120, 10, 220, 50});
  SetFocus(first);
  recorder_.events.clear();
  SetFocus(second);
  ui_test::settle();
  EXPECT_EQ(events_of(kUnitId), std::vector<std::int32_t>{-8});
  EXPECT_EQ(events_of(kUnitId + 1), std::vector<std::int32_t>{-7});
}

TEST_F(ButtonUnitTest, PictureChangeAsksForReCreation) {
  HWND button = make_button({});
  const std::vector<std::uint8_t> bmp = ui_test::solid_bmp(8, 8, 0x000000FF);
  EXPECT_EQ(set(button, kPicture, ui::data_pair(bmp.data(), bmp.size())), 1);
  EXPECT_EQ(set(button, kPicture, ui::data_pair(bmp.data(), bmp.size())), 0);
  const ui::PropertyPair stored = get(button, kPicture);
  EXPECT_TRUE(std::ranges::equal(ui::pair_bytes(stored), bmp));
  EXPECT_EQ(set(button, kPicture, {0, 0}), 1);
  EXPECT_EQ(set(button, kPicture, {0, 0}), 0);
}

TEST_F(ButtonUnitTest, PictureShowsAsBitmap) {
  ButtonProperties p;
  p.picture = ui_test::solid_bmp(12, 12, 0x000000FF);
  HWND button = make_button(p);
  ASSERT_NE(button, nullptr);
  EXPECT_NE(style_of(button) & BS_BITMAP, 0u);
  EXPECT_NE(SendMessageA(button, BM_GETIMAGE, IMAGE_BITMAP, 0), 0);
  RECT client{};
  GetClientRect(button, &client);
  EXPECT_EQ(platform::headless::read_pixel(button, client.right / 2, client.bottom / 2), 0x000000FFu);

  // Bytes that are no picture leave a text button.
  ButtonProperties junk;
  junk.picture = {'n', 'o', 'p', 'e'};
  HWND text_button = make_button(junk, kUnitId + 1, {120, 10, 220, 50});
  ASSERT_NE(text_button, nullptr);
  EXPECT_EQ(style_of(text_button) & (BS_BITMAP | BS_ICON), 0u);
}

TEST_F(ButtonUnitTest, IconPictureShowsAsIcon) {
  ButtonProperties p;
  p.picture = solid_icon(0x00FF0000);
  HWND button = make_button(p);
  ASSERT_NE(button, nullptr);
  EXPECT_NE(style_of(button) & BS_ICON, 0u);
  EXPECT_EQ(style_of(button) & BS_BITMAP, 0u);
  EXPECT_NE(SendMessageA(button, BM_GETIMAGE, IMAGE_ICON, 0), 0);
  RECT client{};
  GetClientRect(button, &client);
  EXPECT_EQ(platform::headless::read_pixel(button, client.right / 2, client.bottom / 2), 0x00FF0000u);
}

TEST_F(ButtonUnitTest, CaptionAlignmentAndFontApplyInPlace) {
  HWND button = make_button({});
  const char* caption = "\xC8\xB7\xB6\xA8";
  EXPECT_EQ(set(button, kCaption, {reinterpret_cast<std::intptr_t>(caption), 4}), 0);
  EXPECT_EQ(text_of(button), caption);
  EXPECT_EQ(ui::pair_text(get(button, kCaption)), caption);

  EXPECT_EQ(set(button, kHorizontal, ui::int_pair(2)), 0);
  EXPECT_EQ(set(button, kVertical, ui::int_pair(0)), 0);
  EXPECT_EQ(style_of(button) & (BS_CENTER | BS_VCENTER), BS_RIGHT | BS_TOP);

  LOGFONTA font{};
  font.lfHeight = -20;
  font.lfWeight = 700;
  EXPECT_EQ(set(button, kFont, ui::data_pair(&font, sizeof font)), 0);
  const auto handle = reinterpret_cast<HGDIOBJ>(SendMessageA(button, WM_GETFONT, 0, 0));
  LOGFONTA applied{};
  ASSERT_EQ(GetObjectA(handle, sizeof applied, &applied), static_cast<int>(sizeof applied));
  EXPECT_EQ(applied.lfHeight, -20);
  EXPECT_EQ(applied.lfWeight, 700);
  EXPECT_EQ(ui::pair_bytes(get(button, kFont)).size(), sizeof font);
}

}  // namespace
}  // namespace controls_test
