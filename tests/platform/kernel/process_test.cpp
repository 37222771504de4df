#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/api/kernel.h"
#include "platform/kernel/command_line.h"
#include "tests/platform/kernel/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using platform::kernel::split_command_line;
using Args = std::vector<std::string>;

TEST(CommandLine, QuotesAndBackslashes) {
  EXPECT_EQ(split_command_line(R"(prog a b)"), (Args{"prog", "a", "b"}));
  EXPECT_EQ(split_command_line(R"("C:\Program Files\x.exe" "one two" three)"),
            (Args{R"(C:\Program Files\x.exe)", "one two", "three"}));
  EXPECT_EQ(split_command_line(R"(p a\\\"b c\\"d e" f\g)"), (Args{"p", R"(a\"b)", R"(c\d e)", R"(f\g)"}));
  EXPECT_EQ(split_command_line(R"(p "a""b" "" x)"), (Args{"p", R"(a"b)", "", "x"}));
  EXPECT_EQ(split_command_line(R"(p \\\\"x y")"), (Args{"p", R"(\\x y)"}));
  EXPECT_EQ(split_command_line("  p\t\tq  "), (Args{"p", "q"}));
  EXPECT_EQ(split_command_line("   "), Args{});
  EXPECT_EQ(split_command_line(R"(p "unterminated arg)"), (Args{"p", "unterminated arg"}));
  // The program part takes backslashes literally, even before a quote.
  EXPECT_EQ(split_command_line(R"("C:\dir\"x)"), (Args{R"(C:\dir\)", "x"}));
}

TEST(CommandLine, DoubleByteTrailBackslashIsNoEscape) {
  // "\x95\x5C" is one character; its trail byte must not escape the quote that follows.
  EXPECT_EQ(split_command_line("p \"\x95\x5C\" x"), (Args{"p", "\x95\x5C", "x"}));
}

// A shell script that writes its arguments (after the first, the output file) one per line,
// then the show state it was given.
const char kEchoScript[] =
    "#!/bin/sh\n"
    "out=\"$1\"; shift\n"
    "tag=TAG\n"
    "{ echo \"$tag\"; for a in \"$@\"; do printf '%s\\n' \"$a\"; done; echo \"show=$LYRICS_SHOW_STATE\"; } > "
    "\"$out\"\n";

fs::path write_script(const fs::path& path, const std::string& tag) {
  std::string text = kEchoScript;
  text.replace(text.find("TAG"), 3, tag);
  { std::ofstream(path) << text; }
  fs::permissions(path, fs::perms::owner_all);
  return path;
}

struct RunResult {
  bool started = false;
  DWORD exit_code = 0;
  DWORD error = 0;
};

RunResult run(std::string command_line, const STARTUPINFOA* si_in = nullptr) {
  STARTUPINFOA si{};
  si.cb = sizeof si;
  if (si_in) si = *si_in;
  PROCESS_INFORMATION pi{};
  RunResult r;
  r.started =
      CreateProcessA(nullptr, command_line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi);
  if (!r.started) {
    r.error = GetLastError();
    return r;
  }
  EXPECT_EQ(WaitForInputIdle(pi.hProcess, 1000), 0u);
  EXPECT_EQ(WaitForSingleObject(pi.hProcess, 10000), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(pi.hThread, 0), WAIT_OBJECT_0);
  GetExitCodeProcess(pi.hProcess, &r.exit_code);
  EXPECT_TRUE(CloseHandle(pi.hProcess));
  EXPECT_TRUE(CloseHandle(pi.hThread));
  return r;
}

TEST(CreateProcess, ProgramDirectoryComesBeforePathAndArgumentsArrive) {
  fs::path program_dir = fs::read_symlink("/proc/self/exe").parent_path();
  std::string name = "kernelprobe" + std::to_string(getpid());
  kernel_test::TempDir path_dir;
  kernel_test::TempDir out_dir;
  write_script(path_dir.path() / name, "path");
  std::string old_path = std::getenv("PATH") ? std::getenv("PATH") : "";
  setenv("PATH", (path_dir.str() + ":" + old_path).c_str(), 1);

  std::string out = (out_dir.path() / "out.txt").string();
  // Only on PATH so far; "name.exe" finds "name".
  RunResult r = run(name + ".exe " + out + R"( "two words" a\"b)");
  ASSERT_TRUE(r.started) << r.error;
  EXPECT_EQ(kernel_test::read_file(out), "path\ntwo words\na\"b\nshow=\n");

  fs::path placed = write_script(program_dir / name, "progdir");
  r = run(name + " " + out);
  fs::remove(placed);
  setenv("PATH", old_path.c_str(), 1);
  ASSERT_TRUE(r.started) << r.error;
  EXPECT_EQ(kernel_test::read_file(out), "progdir\nshow=\n");
}

TEST(CreateProcess, ShowStateAndExitCode) {
  kernel_test::TempDir dir;
  fs::path script = write_script(dir.path() / "echo.sh", "x");
  std::string out = (dir.path() / "o.txt").string();
  STARTUPINFOA si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESHOWWINDOW;
  si.wShowWindow = 6;
  RunResult r = run(dir.program_form() + "\\echo.sh " + out, &si);
  ASSERT_TRUE(r.started) << r.error;
  EXPECT_EQ(kernel_test::read_file(out), "x\nshow=6\n");
  EXPECT_EQ(r.exit_code, 0u);

  dir.write("exit7.sh", "#!/bin/sh\nexit 7\n");
  fs::permissions(dir.path() / "exit7.sh", fs::perms::owner_all);
  r = run(dir.str() + "/exit7.sh");
  ASSERT_TRUE(r.started);
  EXPECT_EQ(r.exit_code, 7u);
}

TEST(CreateProcess, MissingProgramFails) {
  RunResult r = run("kernel_test_no_such_program_at_all.exe arg");
  EXPECT_FALSE(r.started);
  EXPECT_EQ(r.error, ERROR_FILE_NOT_FOUND);
  kernel_test::TempDir dir;
  dir.write("plain.txt", "not executable");
  r = run(dir.str() + "/plain.txt");
  EXPECT_FALSE(r.started);
  PROCESS_INFORMATION pi{};
  EXPECT_FALSE(CreateProcessA(nullptr, nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, nullptr, &pi));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

TEST(CreateProcess, RunningChildTerminateAndCurrentDirectory) {
  kernel_test::TempDir dir;
  dir.write("pwd.sh", "#!/bin/sh\npwd > pwd.txt\nexec sleep 30\n");
  fs::permissions(dir.path() / "pwd.sh", fs::perms::owner_all);
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  std::string line = dir.program_form() + "\\pwd.sh";
  ASSERT_TRUE(CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                             dir.program_form().c_str(), &si, &pi));
  DWORD code = 0;
  EXPECT_TRUE(GetExitCodeProcess(pi.hProcess, &code));
  EXPECT_EQ(code, STILL_ACTIVE);
  EXPECT_EQ(WaitForSingleObject(pi.hProcess, 50), WAIT_TIMEOUT);
  HANDLE both[] = {pi.hProcess, pi.hThread};
  EXPECT_EQ(WaitForMultipleObjects(2, both, FALSE, 10), WAIT_TIMEOUT);
  // Wait for the script to write its directory before stopping it.
  for (int i = 0; i < 500 && !fs::exists(dir.path() / "pwd.txt"); ++i) Sleep(10);
  Sleep(50);
  EXPECT_TRUE(TerminateProcess(pi.hProcess, 42));
  EXPECT_EQ(WaitForMultipleObjects(2, both, TRUE, 10000), WAIT_OBJECT_0);
  EXPECT_TRUE(GetExitCodeProcess(pi.hProcess, &code));
  EXPECT_EQ(code, 42u);
  EXPECT_TRUE(GetExitCodeThread(pi.hThread, &code));
  EXPECT_EQ(code, 42u);
  EXPECT_FALSE(GetExitCodeThread(pi.hProcess, &code));  // a process is no thread
  EXPECT_FALSE(TerminateProcess(pi.hProcess, 1));
  EXPECT_EQ(kernel_test::read_file(dir.path() / "pwd.txt"), fs::canonical(dir.path()).string() + "\n");
  CloseHandle(pi.hProcess);
  CloseHandle(pi.hThread);
  EXPECT_FALSE(GetExitCodeProcess(pi.hProcess, &code));
  EXPECT_EQ(WaitForInputIdle(pi.hProcess, 0), WAIT_FAILED);
}

TEST(ExitProcess, FlushesStdioAndEndsWithTheCode) {
  EXPECT_EXIT(
      {
        std::printf("flushed");
        ExitProcess(3);
      },
      ::testing::ExitedWithCode(3), "");
}

}  // namespace
