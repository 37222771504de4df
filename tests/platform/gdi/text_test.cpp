// Text layout and output: wrapping, alignment, measured heights, fonts.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

#include "gdi_fixture.h"
#include "platform/gdi/font.h"
#include "platform/gdi/handle_table.h"

namespace {

using gdi_test::Surface;

// "歌词 lyrics 搜索 finder" in GB18030.
const char kMixed[] = "\xB8\xE8\xB4\xCA lyrics \xCB\xD1\xCB\xF7 finder";

class TextTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SelectObject(s.dc(), GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(s.dc(), TRANSPARENT);
    TEXTMETRICA tm{};
    ASSERT_TRUE(GetTextMetricsA(s.dc(), &tm));
    line = tm.tmHeight;
  }
  TEXTMETRICA metrics_of(LONG height, const char* face) {
    HFONT font = CreateFontA(height, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, face);
    TEXTMETRICA tm{};
    HGDIOBJ old = SelectObject(s.dc(), font);
    GetTextMetricsA(s.dc(), &tm);
    SelectObject(s.dc(), old);
    DeleteObject(font);
    return tm;
  }
  Surface s{300, 200};
  int line = 0;
};

TEST_F(TextTest, DefaultGuiFontIsTwelvePixelCjkFace) {
  TEXTMETRICA tm{};
  ASSERT_TRUE(GetTextMetricsA(s.dc(), &tm));
  EXPECT_EQ(tm.tmHeight, 12);
  EXPECT_EQ(tm.tmInternalLeading, 0);
  EXPECT_EQ(tm.tmAscent + tm.tmDescent, tm.tmHeight);
  EXPECT_GT(tm.tmAveCharWidth, 3);
  EXPECT_GE(tm.tmMaxCharWidth, 12);  // a CJK character is a full em wide
  LOGFONTA lf{};
  ASSERT_EQ(GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf), static_cast<int>(sizeof(lf)));
  EXPECT_EQ(lf.lfHeight, -12);
  char face[64] = {};
  GetTextFaceA(s.dc(), sizeof(face), face);
  EXPECT_STREQ(face, "WenQuanYi Micro Hei");
}

// Metrics are read from the face instead of laying out pango's sample text; they must stay what
// pango's own metrics say, for the CJK face and for a Latin face whose sample needs fallbacks.
TEST_F(TextTest, MetricsAgreeWithPangoAtEverySize) {
  PangoLanguage* chinese = pango_language_from_string("zh-cn");
  for (const char* face : {"WenQuanYi Micro Hei", "DejaVu Sans"}) {
    for (LONG px = 6; px <= 40; px += 3) {
      SCOPED_TRACE(std::string(face) + " " + std::to_string(px));
      const TEXTMETRICA tm = metrics_of(-px, face);
      PangoFontDescription* d = pango_font_description_new();
      pango_font_description_set_family(d, face);
      pango_font_description_set_absolute_size(d, px * PANGO_SCALE);
      PangoFontMetrics* m = pango_context_get_metrics(platform::gdi::thread_pango_context(), d, chinese);
      EXPECT_EQ(tm.tmAscent, PANGO_PIXELS(pango_font_metrics_get_ascent(m)));
      EXPECT_EQ(tm.tmDescent, PANGO_PIXELS(pango_font_metrics_get_descent(m)));
      PangoLayout* layout = pango_layout_new(platform::gdi::thread_pango_context());
      pango_layout_set_font_description(layout, d);
      pango_layout_set_text(layout, "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ", -1);
      int w = 0, h = 0;
      pango_layout_get_size(layout, &w, &h);
      EXPECT_EQ(tm.tmAveCharWidth, std::max(1L, std::lround(w / 52.0 / PANGO_SCALE)));
      g_object_unref(layout);
      pango_font_metrics_unref(m);
      pango_font_description_free(d);
    }
  }
}

TEST_F(TextTest, FaceNamesResolveToInstalledFaces) {
  EXPECT_EQ(platform::gdi::resolve_face("\xCB\xCE\xCC\xE5"), "WenQuanYi Micro Hei");  // 宋体
  EXPECT_EQ(platform::gdi::resolve_face("Tahoma"), "WenQuanYi Micro Hei");
  EXPECT_EQ(platform::gdi::resolve_face(""), "WenQuanYi Micro Hei");
  EXPECT_EQ(platform::gdi::resolve_face("DejaVu Sans"), "DejaVu Sans");
}

TEST_F(TextTest, HeightSignSelectsCharacterOrCellHeight) {
  // A face with leading of its own, so that the two heights differ.
  const TEXTMETRICA a = metrics_of(-20, "Tahoma");
  const TEXTMETRICA b = metrics_of(20, "Tahoma");
  EXPECT_EQ(a.tmHeight - a.tmInternalLeading, 20);
  EXPECT_NEAR(b.tmHeight, 20, 1);
  EXPECT_LT(b.tmHeight, a.tmHeight);
}

TEST_F(TextTest, AStandInKeepsTheLineMetricsOfTheFaceItReplaces) {
  // "宋体" and "黑体" are one em from line to line: 9 points is 12 pixels, 16 pixels is 14 + 2.
  for (const char* face : {"\xCB\xCE\xCC\xE5", "\xBA\xDA\xCC\xE5", "simsun"}) {
    const TEXTMETRICA nine = metrics_of(-12, face);
    EXPECT_EQ(nine.tmHeight, 12) << face;
    EXPECT_EQ(nine.tmInternalLeading, 0) << face;
    EXPECT_EQ(nine.tmAscent, 10) << face;
    const TEXTMETRICA sixteen = metrics_of(16, face);
    EXPECT_EQ(sixteen.tmHeight, 16) << face;
    EXPECT_EQ(sixteen.tmAscent, 14) << face;
    EXPECT_EQ(sixteen.tmDescent, 2) << face;
  }
  // Other names keep the metrics of the face that draws them.
  EXPECT_GT(metrics_of(-12, "Tahoma").tmHeight, 12);
  EXPECT_GT(metrics_of(-12, "DejaVu Sans").tmInternalLeading, 0);
  EXPECT_EQ(metrics_of(-12, "").tmHeight, metrics_of(-12, "Tahoma").tmHeight);
}

TEST_F(TextTest, LinesOfTheStockFaceAreTwelvePixelsApart) {
  // "双击预览歌词，\r\n右击下载歌词。\r\n作者:Veskar" fills three lines of a 40-pixel label.
  const char caption[] =
      "\xCB\xAB\xBB\xF7\xD4\xA4\xC0\xC0\xB8\xE8\xB4\xCA\xA3\xAC\r\n\xD3\xD2\xBB\xF7\xCF\xC2\xD4\xD8"
      "\xB8\xE8\xB4\xCA\xA1\xA3\r\n\xD7\xF7\xD5\xDF:Veskar";
  RECT r{0, 0, 96, 40};
  EXPECT_EQ(DrawTextA(s.dc(), caption, -1, &r, DT_WORDBREAK | DT_CALCRECT), 36);
  EXPECT_EQ(r.bottom, 36);
  EXPECT_LE(r.right, 96) << "no line wraps";
  RECT draw{0, 0, 96, 40};
  DrawTextA(s.dc(), caption, -1, &draw, DT_WORDBREAK);
  const RECT ink = s.Ink();
  EXPECT_GE(ink.top, 0);
  EXPECT_LE(ink.bottom, 37) << "the third line ends inside the label";
  EXPECT_GE(ink.bottom, 33) << "the third line is drawn";
}

TEST_F(TextTest, WordBreakWrapsMixedTextIntoSeveralLines) {
  RECT r{0, 0, 50, 200};
  const int h = DrawTextA(s.dc(), kMixed, -1, &r, DT_WORDBREAK | DT_LEFT | DT_NOPREFIX);
  EXPECT_GE(h, 3 * line);
  EXPECT_EQ(h % line, 0);
  const RECT ink = s.Ink();
  EXPECT_LE(ink.right, 50);
  EXPECT_GT(ink.bottom, 2 * line);
  // Latin words stay whole: "lyrics" and "finder" never split across lines, so every line
  // fits the rectangle.
  RECT calc{0, 0, 50, 0};
  EXPECT_EQ(DrawTextA(s.dc(), kMixed, -1, &calc, DT_WORDBREAK | DT_CALCRECT), h);
  EXPECT_EQ(calc.bottom, h);
  EXPECT_LE(calc.right, 50);
}

TEST_F(TextTest, WordBreakKeepsTextThatFitsExactlyOnOneLine) {
  const char* text = "paper moon harbor";
  SIZE extent{};
  ASSERT_TRUE(GetTextExtentPoint32A(s.dc(), text, static_cast<int>(std::strlen(text)), &extent));
  RECT exact{0, 0, extent.cx, 100}, narrower{0, 0, extent.cx - 1, 100};
  EXPECT_EQ(DrawTextA(s.dc(), text, -1, &exact, DT_WORDBREAK | DT_CALCRECT), line);
  EXPECT_EQ(exact.right, extent.cx);
  EXPECT_EQ(DrawTextA(s.dc(), text, -1, &narrower, DT_WORDBREAK | DT_CALCRECT), 2 * line);
}

TEST_F(TextTest, CjkTextBreaksBetweenCharacters) {
  // Eight CJK characters without spaces in a rect four characters wide: two lines.
  const char text[] = "\xB8\xE8\xB4\xCA\xCB\xD1\xCB\xF7\xB8\xE8\xB4\xCA\xCB\xD1\xCB\xF7";
  RECT r{0, 0, 4 * 12 + 2, 0};
  EXPECT_EQ(DrawTextA(s.dc(), text, -1, &r, DT_WORDBREAK | DT_CALCRECT), 2 * line);
}

TEST_F(TextTest, CalcRectOfSingleLineGivesExtent) {
  RECT r{10, 20, 10, 20};
  EXPECT_EQ(DrawTextA(s.dc(), "finder", -1, &r, DT_SINGLELINE | DT_CALCRECT), line);
  SIZE sz{};
  GetTextExtentPoint32A(s.dc(), "finder", 6, &sz);
  EXPECT_EQ(r.right - r.left, sz.cx);
  EXPECT_EQ(r.bottom - r.top, line);
  EXPECT_EQ(s.Ink().right, 0) << "DT_CALCRECT draws nothing";
}

TEST_F(TextTest, LineBreaksStartNewLines) {
  RECT a{0, 0, 300, 0};
  EXPECT_EQ(DrawTextA(s.dc(), "one\r\ntwo", -1, &a, DT_CALCRECT), 2 * line);
  RECT b{0, 0, 300, 0};
  EXPECT_EQ(DrawTextA(s.dc(), "one\ntwo\nthree", -1, &b, DT_CALCRECT), 3 * line);
  RECT c{0, 0, 300, 0};
  EXPECT_EQ(DrawTextA(s.dc(), "one\r\ntwo", -1, &c, DT_CALCRECT | DT_SINGLELINE), line);
  RECT d{0, 0, 300, 100};
  DrawTextA(s.dc(), "one\r\ntwo", -1, &d, DT_WORDBREAK);
  EXPECT_GT(s.Ink().bottom, line);
}

TEST_F(TextTest, HorizontalAlignmentMovesInk) {
  RECT r{0, 0, 300, 40};
  DrawTextA(s.dc(), "finder", -1, &r, DT_SINGLELINE | DT_LEFT);
  const RECT left = s.Ink();
  s.Fill(RGB(255, 255, 255));
  DrawTextA(s.dc(), "finder", -1, &r, DT_SINGLELINE | DT_CENTER);
  const RECT centre = s.Ink();
  s.Fill(RGB(255, 255, 255));
  DrawTextA(s.dc(), "finder", -1, &r, DT_SINGLELINE | DT_RIGHT);
  const RECT right = s.Ink();
  EXPECT_LT(left.left, 3);
  EXPECT_NEAR((centre.left + centre.right) / 2, 150, 3);
  EXPECT_GT(right.right, 296);
  EXPECT_EQ(centre.right - centre.left, left.right - left.left);
}

TEST_F(TextTest, VerticalCentreAndBottomOfSingleLine) {
  RECT r{0, 0, 300, 100};
  DrawTextA(s.dc(), "\xB8\xE8\xB4\xCA", -1, &r, DT_SINGLELINE | DT_VCENTER);
  const RECT mid = s.Ink();
  EXPECT_NEAR((mid.top + mid.bottom) / 2.0, 50, 3);
  s.Fill(RGB(255, 255, 255));
  DrawTextA(s.dc(), "\xB8\xE8\xB4\xCA", -1, &r, DT_SINGLELINE | DT_BOTTOM);
  const RECT low = s.Ink();
  EXPECT_GT(low.bottom, 100 - line);
  EXPECT_LE(low.bottom, 100);
}

TEST_F(TextTest, ClippingUnlessNoClip) {
  RECT r{0, 0, 20, 40};
  DrawTextA(s.dc(), "lyrics finder", -1, &r, DT_SINGLELINE);
  EXPECT_LE(s.Ink().right, 20);
  s.Fill(RGB(255, 255, 255));
  DrawTextA(s.dc(), "lyrics finder", -1, &r, DT_SINGLELINE | DT_NOCLIP);
  EXPECT_GT(s.Ink().right, 40);
}

TEST_F(TextTest, PrefixIsRemovedAndUnderlined) {
  RECT a{0, 0, 300, 0}, b{0, 0, 300, 0}, c{0, 0, 300, 0};
  DrawTextA(s.dc(), "&File", -1, &a, DT_SINGLELINE | DT_CALCRECT);
  DrawTextA(s.dc(), "File", -1, &b, DT_SINGLELINE | DT_CALCRECT);
  DrawTextA(s.dc(), "&File", -1, &c, DT_SINGLELINE | DT_CALCRECT | DT_NOPREFIX);
  EXPECT_EQ(a.right, b.right);
  EXPECT_GT(c.right, b.right);
  RECT r{0, 0, 300, 40};
  DrawTextA(s.dc(), "File", -1, &r, DT_SINGLELINE);
  const RECT plain = s.Ink();
  s.Fill(RGB(255, 255, 255));
  DrawTextA(s.dc(), "&File", -1, &r, DT_SINGLELINE);
  EXPECT_GT(s.Ink().bottom, plain.bottom) << "the underline sits below the letters";
}

TEST_F(TextTest, EndEllipsisFitsTheRectangle) {
  RECT r{0, 0, 50, 40};
  DrawTextA(s.dc(), "lyrics finder lyrics finder", -1, &r, DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOCLIP);
  EXPECT_LE(s.Ink().right, 50);
}

TEST_F(TextTest, OpaqueBackgroundAndTextColour) {
  SetBkMode(s.dc(), OPAQUE);
  SetBkColor(s.dc(), RGB(0, 0, 255));
  SetTextColor(s.dc(), RGB(255, 0, 0));
  TextOutA(s.dc(), 10, 10, "W", 1);
  SIZE sz{};
  GetTextExtentPoint32A(s.dc(), "W", 1, &sz);
  EXPECT_EQ(s.At(10, 10), RGB(0, 0, 255));
  EXPECT_EQ(s.At(10 + sz.cx - 1, 10 + line - 1), RGB(0, 0, 255));
  EXPECT_EQ(s.At(10 + sz.cx, 10), RGB(255, 255, 255));
  bool red = false;
  for (int y = 10; y < 10 + line; ++y)
    for (int x = 10; x < 10 + sz.cx; ++x) red |= GetRValue(s.At(x, y)) > 150 && GetBValue(s.At(x, y)) < 100;
  EXPECT_TRUE(red);
}

TEST_F(TextTest, TextAlignReferencePoints) {
  TEXTMETRICA tm{};
  GetTextMetricsA(s.dc(), &tm);
  SetTextAlign(s.dc(), TA_RIGHT | TA_BASELINE);
  TextOutA(s.dc(), 200, 100, "finder", 6);
  const RECT ink = s.Ink();
  EXPECT_LE(ink.right, 200);
  EXPECT_GT(ink.right, 195);
  EXPECT_LE(ink.bottom, 100 + tm.tmDescent);
  EXPECT_GE(ink.top, 100 - tm.tmAscent);
}

TEST_F(TextTest, EscapementRotatesText) {
  LOGFONTA lf{};
  lf.lfHeight = -16;
  lf.lfEscapement = 900;  // straight up
  std::strcpy(lf.lfFaceName, "\xCB\xCE\xCC\xE5");
  HFONT f = CreateFontIndirectA(&lf);
  HGDIOBJ old = SelectObject(s.dc(), f);
  TextOutA(s.dc(), 50, 150, "lyrics finder", 13);
  SelectObject(s.dc(), old);
  const RECT ink = s.Ink();
  EXPECT_GT(ink.bottom - ink.top, 3 * (ink.right - ink.left));
  EXPECT_LE(ink.bottom, 151);
  DeleteObject(f);
}

TEST_F(TextTest, ExtentsPerByteOfDoubleByteText) {
  const char text[] =
      "a\xB8\xE8"
      "b";  // a 歌 b
  int dx[4] = {};
  int fit = -1;
  SIZE sz{};
  ASSERT_TRUE(GetTextExtentExPointA(s.dc(), text, 4, 1000, &fit, dx, &sz));
  EXPECT_EQ(fit, 4);
  EXPECT_EQ(dx[1], dx[2]);
  EXPECT_LT(dx[0], dx[1]);
  EXPECT_EQ(dx[3], sz.cx);
  ASSERT_TRUE(GetTextExtentExPointA(s.dc(), text, 4, dx[1] - 1, &fit, nullptr, nullptr));
  EXPECT_EQ(fit, 1);
}

TEST_F(TextTest, BadArgumentsFail) {
  RECT r{0, 0, 10, 10};
  EXPECT_EQ(DrawTextA(nullptr, "x", 1, &r, 0), 0);
  EXPECT_EQ(DrawTextA(s.dc(), "x", 1, nullptr, 0), 0);
  EXPECT_FALSE(TextOutA(reinterpret_cast<HDC>(0x1234), 0, 0, "x", 1));
  EXPECT_FALSE(GetTextMetricsA(s.dc(), nullptr));
  EXPECT_EQ(DrawTextA(s.dc(), "", 0, &r, DT_CALCRECT), 0);
}

}  // namespace

namespace {

TEST(MonoTextTest, TextOnAMonochromeBitmapStaysBlackAndWhite) {
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP mono = CreateBitmap(60, 20, 1, 1, nullptr);
  HGDIOBJ old = SelectObject(dc, mono);
  PatBlt(dc, 0, 0, 60, 20, WHITENESS);
  SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  TextOutA(dc, 0, 0, "lyrics", 6);
  int black = 0;
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 60; ++x) {
      const COLORREF c = GetPixel(dc, x, y);
      ASSERT_TRUE(c == RGB(0, 0, 0) || c == RGB(255, 255, 255)) << x << "," << y;
      black += c == RGB(0, 0, 0);
    }
  EXPECT_GT(black, 10);
  SelectObject(dc, old);
  DeleteObject(mono);
  DeleteDC(dc);
}

}  // namespace

namespace {

TEST(FontWidthTest, AverageWidthStretchesText) {
  gdi_test::Surface s(300, 40);
  HFONT normal = CreateFontA(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "");
  HGDIOBJ old = SelectObject(s.dc(), normal);
  TEXTMETRICA tm{};
  GetTextMetricsA(s.dc(), &tm);
  SIZE narrow{};
  GetTextExtentPoint32A(s.dc(), "lyrics finder", 13, &narrow);
  HFONT wide =
      CreateFontA(-12, 2 * tm.tmAveCharWidth, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "");
  SelectObject(s.dc(), wide);
  TEXTMETRICA wtm{};
  GetTextMetricsA(s.dc(), &wtm);
  EXPECT_EQ(wtm.tmAveCharWidth, 2 * tm.tmAveCharWidth);
  EXPECT_EQ(wtm.tmHeight, tm.tmHeight);
  SIZE stretched{};
  GetTextExtentPoint32A(s.dc(), "lyrics finder", 13, &stretched);
  EXPECT_NEAR(stretched.cx, 2 * narrow.cx, 2);
  SetBkMode(s.dc(), TRANSPARENT);
  TextOutA(s.dc(), 0, 0, "lyrics finder", 13);
  EXPECT_NEAR(s.Ink().right, stretched.cx, 3);
  SelectObject(s.dc(), old);
  DeleteObject(normal);
  DeleteObject(wide);
}

}  // namespace

namespace {

TEST(TextEdgeTest, EmbeddedNulEndsTheText) {
  gdi_test::Surface s(100, 20);
  SIZE with_nul{}, plain{};
  GetTextExtentPoint32A(s.dc(), "ab\0cd", 5, &with_nul);
  GetTextExtentPoint32A(s.dc(), "ab", 2, &plain);
  EXPECT_EQ(with_nul.cx, plain.cx);
  EXPECT_TRUE(TextOutA(s.dc(), 0, 0, "ab\0cd", 5));
  EXPECT_TRUE(TextOutA(s.dc(), 0, 0, "", 0));
}

}  // namespace
