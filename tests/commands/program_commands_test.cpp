// MessageBox answered by the headless default button, and RunProgram with real programs.
#include "commands/program_commands.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/api/dialogs.h"
#include "tests/commands/command_call.h"
#include "tests/runtime/test_image.h"

namespace {

using namespace commands_test;

class MessageBoxCommand : public ::testing::Test {
 protected:
  void SetUp() override { setenv("LYRICS_MESSAGEBOX", "default", 1); }

  std::int32_t show(std::vector<runtime::ArgRecord> args) {
    ::testing::internal::CaptureStderr();
    const std::int32_t button = call_integer(&commands::message_box_command, std::move(args));
    shown_ = ::testing::internal::GetCapturedStderr();
    return button;
  }
  std::string shown_;
};

TEST_F(MessageBoxCommand, ShowsTheContentUnderTheDefaultTitle) {
  EXPECT_EQ(show({integer(-5), integer(MB_ICONINFORMATION)}), 0);
  EXPECT_EQ(shown_, "[MessageBox] " + runtime_test::utf8("\xD0\xC5\xCF\xA2\xA3\xBA") + "\n-5\n");
  EXPECT_EQ(show({text("\xCF\xC2\xD4\xD8"), integer(MB_ICONWARNING), text("\xBE\xAF\xB8\xE6")}), 0);
  EXPECT_EQ(shown_, "[MessageBox] " + runtime_test::utf8("\xBE\xAF\xB8\xE6") + "\n" +
                        runtime_test::utf8("\xCF\xC2\xD4\xD8") + "\n");
  const std::uint8_t bytes[] = {1, 0, 0, 0, 1, 0, 0, 0, 'x'};
  EXPECT_EQ(show({of_pointer(runtime::tag::kByteSet, bytes), omitted(), text("t")}), 0);
  EXPECT_EQ(shown_, "[MessageBox] t\n\n") << "a byte set shows as the empty text";
  show({logical(true), omitted(), text("t")});
  EXPECT_EQ(shown_, "[MessageBox] t\n" + runtime_test::utf8("\xD5\xE6") + "\n");
}

TEST_F(MessageBoxCommand, AnswersMapToButtonNumbers) {
  struct Case {
    UINT style;
    std::int32_t button;
  } cases[] = {
      {MB_OKCANCEL | MB_DEFBUTTON2, 1},
      {MB_ABORTRETRYIGNORE, 2},
      {MB_ABORTRETRYIGNORE | MB_DEFBUTTON2, 3},
      {MB_ABORTRETRYIGNORE | MB_DEFBUTTON3, 4},
      {MB_YESNO, 5},
      {MB_YESNOCANCEL | MB_DEFBUTTON2, 6},
      {MB_CANCELTRYCONTINUE | MB_DEFBUTTON2, 0},  // try again has no number of its own
      {MB_SYSTEMMODAL | MB_YESNO, 5},
  };
  for (const Case& c : cases)
    EXPECT_EQ(show({text("?"), integer(static_cast<std::int32_t>(c.style))}), c.button) << c.style;
}

class RunProgramCommand : public ::testing::Test {
 protected:
  std::filesystem::path out_ = std::filesystem::path(::testing::TempDir()) / "run_program_out.txt";
  void SetUp() override { std::filesystem::remove(out_); }
  void TearDown() override { std::filesystem::remove(out_); }

  // A shell that writes the show state it was handed into the output file.
  std::string report_show_state(const char* before = "") const {
    return std::string("sh -c \"") + before + "echo $LYRICS_SHOW_STATE > '" + out_.string() + "'\"";
  }
  std::string output() const { return runtime_test::read_file(out_.string()); }
};

TEST_F(RunProgramCommand, AMissingProgramAnswersFalseAndShowsNothing) {
  ::testing::internal::CaptureStderr();
  runtime::ArgRecord result = call(&commands::run_program_command, {text("no-such-program-anywhere --x")});
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
  EXPECT_EQ(result.tag, runtime::tag::kBool);
  EXPECT_EQ(result.lo, 0u);
  EXPECT_EQ(call_integer(&commands::run_program_command, {text("")}), 0);
  EXPECT_EQ(call_integer(&commands::run_program_command, {}), 0);
}

TEST_F(RunProgramCommand, WaitingReturnsOnlyAfterTheProgramEnded) {
  const std::string line = report_show_state("sleep 0.3; ");
  EXPECT_EQ(call_integer(&commands::run_program_command, {text(line.c_str()), logical(true)}), 1);
  EXPECT_EQ(output(), "1\n") << "written before the call came back; style 2 is shown normally";
}

TEST_F(RunProgramCommand, WindowStylesSelectShowStatesAndAreClamped) {
  const std::string line = report_show_state();
  const struct {
    std::int32_t style;
    const char* shown;
  } cases[] = {{1, "0\n"}, {3, "2\n"}, {4, "3\n"}, {5, "4\n"}, {6, "6\n"}, {-4, "0\n"}, {99, "6\n"}};
  for (const auto& c : cases) {
    ASSERT_EQ(
        call_integer(&commands::run_program_command, {text(line.c_str()), logical(true), integer(c.style)}),
        1);
    EXPECT_EQ(output(), c.shown) << c.style;
  }
}

}  // namespace
