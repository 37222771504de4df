// Controls on a desktop at 200 %: placed in logical pixels, drawn at device resolution.
#include <cstdlib>
#include <string_view>

#include "tests/platform/controls/box_driver.h"
#include "tests/platform/controls/controls_fixture.h"

namespace controls_test {
namespace {

namespace hl = platform::headless;

class ScaledControls : public ControlsTest {
 protected:
  void SetUp() override {
    unsetenv("LYRICS_MESSAGEBOX");
    ASSERT_TRUE(hl::set_scale(2.0));
    ControlsTest::SetUp();
  }
  void TearDown() override {
    ControlsTest::TearDown();
    hl::set_scale(1.0);
  }
};

TEST_F(ScaledControls, TheMessageBoxIsCentredOnItsOwnerAndDrawnAtTwiceItsSize) {
  RECT owner{}, shown{}, client{};
  SIZE device{};
  BoxDriver driver({[&](HWND box) {
    GetWindowRect(parent_, &owner);
    GetWindowRect(box, &shown);
    GetClientRect(box, &client);
    device = hl::client_device_size(box);
    hl::key_press(VK_RETURN);
  }});
  EXPECT_EQ(MessageBoxA(parent_, "scaled", "box", MB_OKCANCEL), IDOK);
  ASSERT_EQ(driver.steps_run(), 1u);
  EXPECT_NEAR((shown.left + shown.right) / 2, (owner.left + owner.right) / 2, 1);
  EXPECT_NEAR((shown.top + shown.bottom) / 2, (owner.top + owner.bottom) / 2, 1);
  EXPECT_EQ(device.cx, 2 * client.right);
  EXPECT_EQ(device.cy, 2 * client.bottom);
}

}  // namespace
}  // namespace controls_test
