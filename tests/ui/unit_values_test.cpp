#include "ui/units/unit_values.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "platform/api/gdi.h"
#include "platform/api/kernel.h"
#include "platform/api/user.h"
#include "tests/ui/window_unit_support.h"

namespace {

using ui::PropertyReader;

TEST(PropertyBlock, WrittenFieldsReadBackInOrder) {
  lyr::ByteWriter w;
  w.u32(0xA1B2C3D4);
  w.i32(-7);
  w.u16(0xBEEF);
  w.counted_text("\xB1\xEA\xC7\xA9");
  const std::uint8_t data[] = {1, 0, 2};
  w.counted(data);
  w.counted_text("");
  const std::vector<std::uint8_t> block = w.take();
  // Little-endian words, text and bytes as a length word and the bytes without terminator.
  ASSERT_EQ(block.size(), 4u + 4 + 2 + 8 + 7 + 4);
  EXPECT_EQ(block[0], 0xD4);
  EXPECT_EQ(block[3], 0xA1);
  EXPECT_EQ(block[10], 4);

  PropertyReader r(block);
  EXPECT_EQ(r.u32(), 0xA1B2C3D4u);
  EXPECT_EQ(r.i32(), -7);
  EXPECT_EQ(r.u16(), 0xBEEF);
  EXPECT_EQ(r.counted_text(), "\xB1\xEA\xC7\xA9");
  EXPECT_EQ(r.counted_bytes(), (std::vector<std::uint8_t>{1, 0, 2}));
  EXPECT_EQ(r.counted_text(), "");
  EXPECT_EQ(r.remaining(), 0u);
  EXPECT_FALSE(r.u32().has_value());
  EXPECT_FALSE(r.u16().has_value());
}

TEST(PropertyBlock, ReadsNeverRunPastTheBlock) {
  // A text whose length word promises more than is there, then a word cut short.
  const std::uint8_t block[] = {5, 0, 0, 0, 'a', 'b', 'c'};
  PropertyReader r(block);
  EXPECT_FALSE(r.counted_text().has_value());
  // The failed read consumed nothing: the length word is still there to be read.
  EXPECT_EQ(r.remaining(), sizeof block);
  EXPECT_FALSE(r.counted_bytes().has_value());
  EXPECT_EQ(r.u32(), 5u);
  EXPECT_FALSE(r.u32().has_value());
  EXPECT_EQ(r.u16(), 0x6261);

  const std::uint8_t huge[] = {0xFF, 0xFF, 0xFF, 0xFF, 1};
  PropertyReader h(huge);
  std::string text = "kept";
  EXPECT_FALSE(h.field(text));
  EXPECT_EQ(text, "kept");

  PropertyReader empty(std::span<const std::uint8_t>{});
  bool flag = true;
  EXPECT_FALSE(empty.field(flag));
  EXPECT_TRUE(flag);
}

TEST(PropertyBlock, LogicalFieldsTakeAnyNonZeroWordAsTrue) {
  const std::uint8_t block[] = {2, 0, 0, 0, 0, 0, 0, 0};
  PropertyReader r(block);
  bool a = false, b = true;
  EXPECT_TRUE(r.field(a));
  EXPECT_TRUE(r.field(b));
  EXPECT_TRUE(a);
  EXPECT_FALSE(b);
}

TEST(PropertyBlock, FieldsWrittenByTheWriterReadBackIntoTheSameFields) {
  const std::string text = "\xB1\xEA\xC7\xA9";
  const std::vector<std::uint8_t> bytes = {7, 0, 9};
  ui::PropertyWriter w;
  w.field(std::int32_t{-3});
  w.field(std::uint32_t{0xFF000000});
  w.field(true);
  w.field(text);
  w.field(bytes);
  const std::vector<std::uint8_t> block = w.take();
  // Logicals are whole words, texts carry no terminator.
  EXPECT_EQ(block.size(), 4u + 4 + 4 + 4 + 4 + 4 + 3);
  PropertyReader r(block);
  std::int32_t number = 0;
  std::uint32_t colour = 0;
  bool flag = false;
  std::string text_back;
  std::vector<std::uint8_t> bytes_back;
  ASSERT_TRUE(r.field(number) && r.field(colour) && r.field(flag) && r.field(text_back) &&
              r.field(bytes_back));
  EXPECT_EQ(number, -3);
  EXPECT_EQ(colour, 0xFF000000u);
  EXPECT_TRUE(flag);
  EXPECT_EQ(text_back, text);
  EXPECT_EQ(bytes_back, bytes);
  EXPECT_EQ(r.remaining(), 0u);
}

std::vector<std::uint8_t> logfont_bytes(const char* face, LONG height, BYTE charset) {
  LOGFONTA lf{};
  lf.lfHeight = height;
  lf.lfWeight = 700;
  lf.lfCharSet = charset;
  lf.lfOutPrecision = 3;
  lf.lfQuality = 0;
  lf.lfPitchAndFamily = 0x31;
  // Up to all 32 bytes, so that a test can leave the face name without a terminator.
  std::memcpy(lf.lfFaceName, face, std::min(std::strlen(face), sizeof lf.lfFaceName));
  std::vector<std::uint8_t> bytes(sizeof lf);
  std::memcpy(bytes.data(), &lf, sizeof lf);
  return bytes;
}

TEST(UnitFontTest, SixtyBytesMakeAFontWithTheFixedRenderingFields) {
  ui::UnitFont font(logfont_bytes("Serif", -20, 134));
  const HFONT stock = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  ASSERT_NE(font.handle(), nullptr);
  EXPECT_NE(font.handle(), stock);
  LOGFONTA made{};
  ASSERT_EQ(GetObjectA(font.handle(), sizeof made, &made), static_cast<int>(sizeof made));
  EXPECT_EQ(made.lfHeight, -20);
  EXPECT_EQ(made.lfWeight, 700);
  EXPECT_EQ(made.lfCharSet, DEFAULT_CHARSET);
  EXPECT_EQ(made.lfOutPrecision, 0);
  EXPECT_EQ(made.lfClipPrecision, 0);
  EXPECT_EQ(made.lfQuality, PROOF_QUALITY);
  EXPECT_EQ(made.lfPitchAndFamily, 0);
  EXPECT_STREQ(made.lfFaceName, "Serif");
}

TEST(UnitFontTest, AnyOtherLengthGivesTheStockGuiFont) {
  const HFONT stock = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  std::vector<std::uint8_t> bytes = logfont_bytes("Serif", -20, 0);
  EXPECT_EQ(ui::UnitFont().handle(), stock);
  EXPECT_EQ(ui::UnitFont(std::span(bytes).first(59)).handle(), stock);
  bytes.push_back(0);
  EXPECT_EQ(ui::UnitFont(bytes).handle(), stock);
  EXPECT_EQ(ui::UnitFont(std::span<const std::uint8_t>{}).handle(), stock);
}

TEST(UnitFontTest, AFaceNameWithoutTerminatorIsCutAtItsLastByte) {
  std::vector<std::uint8_t> bytes = logfont_bytes("", -12, 0);
  std::memset(bytes.data() + 28, 'A', 32);
  ui::UnitFont font(bytes);
  LOGFONTA made{};
  ASSERT_EQ(GetObjectA(font.handle(), sizeof made, &made), static_cast<int>(sizeof made));
  EXPECT_EQ(std::string(made.lfFaceName), std::string(31, 'A'));
}

TEST(Colours, TheDefaultColourIsTheButtonFace) {
  EXPECT_EQ(ui::resolve_colour(ui::kDefaultColour), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(ui::resolve_colour(0x123456), 0x123456u);
  EXPECT_EQ(ui::resolve_colour(0), 0u);
}

TEST(BorderStyles, ApplyingAStyleReplacesOnlyTheEdgeBits) {
  ui_test::ParentWindow parent;
  HWND child =
      CreateWindowExA(WS_EX_CLIENTEDGE | WS_EX_TRANSPARENT, "WinLabelTestParent", "", WS_CHILD | WS_VISIBLE,
                      0, 0, 50, 20, parent.hwnd(), nullptr, GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(child, nullptr);
  ui::apply_border_style(child, 5);
  EXPECT_EQ(GetWindowLongA(child, GWL_STYLE) & WS_BORDER, static_cast<LONG>(WS_BORDER));
  EXPECT_EQ(GetWindowLongA(child, GWL_EXSTYLE) & (WS_EX_CLIENTEDGE | WS_EX_TRANSPARENT),
            static_cast<LONG>(WS_EX_TRANSPARENT));
  ui::apply_border_style(child, 4);
  EXPECT_EQ(GetWindowLongA(child, GWL_STYLE) & WS_BORDER, 0);
  EXPECT_EQ(GetWindowLongA(child, GWL_EXSTYLE) & (WS_EX_CLIENTEDGE | WS_EX_DLGMODALFRAME | WS_EX_STATICEDGE),
            static_cast<LONG>(WS_EX_CLIENTEDGE | WS_EX_DLGMODALFRAME));
  // The frame is recomputed: a client edge takes two pixels on each side.
  RECT client{};
  GetClientRect(child, &client);
  EXPECT_LT(client.right, 50);
  ui::apply_border_style(child, 0);
  GetClientRect(child, &client);
  EXPECT_EQ(client.right, 50);
  ui::apply_border_style(nullptr, 1);  // no window: nothing happens
}

}  // namespace
