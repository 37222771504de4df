// This program's main window built from its template, with its creation handler switching the
// styles on as the program does: the button, the edit boxes and the group box are drawn by the
// library, and the window is saved as a PNG in the build folder.
#include <array>
#include <filesystem>
#include <memory>

#include "libs/visualstyle/visual_style_library.h"
#include "runtime/abi/event_handler.h"
#include "runtime/service_table.h"
#include "tests/libs/visualstyle/style_fixture.h"
#include "tests/ui/main_window_template.h"
#include "tests/ui/support/ui_host.h"
#include "ui/listview/extended_library.h"
#include "ui/windows/window_builder.h"

namespace vs_test {
namespace {

namespace vs = libs::visualstyle;

// Library table of the host: core (0), extended interface (1), visual styles (2).
constexpr std::int32_t kVisualStyleLibrary = 2;
constexpr std::size_t kMultiLineEdit = 5, kSearchButton = 6, kArtistEdit = 7, kNameEdit = 8, kGroupBox = 12;

runtime::ArgRecord created_result{};

// The window-created handler: SetVisualStyle(2) through the call service.
runtime::HandlerResult window_created(const std::uint64_t*, std::int32_t) {
  runtime::ArgRecord style{2, 0, runtime::tag::kInt};
  created_result = runtime::service_table().call_library(
      kVisualStyleLibrary, vs::visual_style_library_record().commands[0], 1, &style);
  return runtime::returns_nothing();
}

const runtime::CodeBase& code_base() {
  static const auto code = ui_test::MainWindowCodeBase::quiet_except(
      {{ui_test::kWindowCreatedHandler, ui_test::as_routine(&window_created)}});
  return code.base();
}

class MainWindowLook : public ::testing::Test {
 protected:
  void SetUp() override {
    created_result = {};
    host_ = std::make_unique<ui_test::UiHost>(
        template_.block(), &code_base(),
        std::vector<runtime::LibraryRecord>{ui::listview::extended_library_record(),
                                            vs::visual_style_library_record()});
    ASSERT_TRUE(ui::load_window(ui_test::kMainWindowId));
    ui_test::pump();
  }
  void TearDown() override {
    vs::set_visual_style(0);
    host_.reset();
  }

  static HWND native(std::size_t unit) {
    ui::Unit* u = ui::live_unit(0, unit);
    return u != nullptr ? u->hwnd() : nullptr;
  }

  ui_test::MainWindowTemplate template_;
  std::unique_ptr<ui_test::UiHost> host_;
};

TEST_F(MainWindowLook, CreationHandlerStylesTheButtonEditsAndGroupBoxInStyleTwo) {
  EXPECT_EQ(created_result.lo, 1u);
  EXPECT_EQ(created_result.tag, runtime::tag::kInt);
  EXPECT_EQ(vs::style_number(), 2);
  for (std::size_t unit : {kMultiLineEdit, kSearchButton, kArtistEdit, kNameEdit, kGroupBox})
    EXPECT_TRUE(vs::is_styled(native(unit))) << unit;
  EXPECT_FALSE(vs::is_styled(native(11))) << "the list view is left alone";

  const std::string png = std::string(VS_PICTURE_DIR) + "/visual_style_main_window.png";
  std::filesystem::remove(png);
  ASSERT_TRUE(platform::headless::save_png(ui::window_native(0), png));
  EXPECT_GT(std::filesystem::file_size(png), 1000u);

  HWND button = native(kSearchButton);
  EXPECT_TRUE(same_colour(window_pixel(button, 1, 24), vs::button_frame_colour(2)));
  EXPECT_TRUE(same_colour(window_pixel(button, 0, 24), vs::button_face()));
  EXPECT_TRUE(same_colour(window_pixel(button, 2, 2), vs::button_frame_colour(2)));
  for (std::size_t unit : {kMultiLineEdit, kArtistEdit, kNameEdit}) {
    HWND edit = native(unit);
    RECT r{};
    GetWindowRect(edit, &r);
    EXPECT_TRUE(same_colour(window_pixel(edit, 0, 10), vs::edit_frame_colour(2))) << unit;
    EXPECT_TRUE(same_colour(window_pixel(edit, r.right - r.left - 1, 10), vs::edit_frame_colour(2))) << unit;
    EXPECT_TRUE(same_colour(window_pixel(edit, 1, 10), vs::window_colour())) << unit;
  }
  HWND group = native(kGroupBox);
  EXPECT_TRUE(same_colour(window_pixel(group, 0, 100), vs::kGroupFrameColour));
  EXPECT_TRUE(same_colour(window_pixel(group, 185, 100), vs::kGroupFrameColour));
  EXPECT_TRUE(same_colour(window_pixel(group, 90, 197), vs::kGroupFrameColour));
}

TEST_F(MainWindowLook, ClosingTheStyledWindowLeavesNoRecord) {
  ASSERT_FALSE(vs::recorded_windows().empty());
  DestroyWindow(ui::window_native(0));
  ui_test::pump();
  EXPECT_TRUE(vs::recorded_windows().empty());
}

}  // namespace
}  // namespace vs_test
