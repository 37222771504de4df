#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <vector>

#include "platform/kernel/codepage.h"
#include "runtime/abi/service_table.h"
#include "runtime/host_app.h"
#include "runtime/messages.h"
#include "runtime/window_system.h"
#include "tests/runtime/test_image.h"
#include "tests/ui/main_window_template.h"
#include "ui/templates/window_collection.h"

namespace {

using namespace ui::templates;

std::int32_t entry_start_only(const runtime::ServiceTable& services) {
  services.numbered(runtime::kStartup, 0, 0, 0, 0, 0, 0);
  return 0;
}

class TemplateLoader : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("LYRICS_MESSAGEBOX", "default", 1);
    window_collection().clear();
    install_template_loader();
  }
  void TearDown() override {
    runtime::install_window_system(nullptr);
    window_collection().clear();
  }
};

TEST_F(TemplateLoader, StartUpFillsTheCollectionThroughTheSeam) {
  ui_test::MainWindowTemplate source;
  const std::vector<std::uint8_t> block = source.block();
  runtime_test::TestImage image;
  image.set_templates(block.data(), static_cast<std::uint32_t>(block.size()));
  image.set_code_base(&ui_test::main_window_code_base());
  runtime::HostApplication host(image.header(), entry_start_only);
  host.initialise();

  WindowCollection& c = window_collection();
  ASSERT_EQ(c.size(), 1u);
  const int w = c.find(ui_test::kMainWindowId);
  ASSERT_EQ(w, 0);
  EXPECT_EQ(c.window(0), source.window());
  // Runtime slots sit beside the records, one per unit, empty until the window is built.
  EXPECT_EQ(c.slots(0).unit_objects.size(), 13u);
  EXPECT_EQ(c.slots(0).cursors.size(), 13u);
  EXPECT_EQ(c.slots(0).menu_handles.size(), 13u);
  EXPECT_EQ(c.slots(0).native, nullptr);
  EXPECT_FALSE(c.slots(0).created);
  EXPECT_EQ(c.window(0).units[6].control().events[0].handler, ui_test::routine_at(ui_test::kSearchHandler));
  EXPECT_FALSE(c.last_load_error().has_value());
  host.exit();
}

TEST_F(TemplateLoader, EmptyBlockLoadsNothingAndStarts) {
  // Something loaded before must not survive as a stale window.
  ui_test::MainWindowTemplate source;
  ASSERT_TRUE(load_templates(source.block(), &ui_test::main_window_code_base()));
  ASSERT_EQ(window_collection().size(), 1u);
  EXPECT_TRUE(load_templates({}, nullptr));
  EXPECT_EQ(window_collection().size(), 0u);

  runtime_test::TestImage image;
  runtime::HostApplication host(image.header(), entry_start_only);
  host.initialise();
  EXPECT_TRUE(host.state().started);
  EXPECT_EQ(window_collection().size(), 0u);
  host.exit();
}

TEST_F(TemplateLoader, AFailedLoadLeavesNoTemplateBehind) {
  ui_test::MainWindowTemplate source;
  std::vector<std::uint8_t> block = source.block();
  ASSERT_TRUE(load_templates(block, &ui_test::main_window_code_base()));
  block.pop_back();
  EXPECT_FALSE(load_templates(block, &ui_test::main_window_code_base()));
  EXPECT_EQ(window_collection().size(), 0u);
  ASSERT_TRUE(window_collection().last_load_error().has_value());
}

TEST_F(TemplateLoader, TruncatedBlockEndsTheProgramWithTheLoadError) {
  ui_test::MainWindowTemplate source;
  const std::vector<std::uint8_t> block = source.block();
  runtime_test::TestImage image;
  image.set_templates(block.data(), static_cast<std::uint32_t>(block.size() - 1));
  image.set_code_base(&ui_test::main_window_code_base());
  EXPECT_EXIT(
      {
        runtime::HostApplication host(image.header(), entry_start_only);
        host.initialise();
      },
      ::testing::ExitedWithCode(255),
      ::testing::HasSubstr(platform::codepage::ansi_to_utf8(runtime::messages::kTemplateLoadFailed)));
}

TEST_F(TemplateLoader, UnknownHandlerOffsetEndsTheProgramWithTheLoadError) {
  ui_test::MainWindowTemplate source;
  const std::vector<std::uint8_t> block = source.block();
  static const runtime::CodeBase empty{nullptr, 0};
  runtime_test::TestImage image;
  image.set_templates(block.data(), static_cast<std::uint32_t>(block.size()));
  image.set_code_base(&empty);
  EXPECT_EXIT(
      {
        runtime::HostApplication host(image.header(), entry_start_only);
        host.initialise();
      },
      ::testing::ExitedWithCode(255),
      ::testing::HasSubstr(platform::codepage::ansi_to_utf8(runtime::messages::kTemplateLoadFailed)));
}

}  // namespace
