// Cursors and icons: the system ones, the program's registered resources, SetCursor/ShowCursor
// and the cursor request of the default window procedure.
#include <gtest/gtest.h>

#include <vector>

#include "platform/api.h"
#include "platform/winsys/cursor_handles.h"
#include "platform/winsys/headless.h"
#include "platform/winsys/resources.h"
#include "tests/support/headless_recorder.h"
#include "tests/support/headless_test.h"

namespace hl = platform::headless;
namespace cur = platform::winsys::cursors;
namespace res = platform::winsys::resources;
using lyr::test::Recorder;

namespace {

const HINSTANCE kProgram = reinterpret_cast<HINSTANCE>(0x400000);

class Cursors : public lyr::test::HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    previous_ = GetCursor();
  }
  void TearDown() override {
    SetCursor(previous_);
    res::remove_all();
    HeadlessTest::TearDown();
  }
  HCURSOR previous_ = nullptr;
};

// Straight-alpha ARGB of pixel (x, y) of an icon.
std::uint32_t icon_pixel(HICON icon, int x, int y) {
  cur::ArgbImage img;
  if (!cur::icon_pixels(icon, img) || x >= img.width || y >= img.height) return 0xDEADBEEF;
  return img.pixels[static_cast<std::size_t>(y * img.width + x)];
}

TEST_F(Cursors, SystemCursorsAreSharedAndDistinct) {
  LPCSTR ids[] = {IDC_ARROW,   IDC_IBEAM,    IDC_WAIT,     IDC_CROSS,       IDC_UPARROW,
                  IDC_SIZE,    IDC_SIZENWSE, IDC_SIZENESW, IDC_SIZEWE,      IDC_SIZENS,
                  IDC_SIZEALL, IDC_NO,       IDC_HAND,     IDC_APPSTARTING, IDC_HELP};
  std::vector<HCURSOR> seen;
  for (LPCSTR id : ids) {
    HCURSOR c = LoadCursorA(nullptr, id);
    ASSERT_TRUE(c) << "system cursor " << reinterpret_cast<ULONG_PTR>(id);
    EXPECT_EQ(LoadCursorA(nullptr, id), c) << "system cursors are shared";
    seen.push_back(c);
  }
  EXPECT_NE(seen[0], seen[1]);
  EXPECT_EQ(LoadCursorA(nullptr, MAKEINTRESOURCEA(1)), nullptr);
  EXPECT_EQ(LoadCursorA(nullptr, "ARROW"), nullptr);
  EXPECT_EQ(LoadCursorA(nullptr, nullptr), nullptr);

  cur::ArgbImage arrow;
  ASSERT_TRUE(cur::icon_pixels(LoadCursorA(nullptr, IDC_ARROW), arrow));
  EXPECT_EQ(arrow.width, 32);
  EXPECT_EQ(arrow.hotspot.x, 1);
  EXPECT_EQ(arrow.hotspot.y, 1);
  EXPECT_EQ(icon_pixel(LoadCursorA(nullptr, IDC_ARROW), 30, 30) >> 24, 0u) << "outside the arrow is clear";
}

TEST_F(Cursors, SystemIconsAreDrawnInTheirColours) {
  HICON error = LoadIconA(nullptr, IDI_ERROR);
  HICON info = LoadIconA(nullptr, IDI_INFORMATION);
  HICON warn = LoadIconA(nullptr, IDI_WARNING);
  ASSERT_TRUE(error && info && warn && LoadIconA(nullptr, IDI_QUESTION) &&
              LoadIconA(nullptr, IDI_APPLICATION));
  EXPECT_EQ(LoadIconA(nullptr, IDI_HAND), error);
  auto red = [](std::uint32_t p) { return ((p >> 16) & 0xFF) > 150 && ((p >> 8) & 0xFF) < 100; };
  auto blue = [](std::uint32_t p) { return (p & 0xFF) > 150 && ((p >> 16) & 0xFF) < 120; };
  EXPECT_TRUE(red(icon_pixel(error, 5, 16))) << std::hex << icon_pixel(error, 5, 16);
  EXPECT_TRUE(blue(icon_pixel(info, 5, 16))) << std::hex << icon_pixel(info, 5, 16);
  EXPECT_EQ(icon_pixel(info, 16, 20) & 0xFFFFFF, 0xFFFFFFu) << "the white stem of the i";
  EXPECT_EQ(icon_pixel(warn, 1, 1) >> 24, 0u) << "the triangle's corner is clear";
  EXPECT_EQ(LoadIconA(nullptr, MAKEINTRESOURCEA(40000)), nullptr);
}

TEST_F(Cursors, ProgramResourcesNeedAnInstanceAndRegistration) {
  EXPECT_EQ(LoadCursorA(kProgram, MAKEINTRESOURCEA(1032)), nullptr);
  res::add_program_cursors();
  HCURSOR hand = LoadCursorA(kProgram, MAKEINTRESOURCEA(1032));
  HCURSOR drag = LoadCursorA(kProgram, MAKEINTRESOURCEA(2008));
  ASSERT_TRUE(hand && drag);
  EXPECT_NE(hand, drag);
  EXPECT_EQ(LoadCursorA(kProgram, "#1032"), hand);
  EXPECT_EQ(LoadCursorA(nullptr, MAKEINTRESOURCEA(1032)), nullptr) << "not a system cursor";
  ICONINFO ii{};
  ASSERT_TRUE(GetIconInfo(hand, &ii));
  EXPECT_FALSE(ii.fIcon);
  EXPECT_EQ(ii.xHotspot, 11u) << "the fingertip";
  EXPECT_EQ(ii.yHotspot, 1u);
  if (ii.hbmColor) DeleteObject(ii.hbmColor);
  if (ii.hbmMask) DeleteObject(ii.hbmMask);

  cur::ArgbImage image = cur::draw_system_icon(32516);
  ASSERT_TRUE(res::add_image(res::Type::icon, "DEFAULT_ICON", image));
  HICON icon = LoadIconA(kProgram, "default_icon");
  ASSERT_TRUE(icon) << "names compare without case";
  EXPECT_EQ(LoadImageA(kProgram, "DEFAULT_ICON", IMAGE_ICON, 0, 0, LR_DEFAULTSIZE | LR_SHARED), icon);
  HANDLE own = LoadImageA(kProgram, "DEFAULT_ICON", IMAGE_ICON, 32, 32, 0);
  ASSERT_TRUE(own);
  EXPECT_NE(own, icon) << "without LR_SHARED the caller gets its own copy";
  DestroyIcon(static_cast<HICON>(own));
  EXPECT_EQ(LoadIconA(kProgram, "MISSING"), nullptr);
  EXPECT_FALSE(res::add_image(res::Type::icon, "", image));
  EXPECT_FALSE(res::add_image(res::Type::icon, "EMPTY", cur::ArgbImage{}));

  ASSERT_TRUE(res::add_image(res::Type::bitmap, MAKEINTRESOURCEA(7), image));
  auto bmp = static_cast<HBITMAP>(LoadImageA(kProgram, MAKEINTRESOURCEA(7), IMAGE_BITMAP, 0, 0, 0));
  ASSERT_TRUE(bmp);
  BITMAP bm{};
  ASSERT_EQ(GetObjectA(bmp, sizeof bm, &bm), static_cast<int>(sizeof bm));
  EXPECT_EQ(bm.bmWidth, 32);
  DeleteObject(bmp);

  // Shared handles follow the registration: a replaced resource gives a new handle, a removed
  // one none at all.
  ASSERT_TRUE(res::add_image(res::Type::icon, "DEFAULT_ICON", cur::draw_system_icon(32513)));
  HICON replaced = LoadIconA(kProgram, "DEFAULT_ICON");
  EXPECT_NE(replaced, icon);
  EXPECT_EQ(icon_pixel(replaced, 5, 16), icon_pixel(LoadIconA(nullptr, IDI_ERROR), 5, 16));
  res::remove_all();
  EXPECT_EQ(LoadCursorA(kProgram, MAKEINTRESOURCEA(1032)), nullptr);
  EXPECT_EQ(LoadIconA(kProgram, "DEFAULT_ICON"), nullptr);
}

// A 2x2 32-bit icon file: directory, BITMAPINFOHEADER (double height), colours, AND mask.
std::vector<BYTE> tiny_icon_file() {
  std::vector<BYTE> f = {0, 0, 1, 0, 1,  0,          // reserved, type icon, one image
                         2, 2, 0, 0, 1,  0, 32, 0,   // 2x2, no palette, planes 1, 32 bpp
                         0, 0, 0, 0, 22, 0, 0,  0};  // size (patched below), offset 22
  std::vector<BYTE> img = {40, 0, 0, 0, 2, 0, 0, 0, 4, 0, 0, 0, 1, 0, 32, 0, 0, 0, 0, 0,
                           0,  0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,  0, 0, 0, 0, 0};
  // Bottom-up rows, BGRA: bottom row red, green; top row blue, white.
  const BYTE px[] = {0, 0, 255, 255, 0, 255, 0, 255, 255, 0, 0, 255, 255, 255, 255, 255};
  img.insert(img.end(), px, px + sizeof px);
  img.insert(img.end(), 8, 0);  // AND mask: two rows of 4 bytes, all opaque
  f[14] = static_cast<BYTE>(img.size());
  f.insert(f.end(), img.begin(), img.end());
  return f;
}

TEST_F(Cursors, IconFilesAreCheckedWhenRegistered) {
  auto file = tiny_icon_file();
  ASSERT_TRUE(res::add_file(res::Type::icon, "TINY", file));
  HICON tiny = LoadIconA(kProgram, "TINY");
  ASSERT_TRUE(tiny);
  cur::ArgbImage img;
  ASSERT_TRUE(cur::icon_pixels(tiny, img));
  EXPECT_EQ(img.width, 32) << "LoadIconA gives the system icon size";
  auto exact = static_cast<HICON>(LoadImageA(kProgram, "TINY", IMAGE_ICON, 2, 2, 0));
  ASSERT_TRUE(exact);
  ASSERT_TRUE(cur::icon_pixels(exact, img));
  DestroyIcon(exact);
  ASSERT_EQ(img.width, 2);
  EXPECT_EQ(img.pixels[0] & 0xFFFFFF, 0x0000FFu) << "top-left is blue";
  EXPECT_EQ(img.pixels[2] & 0xFFFFFF, 0xFF0000u) << "bottom-left is red";

  auto truncated = file;
  truncated.resize(30);
  EXPECT_FALSE(res::add_file(res::Type::icon, "BAD", truncated));
  auto wrong_offset = file;
  wrong_offset[18] = 200;
  EXPECT_FALSE(res::add_file(res::Type::icon, "BAD", wrong_offset));
  EXPECT_FALSE(res::add_file(res::Type::cursor, "BAD", file)) << "an icon file is not a cursor file";
  auto no_images = file;
  no_images[4] = 0;
  EXPECT_FALSE(res::add_file(res::Type::icon, "BAD", no_images));
  EXPECT_EQ(LoadIconA(kProgram, "BAD"), nullptr);
}

TEST_F(Cursors, SetCursorAndShowCursorDriveTheDisplay) {
  HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
  HCURSOR beam = LoadCursorA(nullptr, IDC_IBEAM);
  SetCursor(arrow);
  EXPECT_EQ(SetCursor(beam), arrow);
  EXPECT_EQ(GetCursor(), beam);
  EXPECT_EQ(hl::shown_cursor(), beam);
  EXPECT_EQ(SetCursor(reinterpret_cast<HCURSOR>(0x7777)), nullptr) << "not a cursor";
  EXPECT_EQ(GetCursor(), beam);

  EXPECT_EQ(ShowCursor(FALSE), -1);
  EXPECT_EQ(hl::shown_cursor(), nullptr);
  SetCursor(arrow);
  EXPECT_EQ(hl::shown_cursor(), nullptr) << "still hidden";
  EXPECT_EQ(ShowCursor(TRUE), 0);
  EXPECT_EQ(hl::shown_cursor(), arrow);
  EXPECT_TRUE(ClipCursor(nullptr));
}

TEST_F(Cursors, DefaultCursorRequestShowsTheClassCursor) {
  HCURSOR beam = LoadCursorA(nullptr, IDC_IBEAM);
  Recorder rec(0, beam);
  HWND top = rec.top({100, 100, 400, 300});
  SetCursor(LoadCursorA(nullptr, IDC_WAIT));
  hl::mouse_move(top, {20, 20});
  hl::run_until_idle();
  EXPECT_EQ(GetCursor(), beam);
  EXPECT_EQ(hl::shown_cursor(), beam);
}

}  // namespace
