// Windows on a scaled desktop: where the scale comes from, and what programs see and the screen
// shows when the headless display runs at 1.5x and 2x.
#include "platform/display/desktop_scale.h"

#include <cairo.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <optional>
#include <vector>

#include "platform/api.h"
#include "platform/winsys/headless.h"
#include "platform/winsys/surface_access.h"
#include "tests/support/headless_recorder.h"

namespace hl = platform::headless;
using lyr::test::Recorder;

namespace {

TEST(DesktopScale, TakesTheFirstSourceThatMakesSenseRoundedToAQuarter) {
  struct Case {
    const char* lyrics;
    const char* xft;
    const char* gdk;
    std::optional<double> wayland;
    int quarters;
    const char* source;
  };
  const Case cases[] = {
      {nullptr, nullptr, nullptr, std::nullopt, 4, "default"},
      {"1.5", "192", "2", 3.0, 6, "LYRICS_SCALE"},
      {"1.3", nullptr, nullptr, std::nullopt, 5, "LYRICS_SCALE"},
      {"1.4", nullptr, nullptr, std::nullopt, 6, "LYRICS_SCALE"},
      {"", "192", "3", std::nullopt, 8, "Xft.dpi"},
      {"5", "144", nullptr, std::nullopt, 6, "Xft.dpi"},    // out of range: passed over
      {"two", "120", nullptr, std::nullopt, 5, "Xft.dpi"},  // not a number: passed over
      {nullptr, "96", "2", std::nullopt, 4, "Xft.dpi"},
      {nullptr, "72", "2", std::nullopt, 8, "GDK_SCALE"},  // below 1x
      {nullptr, "lots", "2", std::nullopt, 8, "GDK_SCALE"},
      {nullptr, nullptr, "0", 2.0, 8, "Wayland output"},
      {nullptr, nullptr, nullptr, 0.5, 4, "default"},
      {nullptr, nullptr, nullptr, 3.9, 16, "Wayland output"},
  };
  for (const Case& c : cases) {
    platform::display::ScaleSources s;
    s.lyrics_scale = c.lyrics;
    s.xft_dpi = c.xft;
    s.gdk_scale = c.gdk;
    s.wayland_scale = c.wayland;
    const auto chosen = platform::display::choose_scale(s);
    const std::string what =
        std::string(c.lyrics ? c.lyrics : "-") + "/" + (c.xft ? c.xft : "-") + "/" + (c.gdk ? c.gdk : "-");
    EXPECT_EQ(chosen.quarters, c.quarters) << what;
    EXPECT_EQ(chosen.source, c.source) << what;
  }
}

// The device pixels of a top-level window's backing store, top row first (xRGB).
struct DevicePixels {
  int width = 0, height = 0;
  std::vector<std::uint32_t> px;
  std::uint32_t at(int x, int y) const { return px[static_cast<std::size_t>(y) * width + x] & 0xFFFFFF; }
};

DevicePixels device_pixels(HWND top) {
  DevicePixels out;
  platform::winsys::with_surface(top, [&](cairo_surface_t* s) {
    out.width = cairo_image_surface_get_width(s);
    out.height = cairo_image_surface_get_height(s);
    const int stride = cairo_image_surface_get_stride(s);
    out.px.resize(static_cast<std::size_t>(out.width) * out.height);
    for (int y = 0; y < out.height; ++y)
      std::memcpy(&out.px[static_cast<std::size_t>(y) * out.width],
                  cairo_image_surface_get_data(s) + y * stride, static_cast<std::size_t>(out.width) * 4);
  });
  return out;
}

// A captionless top-level window (so its client starts at the surface's corner) at a scale.
class ScaledDesktop : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!hl::active()) GTEST_SKIP() << "needs LYRICS_DISPLAY=headless";
    hl::reset_input();
  }
  void TearDown() override {
    hl::run_until_idle();
    hl::set_scale(1.0);
  }
  HWND open(double scale, std::function<void(HDC)> paint, RECT rect = {40, 30, 240, 130}) {
    EXPECT_TRUE(hl::set_scale(scale));
    paint_ = std::move(paint);
    rec_.on(WM_PAINT, [this](HWND h, WPARAM, LPARAM) {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(h, &ps);
      FillRect(dc, &ps.rcPaint, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
      if (paint_) paint_(dc);
      EndPaint(h, &ps);
      return LRESULT{0};
    });
    HWND top = rec_.top(rect, WS_POPUP | WS_VISIBLE);
    hl::run_until_idle();
    return top;
  }

  Recorder rec_;
  std::function<void(HDC)> paint_;
};

TEST_F(ScaledDesktop, ProgramsKeepLogicalCoordinatesWhileTheStoreHoldsDevicePixels) {
  HWND top = open(2.0, nullptr);
  RECT client{};
  GetClientRect(top, &client);
  EXPECT_EQ(client.right, 200);
  EXPECT_EQ(client.bottom, 100);
  const SIZE device = hl::client_device_size(top);
  EXPECT_EQ(device.cx, 400);
  EXPECT_EQ(device.cy, 200);
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1280) << "2560 device pixels at 2x";
  EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 800);
  HDC dc = GetDC(top);
  EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSY), 96);
  EXPECT_EQ(GetDeviceCaps(dc, HORZRES), 1280);
  ReleaseDC(top, dc);
  EXPECT_FALSE(hl::set_scale(0.5));
  EXPECT_FALSE(hl::set_scale(4.5));
}

TEST_F(ScaledDesktop, LinesAndFillsCoverTheirLogicalAreaTimesTheScale) {
  HWND top = open(2.0, [](HDC dc) {
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
    HGDIOBJ old = SelectObject(dc, pen);
    MoveToEx(dc, 10, 5, nullptr);
    LineTo(dc, 60, 5);
    SelectObject(dc, old);
    DeleteObject(pen);
    RECT r{100, 20, 130, 40};
    HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
    FillRect(dc, &r, blue);
    DeleteObject(blue);
    SetPixel(dc, 150, 60, RGB(0, 255, 0));
  });
  const DevicePixels d = device_pixels(top);
  ASSERT_EQ(d.width, 400);
  int red_rows = 0, blue = 0, green = 0;
  for (int y = 0; y < d.height; ++y) {
    bool red_row = false;
    for (int x = 0; x < d.width; ++x) {
      const std::uint32_t p = d.at(x, y);
      red_row |= p == 0xFF0000;
      if (p == 0x0000FF) {
        ++blue;
        EXPECT_TRUE(x >= 200 && x < 260 && y >= 40 && y < 80) << x << "," << y;
      }
      if (p == 0x00FF00) ++green;
    }
    red_rows += red_row;
  }
  EXPECT_EQ(red_rows, 2) << "a 1-pixel line is 2 device pixels wide";
  EXPECT_EQ(d.at(20, 10), 0xFF0000u);
  EXPECT_EQ(d.at(119, 11), 0xFF0000u);
  EXPECT_EQ(d.at(120, 10), 0xFFFFFFu) << "the last point stays out";
  EXPECT_EQ(blue, 60 * 40) << "30 x 20 logical pixels";
  EXPECT_EQ(green, 4);
  HDC dc = GetDC(top);
  EXPECT_EQ(GetPixel(dc, 150, 60), RGB(0, 255, 0));
  EXPECT_EQ(GetPixel(dc, 115, 30), RGB(0, 0, 255));
  ReleaseDC(top, dc);
  EXPECT_EQ(hl::read_pixel(top, 129, 39), RGB(0, 0, 255));
  EXPECT_EQ(hl::read_pixel(top, 130, 39), RGB(255, 255, 255));
}

TEST_F(ScaledDesktop, AClickAtADevicePixelReachesTheProgramAtItsLogicalPoint) {
  HWND top = open(2.0, nullptr);
  for (POINT p : {POINT{0, 0}, POINT{37, 21}, POINT{199, 99}}) {
    rec_.clear();
    ASSERT_TRUE(hl::click_device(top, {2 * p.x + 1, 2 * p.y + 1}));
    hl::advance_clock(1000);
    hl::run_until_idle();
    auto down = rec_.messages({WM_LBUTTONDOWN});
    ASSERT_EQ(down.size(), 1u) << p.x << "," << p.y;
    EXPECT_EQ(GET_X_LPARAM(down[0].lp), p.x);
    EXPECT_EQ(GET_Y_LPARAM(down[0].lp), p.y);
  }
}

// At 1.5x logical edges fall between device pixels; neighbours must share each edge exactly,
// whether drawn through cairo (FillRect) or pixel by pixel (PatBlt), and the two must agree.
TEST_F(ScaledDesktop, AtOneAndAHalfNeighbouringFillsLeaveNoGapAndNoOverlap) {
  constexpr int kCount = 25;
  HWND top = open(1.5, [](HDC dc) {
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0)), blue = CreateSolidBrush(RGB(0, 0, 255));
    // Cells of widths 1, 2, 3, ... side by side, alternating colours.
    int x = 1;
    for (int i = 0; i < kCount; ++i) {
      RECT r{x, 1, x + 1 + i % 3, 11};
      FillRect(dc, &r, i % 2 ? blue : red);
      x = r.right;
    }
    // The same cells again, each inverted once by a pattern blit: any overlap would invert twice.
    SelectObject(dc, GetStockObject(WHITE_BRUSH));
    x = 1;
    for (int i = 0; i < kCount; ++i) {
      const int w = 1 + i % 3;
      PatBlt(dc, x, 21, w, 10, PATINVERT);
      x += w;
    }
    // And inverted where cairo filled: no fringe of the old colour may stay.
    PatBlt(dc, 1, 1, x - 1, 10, DSTINVERT);
    DeleteObject(red);
    DeleteObject(blue);
  });
  const DevicePixels d = device_pixels(top);
  int right = 1;
  for (int i = 0; i < kCount; ++i) right += 1 + i % 3;
  const int left_dev = 1, right_dev = static_cast<int>(std::floor(right * 1.5 + 0.25));
  for (int y : {2, 8, 15}) {
    for (int x = left_dev; x < right_dev; ++x) {
      const std::uint32_t p = d.at(x, y);
      EXPECT_TRUE(p == 0x00FFFF || p == 0xFFFF00)
          << "gap or fringe at " << x << "," << y << ": " << std::hex << p;
    }
    EXPECT_EQ(d.at(0, y), 0xFFFFFFu);
    EXPECT_EQ(d.at(right_dev, y), 0xFFFFFFu);
  }
  for (int y : {31, 40, 45}) {
    for (int x = left_dev; x < right_dev; ++x) EXPECT_EQ(d.at(x, y), 0x000000u) << "inverted once at " << x;
    EXPECT_EQ(d.at(right_dev, y), 0xFFFFFFu);
  }
  EXPECT_EQ(d.at(5, 30), 0xFFFFFFu);
  EXPECT_EQ(d.at(5, 46), 0xFFFFFFu);
}

// `small` enlarged twice with a smoothing filter.
DevicePixels smoothed_up(const DevicePixels& small) {
  DevicePixels out;
  out.width = small.width * 2;
  out.height = small.height * 2;
  out.px.resize(static_cast<std::size_t>(out.width) * out.height);
  std::vector<std::uint32_t> src = small.px;
  cairo_surface_t* from =
      cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(src.data()), CAIRO_FORMAT_RGB24,
                                          small.width, small.height, small.width * 4);
  cairo_surface_t* to =
      cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(out.px.data()), CAIRO_FORMAT_RGB24,
                                          out.width, out.height, out.width * 4);
  cairo_t* cr = cairo_create(to);
  cairo_scale(cr, 2, 2);
  cairo_set_source_surface(cr, from, 0, 0);
  cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
  cairo_paint(cr);
  cairo_destroy(cr);
  cairo_surface_destroy(to);
  cairo_surface_destroy(from);
  return out;
}

// Text is shaped at the logical size but drawn at device resolution: enlarging the 1x picture
// cannot give the same pixels.
TEST_F(ScaledDesktop, TextHasDeviceResolutionDetail) {
  auto draw = [](HDC dc) {
    SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    TextOutA(dc, 4, 4, "Sharp text 4k", 13);
  };
  HWND one = open(1.0, draw);
  const DevicePixels small = device_pixels(one);
  DestroyWindow(one);
  HWND two = open(2.0, draw);
  const DevicePixels big = device_pixels(two);
  ASSERT_EQ(big.width, 2 * small.width);
  SIZE extent{};
  HDC dc = GetDC(two);
  SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  GetTextExtentPoint32A(dc, "Sharp text 4k", 13, &extent);
  ReleaseDC(two, dc);
  const DevicePixels enlarged = smoothed_up(small);
  int inked = 0, uneven = 0;
  long long difference = 0;
  for (int y = 4; y < 4 + extent.cy; ++y)
    for (int x = 4; x < 4 + extent.cx; ++x) {
      const std::uint32_t a = big.at(2 * x, 2 * y), b = big.at(2 * x + 1, 2 * y),
                          c = big.at(2 * x, 2 * y + 1), e = big.at(2 * x + 1, 2 * y + 1);
      if (a == 0xFFFFFF && b == 0xFFFFFF && c == 0xFFFFFF && e == 0xFFFFFF) continue;
      ++inked;
      uneven += !(a == b && b == c && c == e);
      for (int j = 0; j < 2; ++j)
        for (int i = 0; i < 2; ++i)
          difference += std::abs(static_cast<int>(big.at(2 * x + i, 2 * y + j) & 0xFF) -
                                 static_cast<int>(enlarged.at(2 * x + i, 2 * y + j) & 0xFF));
    }
  ASSERT_GT(inked, 50);
  EXPECT_GT(uneven * 3, inked) << "most inked 2x2 blocks carry detail of their own";
  EXPECT_GT(difference / (4 * inked), 20) << "not the 1x glyphs enlarged: " << difference / (4 * inked);
}

// Off-screen drawing (a bitmap compatible with the window's DC, copied in and out) must look
// exactly like drawing on the window, while the bitmap still answers in logical pixels.
TEST_F(ScaledDesktop, OffScreenBitmapsOfAScaledWindowKeepItsResolution) {
  auto draw = [](HDC dc) {
    SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    TextOutA(dc, 3, 3, "Off screen", 10);
    RECT r{10, 20, 13, 23};
    FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  };
  HWND direct = open(2.0, draw, {0, 0, 80, 30});
  const DevicePixels expected = device_pixels(direct);
  DestroyWindow(direct);
  BITMAP info{};
  COLORREF corner = 0, inside = 0;
  std::vector<std::uint32_t> bits;
  HWND buffered = open(2.0,
                       [&](HDC dc) {
                         HDC memory = CreateCompatibleDC(dc);
                         HBITMAP bitmap = CreateCompatibleBitmap(dc, 80, 30);
                         HGDIOBJ old = SelectObject(memory, bitmap);
                         BitBlt(memory, 0, 0, 80, 30, dc, 0, 0, SRCCOPY);
                         draw(memory);
                         corner = GetPixel(memory, 0, 0);
                         inside = GetPixel(memory, 12, 22);
                         GetObjectA(bitmap, sizeof info, &info);
                         BITMAPINFO bi{};
                         bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
                         bi.bmiHeader.biWidth = 80;
                         bi.bmiHeader.biHeight = -30;
                         bi.bmiHeader.biPlanes = 1;
                         bi.bmiHeader.biBitCount = 32;
                         bits.assign(80 * 30, 0);
                         SelectObject(memory, old);
                         GetDIBits(memory, bitmap, 0, 30, bits.data(), &bi, DIB_RGB_COLORS);
                         SelectObject(memory, bitmap);
                         BitBlt(dc, 0, 0, 80, 30, memory, 0, 0, SRCCOPY);
                         SelectObject(memory, old);
                         DeleteObject(bitmap);
                         DeleteDC(memory);
                       },
                       {0, 0, 80, 30});
  const DevicePixels shown = device_pixels(buffered);
  EXPECT_EQ(info.bmWidth, 80);
  EXPECT_EQ(info.bmHeight, 30);
  EXPECT_EQ(corner, RGB(255, 255, 255));
  EXPECT_EQ(inside, RGB(0, 0, 0));
  ASSERT_EQ(bits.size(), 80u * 30u);
  EXPECT_EQ(bits[22 * 80 + 12] & 0xFFFFFF, 0u) << "DIB rows are logical";
  EXPECT_EQ(bits[23 * 80 + 13] & 0xFFFFFF, 0xFFFFFFu);
  ASSERT_EQ(shown.px.size(), expected.px.size());
  int differing = 0;
  for (std::size_t i = 0; i < shown.px.size(); ++i)
    differing += (shown.px[i] & 0xFFFFFF) != (expected.px[i] & 0xFFFFFF);
  EXPECT_EQ(differing, 0);
}

// Scrolling moves device pixels by the scaled distance.
TEST_F(ScaledDesktop, ScrollingMovesDevicePixels) {
  HWND top = open(2.0, [](HDC dc) {
    RECT band{0, 10, 200, 20};
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    FillRect(dc, &band, red);
    DeleteObject(red);
  });
  ScrollWindowEx(top, 0, 5, nullptr, nullptr, nullptr, nullptr, 0);
  const DevicePixels d = device_pixels(top);
  for (int y : {29, 50}) EXPECT_NE(d.at(100, y), 0xFF0000u) << y;
  for (int y : {30, 49}) EXPECT_EQ(d.at(100, y), 0xFF0000u) << y;
}

}  // namespace
