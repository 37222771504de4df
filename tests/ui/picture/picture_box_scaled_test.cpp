// A picture box on a desktop at 200 %: a picture with more pixels than the logical box is
// scaled straight to the device pixels, so its detail survives.
#include <cairo.h>
#include <gtest/gtest.h>

#include "platform/winsys/surface_access.h"
#include "tests/ui/picture/picture_box_fixture.h"
#include "tests/ui/picture/picture_encoders.h"

namespace picture_box_test {
namespace {

namespace pt = lyr::picture::test;

class ScaledPictureBox : public PictureBoxTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(hl::set_scale(2.0));
    PictureBoxTest::SetUp();
  }
  void TearDown() override {
    PictureBoxTest::TearDown();
    hl::set_scale(1.0);
  }
  // Device pixel (x, y) of the parent's backing store, xRGB.
  std::uint32_t device_pixel(int x, int y) const {
    std::uint32_t p = 0;
    platform::winsys::with_surface(parent_, [&](cairo_surface_t* s) {
      const auto* row = reinterpret_cast<const std::uint32_t*>(cairo_image_surface_get_data(s) +
                                                               y * cairo_image_surface_get_stride(s));
      p = row[x] & 0xFFFFFF;
    });
    return p;
  }
};

// A 600 x 600 cover of 5-pixel black and white squares: at 360 x 360 device pixels the squares
// are 3 pixels wide and stay black and white; through a 180 x 180 picture they would blur grey.
TEST_F(ScaledPictureBox, ModesOneAndTwoUseTheSourcePixelsBeyondTheLogicalBox) {
  std::vector<std::uint32_t> squares(600 * 600);
  for (int y = 0; y < 600; ++y)
    for (int x = 0; x < 600; ++x) squares[y * 600 + x] = ((x / 5 + y / 5) % 2) ? 0xFFFFFFFF : 0xFF000000;
  for (int mode : {1, 2}) {
    ui::PictureBoxProperties p;
    p.mode = mode;
    p.picture = pt::write_png(600, 600, squares);
    ui::PictureBox* box = create(p);
    ASSERT_NE(box, nullptr);
    // The box's client starts at logical (20, 20): device (40, 40) to (400, 400).
    EXPECT_EQ(device_pixel(39, 200), 0x0A141Eu) << mode;
    EXPECT_EQ(device_pixel(400, 200), 0x0A141Eu) << mode;
    int pure = 0, all = 0;
    for (int y = 60; y < 380; ++y)
      for (int x = 60; x < 380; ++x, ++all) {
        const std::uint32_t g = device_pixel(x, y) & 0xFF;
        pure += g < 48 || g > 207;
      }
    EXPECT_GT(pure * 2, all) << "mode " << mode << ": " << pure << " of " << all;
    DestroyWindow(box->hwnd());
  }
}

}  // namespace
}  // namespace picture_box_test
