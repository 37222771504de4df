// The core library record as the program image puts it together: commands by their table row,
// the type slots, and the notify routine whose callback the commands and the object types use.
#include "app/core_library.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/callback.h"
#include "tests/commands/command_call.h"

namespace {

using namespace commands_test;

// Compiled code calls commands by row (counted from 1 in the table, from 0 here).
runtime::CommandRoutine row(std::size_t n) {
  return app::core_commands()[n - 1];
}

// Start-up hands the runtime's own callback over; these tests call the commands without one.
class CoreLibrary : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(app::core_library_notify(1, reinterpret_cast<std::intptr_t>(&runtime::runtime_callback), 0), 0);
  }
};

TEST_F(CoreLibrary, RowsServeTheirCommands) {
  const runtime::LibraryRecord& r = app::core_library_record();
  ASSERT_EQ(r.command_count, app::kCoreCommandCount);
  ASSERT_EQ(r.commands, app::core_commands().data());
  for (std::size_t n = 1; n <= app::kCoreCommandCount; ++n) EXPECT_NE(row(n), nullptr) << n;

  EXPECT_EQ(call_text(row(2), {integer(7)}), "7");
  EXPECT_EQ(call_texts(row(13), {text("a,b")}), (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(call_integer(row(14), {text("abc")}), 3);
  EXPECT_EQ(call_integer(row(15), {text("abc"), text("c")}), 3);
  EXPECT_EQ(call_text(row(16), {text("abc"), integer(2), integer(1)}), "b");
}

TEST_F(CoreLibrary, TypeSlotsHoldTheUnitsAndTheAutomationTypes) {
  const runtime::LibraryRecord& r = app::core_library_record();
  ASSERT_EQ(r.type_count, 51u);
  EXPECT_STREQ(r.types[0].english_name, "window");
  EXPECT_STREQ(r.types[2].english_name, "menu");
  EXPECT_EQ(r.types[1].name, nullptr) << "unused slots stay empty";
  EXPECT_STREQ(r.types[47].name, "\xB6\xD4\xCF\xF3");          // 对象
  EXPECT_STREQ(r.types[48].name, "\xB1\xE4\xCC\xE5\xD0\xCD");  // 变体型
  EXPECT_EQ(r.flags, 0xC0000001u);
}

std::vector<std::int32_t> fake_runtime_codes;

std::intptr_t fake_runtime(std::int32_t code, std::intptr_t arg1, std::intptr_t arg2) {
  fake_runtime_codes.push_back(code);
  if (code == runtime::callback::kProgramDirectory) return reinterpret_cast<std::intptr_t>("C:\\lyrics");
  return runtime::runtime_callback(code, arg1, arg2);
}

TEST_F(CoreLibrary, NotifyHandsTheCallbackToTheCommandsAndTheObjectTypes) {
  const runtime::LibraryRecord& r = app::core_library_record();
  fake_runtime_codes.clear();
  ASSERT_EQ(r.notify(1, reinterpret_cast<std::intptr_t>(&fake_runtime), 0), 0);
  EXPECT_EQ(fake_runtime_codes, std::vector<std::int32_t>{runtime::callback::kInstallObjectRelease})
      << "the object types install their release as soon as they have the callback";
  EXPECT_EQ(call_text(row(17), {}), "C:\\lyrics");
  EXPECT_EQ(r.notify(6, 0, 0), -1) << "the core library holds nothing to release";
  ASSERT_EQ(r.notify(1, reinterpret_cast<std::intptr_t>(&runtime::runtime_callback), 0), 0);
}

}  // namespace
