// The label unit created directly through its type's create operation under a test window.
#include "ui/units/label_unit.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <optional>

#include "platform/api/gdi.h"
#include "platform/api/messages.h"
#include "platform/api/user.h"
#include "platform/winsys/headless.h"
#include "tests/ui/support/drawn_text.h"
#include "tests/ui/window_unit_support.h"
#include "ui/units/unit_types.h"

namespace {

using ui::LabelProperties;
using ui::LabelUnit;

namespace own = ui::label_property;

constexpr COLORREF kWhite = 0x00FFFFFF;
constexpr COLORREF kBlack = 0x00000000;
constexpr COLORREF kRed = 0x000000FF;
constexpr COLORREF kBlue = 0x00FF0000;
constexpr COLORREF kGrey = 0x00808080;

// Colours within a few steps per channel (gradients end one pixel short of their last colour).
bool near(COLORREF a, COLORREF b) {
  for (int shift : {0, 8, 16}) {
    if (std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)) > 12)
      return false;
  }
  return true;
}

class LabelUnitTest : public ::testing::Test {
 protected:
  LabelUnit* make(const LabelProperties& p, int width = 160, int height = 60) {
    block_ = p.serialize();
    ui::UnitCreateArgs args{.parent = parent_.hwnd(),
                            .properties = block_,
                            .control_id = 100,
                            .left = 10,
                            .top = 10,
                            .width = width,
                            .height = height,
                            .window_id = 0x52000001,
                            .unit_id = 0x16000009};
    auto* unit =
        static_cast<LabelUnit*>(static_cast<ui::Unit*>(ui_test::create_unit(ui::label_unit_type(), args)));
    if (unit != nullptr) {
      hwnd_ = unit->hwnd();
      ShowWindow(hwnd_, SW_SHOWNA);
      ui_test::settle();
    }
    return unit;
  }

  static LabelProperties plain(std::string caption) {
    LabelProperties p;
    p.caption = std::move(caption);
    p.background = kWhite;
    p.text_colour = kBlack;
    return p;
  }

  void set(std::int32_t own_index, ui::PropertyPair value) {
    auto set = ui_test::unit_op<ui::SetOp>(ui::label_unit_type(), ui::kSetOp);
    EXPECT_EQ(set(ui::Unit::from_window(hwnd_), own_index, value), 0);
    ui_test::settle();
  }
  std::int32_t get_int(std::int32_t own_index) {
    ui::PropertyPair pair;
    auto get = ui_test::unit_op<ui::GetOp>(ui::label_unit_type(), ui::kGetOp);
    EXPECT_EQ(get(ui::Unit::from_window(hwnd_), own_index, &pair), 1);
    return ui::pair_int(pair);
  }

  RECT client() const {
    RECT r{};
    GetClientRect(hwnd_, &r);
    return r;
  }
  COLORREF at(int x, int y) const { return platform::headless::read_pixel(hwnd_, x, y); }
  bool any_pixel(COLORREF colour) const {
    const RECT r = client();
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x)
        if (at(x, y) == colour) return true;
    return false;
  }

  ui_test::ParentWindow parent_{400, 300};
  std::vector<std::uint8_t> block_;
  HWND hwnd_ = nullptr;
};

TEST_F(LabelUnitTest, ALineBreakMakesTwoLinesOnlyWithWordWrap) {
  LabelProperties p = plain("Lyrics\r\nFinder");
  p.word_wrap = true;
  ASSERT_NE(make(p), nullptr);
  const ui_test::Ink wrapped = ui_test::ink(hwnd_, client(), kWhite);
  // At a 12-pixel pitch the descender of "y" may touch the "F" below: the lines are found by
  // their shapes, not by the gap between them.
  const ui_test::TextLook look{static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)), kBlack, kWhite};
  const std::optional<POINT> first = ui_test::find_text_line(hwnd_, client(), "Lyrics", look);
  const std::optional<POINT> second = ui_test::find_text_line(hwnd_, client(), "Finder", look);
  ASSERT_TRUE(first && second);
  EXPECT_GE(second->y - first->y, 8) << "one line below the other";

  set(own::kWordWrap, ui::int_pair(0));
  const ui_test::Ink single = ui_test::ink(hwnd_, client(), kWhite);
  EXPECT_EQ(single.row_bands, 1);
  EXPECT_GT(single.box.right - single.box.left, wrapped.box.right - wrapped.box.left)
      << "both words on one line";
  // Vertically centred by default when not wrapping.
  EXPECT_NEAR((single.box.top + single.box.bottom) / 2.0, client().bottom / 2.0, 3.0);
}

TEST_F(LabelUnitTest, HorizontalAndVerticalAlignment) {
  LabelProperties p = plain("Mid");
  p.word_wrap = false;
  p.alignment = 1;
  ASSERT_NE(make(p), nullptr);
  const RECT area = client();
  ui_test::Ink centred = ui_test::ink(hwnd_, area, kWhite);
  ASSERT_TRUE(centred.any());
  EXPECT_NEAR((centred.box.left + centred.box.right) / 2.0, area.right / 2.0, 2.0);

  set(own::kAlignment, ui::int_pair(2));
  ui_test::Ink right = ui_test::ink(hwnd_, area, kWhite);
  EXPECT_GE(right.box.right, area.right - 3);
  set(own::kAlignment, ui::int_pair(0));
  ui_test::Ink left = ui_test::ink(hwnd_, area, kWhite);
  EXPECT_LE(left.box.left, 2);

  set(own::kVerticalAlignment, ui::int_pair(0));
  EXPECT_LT(ui_test::ink(hwnd_, area, kWhite).box.top, area.bottom / 3);
  set(own::kVerticalAlignment, ui::int_pair(2));
  EXPECT_GT(ui_test::ink(hwnd_, area, kWhite).box.bottom, area.bottom * 2 / 3);
}

TEST_F(LabelUnitTest, WritingTheCaptionRepaintsAndRenamesTheWindow) {
  ASSERT_NE(make(plain("")), nullptr);
  EXPECT_FALSE(ui_test::ink(hwnd_, client(), kWhite).any()) << "no caption, only the background";
  static const char kCaption[] = "&Go";
  set(own::kCaption, ui::PropertyPair{reinterpret_cast<std::intptr_t>(kCaption), 3});
  EXPECT_TRUE(ui_test::ink(hwnd_, client(), kWhite).any());
  char text[8] = {};
  GetWindowTextA(hwnd_, text, sizeof text);
  EXPECT_STREQ(text, "&Go");
  ui::PropertyPair pair;
  ui_test::unit_op<ui::GetOp>(ui::label_unit_type(), ui::kGetOp)(ui::Unit::from_window(hwnd_), own::kCaption,
                                                                 &pair);
  EXPECT_EQ(ui::pair_text(pair), "&Go");
}

TEST_F(LabelUnitTest, TextEffectsDrawACopyFirst) {
  LabelProperties p = plain("WWW");
  p.background = kGrey;
  p.text_colour = kRed;
  // Strokes wide enough to hold pixels of the pure colours.
  LOGFONTA lf{};
  lf.lfHeight = -40;
  lf.lfWeight = 900;
  p.font.resize(sizeof lf);
  std::memcpy(p.font.data(), &lf, sizeof lf);
  ASSERT_NE(make(p), nullptr);
  EXPECT_FALSE(any_pixel(kWhite));
  EXPECT_FALSE(any_pixel(kBlack));
  set(own::kTextEffect, ui::int_pair(1));
  EXPECT_TRUE(any_pixel(kWhite)) << "a white copy under the text";
  set(own::kTextEffect, ui::int_pair(3));
  EXPECT_FALSE(any_pixel(kWhite));
  EXPECT_TRUE(any_pixel(kBlack)) << "a black shadow";
  set(own::kTextEffect, ui::int_pair(2));
  EXPECT_TRUE(any_pixel(kWhite));
}

TEST_F(LabelUnitTest, BorderStylesMapToEdgesAndSixPaintsAFrame) {
  LabelProperties p = plain("");
  p.border_style = 1;
  ASSERT_NE(make(p), nullptr);
  auto ex = [&] { return static_cast<DWORD>(GetWindowLongA(hwnd_, GWL_EXSTYLE)); };
  auto style = [&] { return static_cast<DWORD>(GetWindowLongA(hwnd_, GWL_STYLE)); };
  EXPECT_TRUE(ex() & WS_EX_CLIENTEDGE);
  set(own::kBorderStyle, ui::int_pair(5));
  EXPECT_FALSE(ex() & WS_EX_CLIENTEDGE);
  EXPECT_TRUE(style() & WS_BORDER);
  set(own::kBorderStyle, ui::int_pair(6));
  EXPECT_FALSE(style() & WS_BORDER);
  EXPECT_FALSE(ex() & (WS_EX_CLIENTEDGE | WS_EX_STATICEDGE | WS_EX_DLGMODALFRAME));
  // The painted frame: grey outside, white in the middle of its 8 rings, then the background.
  EXPECT_EQ(at(0, 0), kGrey);
  EXPECT_EQ(at(80, 0), kGrey);
  EXPECT_NE(at(4, 30), kGrey);
  EXPECT_EQ(at(7, 30), kGrey);
  EXPECT_EQ(at(8, 30), kWhite);
  set(own::kBorderStyle, ui::int_pair(9));
  EXPECT_EQ(get_int(own::kBorderStyle), 6) << "clamped";

  // Fewer than two frame colours that are not the default: no frame at all.
  set(own::kFrameColour1, ui::int_pair(static_cast<std::int32_t>(ui::kDefaultColour)));
  set(own::kFrameColour1 + 2, ui::int_pair(static_cast<std::int32_t>(ui::kDefaultColour)));
  EXPECT_EQ(at(0, 0), kWhite);
}

TEST_F(LabelUnitTest, AFrameWiderThanTheLabelFillsItAndEnds) {
  LabelProperties p = plain("hidden");
  p.border_style = 6;
  p.frame_width = 0x7FFFFFFF;  // as a damaged block may hold it
  ASSERT_NE(make(p, 40, 20), nullptr);
  EXPECT_EQ(at(0, 0), kGrey);
  EXPECT_NE(at(20, 10), kWhite) << "no room left for the background or the caption";
}

TEST_F(LabelUnitTest, WrittenChoicesAreClampedAndTheFrameWidthIsAtLeastFive) {
  ASSERT_NE(make(plain("x")), nullptr);
  struct Case {
    std::int32_t index, written, read;
  };
  const Case cases[] = {
      {own::kTextEffect, 9, 3},  {own::kPictureMode, 5, 2},  {own::kGradientMode, 10, 8},
      {own::kAlignment, 3, 2},   {own::kTextEffect, -1, 0},  {own::kFrameWidth, 2, 5},
      {own::kFrameWidth, -1, 5}, {own::kFrameWidth, 20, 20}, {own::kGradientMode, 4, 4},
  };
  for (const Case& c : cases) {
    set(c.index, ui::int_pair(c.written));
    EXPECT_EQ(get_int(c.index), c.read) << c.index << " " << c.written;
  }
}

TEST_F(LabelUnitTest, AFontOfAnyOtherLengthThanSixtyIsTheGuiFont) {
  ASSERT_NE(make(plain("x")), nullptr);
  const auto stock = reinterpret_cast<LRESULT>(GetStockObject(DEFAULT_GUI_FONT));
  EXPECT_EQ(SendMessageA(hwnd_, WM_GETFONT, 0, 0), stock);
  LOGFONTA lf{};
  lf.lfHeight = -30;
  set(own::kFont, ui::data_pair(&lf, sizeof lf));
  EXPECT_NE(SendMessageA(hwnd_, WM_GETFONT, 0, 0), stock);
  const ui_test::Ink big = ui_test::ink(hwnd_, client(), kWhite);
  set(own::kFont, ui::data_pair(&lf, sizeof lf - 1));
  EXPECT_EQ(SendMessageA(hwnd_, WM_GETFONT, 0, 0), stock);
  const ui_test::Ink small = ui_test::ink(hwnd_, client(), kWhite);
  EXPECT_GT(big.box.bottom - big.box.top, small.box.bottom - small.box.top);
  ui::PropertyPair pair;
  ui_test::unit_op<ui::GetOp>(ui::label_unit_type(), ui::kGetOp)(ui::Unit::from_window(hwnd_), own::kFont,
                                                                 &pair);
  EXPECT_EQ(ui::pair_bytes(pair).size(), sizeof lf - 1) << "the value is kept as written";
}

TEST_F(LabelUnitTest, GradientNeedsTwoColoursThatAreNotTheDefault) {
  LabelProperties p = plain("");
  p.gradient_mode = 1;
  p.gradient_colours = {kRed, ui::kDefaultColour, kBlue};
  ASSERT_NE(make(p), nullptr);
  const RECT r = client();
  EXPECT_EQ(at(0, 30), kRed);
  EXPECT_TRUE(near(at(r.right - 1, 30), kBlue));
  EXPECT_EQ(at(0, 0), at(0, r.bottom - 1)) << "left to right only";

  set(own::kGradientMode, ui::int_pair(2));
  EXPECT_EQ(at(5, 0), kRed);
  EXPECT_TRUE(near(at(5, r.bottom - 1), kBlue));

  set(own::kGradientMode, ui::int_pair(3));
  EXPECT_TRUE(near(at(0, 30), kBlue));

  set(own::kGradientMode, ui::int_pair(5));
  EXPECT_EQ(at(0, 30), kRed);
  EXPECT_TRUE(near(at(r.right - 1, 30), kRed));
  EXPECT_TRUE(near(at(r.right / 2, 30), kBlue));

  set(own::kGradientMode, ui::int_pair(7));
  EXPECT_EQ(at(0, 0), kRed);
  EXPECT_TRUE(near(at(r.right - 1, r.bottom - 1), kBlue));

  set(own::kGradientColour1 + 2, ui::int_pair(static_cast<std::int32_t>(ui::kDefaultColour)));
  EXPECT_EQ(at(0, 0), kWhite) << "one colour left: the background colour";
  EXPECT_EQ(at(r.right - 1, r.bottom - 1), kWhite);
}

TEST_F(LabelUnitTest, TheBackgroundPictureSitsInsideThePaintedFrame) {
  LabelProperties p = plain("");
  p.border_style = 6;
  p.frame_width = 5;
  p.picture_mode = 0;
  p.background_picture = ui_test::solid_bmp(10, 10, kRed);
  p.gradient_mode = 1;  // a picture wins over the gradient
  p.gradient_colours = {kBlue, kBlue, kBlue};
  ASSERT_NE(make(p), nullptr);
  EXPECT_EQ(at(0, 0), kGrey);
  EXPECT_EQ(at(5, 5), kRed);
  EXPECT_EQ(at(14, 14), kRed);
  EXPECT_EQ(at(15, 15), kWhite);
  EXPECT_FALSE(any_pixel(kBlue));
}

TEST_F(LabelUnitTest, ANewerOrCutBlockCreatesNothing) {
  std::vector<std::uint8_t> block = plain("x").serialize();
  ui::UnitCreateArgs args{.parent = parent_.hwnd(), .properties = block, .width = 10, .height = 10};
  block[0] = 3;
  args.properties = block;
  EXPECT_EQ(ui_test::create_unit(ui::label_unit_type(), args), nullptr);
  block[0] = 2;
  block.resize(block.size() - 2);
  args.properties = block;
  EXPECT_EQ(ui_test::create_unit(ui::label_unit_type(), args), nullptr);
}

TEST_F(LabelUnitTest, TheLabelIsAChildOfItsOwnClassWithItsControlId) {
  ASSERT_NE(make(plain("cap")), nullptr);
  char name[32] = {};
  GetClassNameA(hwnd_, name, sizeof name);
  EXPECT_STREQ(name, ui::kLabelClass);
  EXPECT_EQ(GetParent(hwnd_), parent_.hwnd());
  EXPECT_EQ(GetDlgCtrlID(hwnd_), 100);
  EXPECT_TRUE(GetWindowLongA(hwnd_, GWL_STYLE) & WS_CHILD);
}

}  // namespace
