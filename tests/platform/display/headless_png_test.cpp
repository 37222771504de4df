// Reading back what windows painted: read_pixel and save_png on the headless display.
#include <cairo.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "platform/api.h"
#include "platform/winsys/headless.h"
#include "tests/support/headless_recorder.h"

namespace hl = platform::headless;
using lyr::test::Recorder;

namespace {

LRESULT fill_client(HWND hwnd, COLORREF colour) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd, &ps);
  RECT r;
  GetClientRect(hwnd, &r);
  HBRUSH brush = CreateSolidBrush(colour);
  FillRect(dc, &r, brush);
  DeleteObject(brush);
  EndPaint(hwnd, &ps);
  return 0;
}

class HeadlessPixels : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!hl::active()) GTEST_SKIP() << "needs LYRICS_DISPLAY=headless";
    red_.on(WM_PAINT, [](HWND h, WPARAM, LPARAM) { return fill_client(h, RGB(255, 0, 0)); });
    blue_.on(WM_PAINT, [](HWND h, WPARAM, LPARAM) { return fill_client(h, RGB(0, 0, 255)); });
    top_ = red_.top({100, 100, 400, 300});
    child_ = blue_.child(top_, {10, 20, 60, 50});
    hl::run_until_idle();
  }

  Recorder red_, blue_;
  HWND top_ = nullptr, child_ = nullptr;
};

TEST_F(HeadlessPixels, ReadPixelUsesClientCoordinates) {
  EXPECT_EQ(hl::read_pixel(top_, 0, 0), RGB(255, 0, 0));
  EXPECT_EQ(hl::read_pixel(top_, 10, 20), RGB(0, 0, 255));
  EXPECT_EQ(hl::read_pixel(top_, 9, 20), RGB(255, 0, 0));
  EXPECT_EQ(hl::read_pixel(child_, 0, 0), RGB(0, 0, 255));
  EXPECT_EQ(hl::read_pixel(child_, 49, 29), RGB(0, 0, 255));
  EXPECT_EQ(hl::read_pixel(child_, 50, 0), CLR_INVALID);
  EXPECT_EQ(hl::read_pixel(child_, -1, 0), CLR_INVALID);
  EXPECT_EQ(hl::read_pixel(reinterpret_cast<HWND>(0x5555), 0, 0), CLR_INVALID);
}

TEST_F(HeadlessPixels, SavePngCutsAChildOutOfItsTopLevel) {
  auto dir = std::filesystem::temp_directory_path() / ("lyr_png_" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  auto path = (dir / "child.png").string();
  ASSERT_TRUE(hl::save_png(child_, path));
  cairo_surface_t* png = cairo_image_surface_create_from_png(path.c_str());
  ASSERT_EQ(cairo_surface_status(png), CAIRO_STATUS_SUCCESS);
  EXPECT_EQ(cairo_image_surface_get_width(png), 50);
  EXPECT_EQ(cairo_image_surface_get_height(png), 30);
  cairo_surface_flush(png);
  auto* px = reinterpret_cast<const std::uint32_t*>(cairo_image_surface_get_data(png));
  EXPECT_EQ(px[0] & 0xFFFFFF, 0x0000FFu);
  cairo_surface_destroy(png);

  auto top_path = (dir / "top.png").string();
  ASSERT_TRUE(hl::save_png(top_, top_path));
  cairo_surface_t* whole = cairo_image_surface_create_from_png(top_path.c_str());
  RECT wr;
  GetWindowRect(top_, &wr);
  EXPECT_EQ(cairo_image_surface_get_width(whole), wr.right - wr.left);
  cairo_surface_destroy(whole);

  EXPECT_FALSE(hl::save_png(reinterpret_cast<HWND>(0x5555), (dir / "bad.png").string()));
  EXPECT_FALSE(std::filesystem::exists(dir / "bad.png"));
  EXPECT_FALSE(hl::save_png(top_, (dir / "missing-dir" / "x.png").string()));
  EXPECT_FALSE(std::filesystem::exists(dir / "missing-dir" / "x.png.partial"));
  std::filesystem::remove_all(dir);
}

}  // namespace
