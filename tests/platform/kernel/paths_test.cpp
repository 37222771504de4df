#include "platform/kernel/paths.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>

#include "platform/api/kernel.h"
#include "tests/platform/kernel/temp_dir.h"

namespace {

using platform::paths::to_program;
using platform::paths::to_system;

TEST(Paths, ToSystemConvertsSeparatorsAndDrives) {
  EXPECT_EQ(to_system("a\\b/c\\d.txt"), "a/b/c/d.txt");
  EXPECT_EQ(to_system("C:\\music\\x.lrc"), "/music/x.lrc");
  EXPECT_EQ(to_system("d:/music"), "/music");
  EXPECT_EQ(to_system("C:rel\\x"), "rel/x");
  EXPECT_EQ(to_system("\\\\"), "//");
  EXPECT_EQ(to_system(""), "");
  // Not a drive: a colon later in the name is kept.
  EXPECT_EQ(to_system("ab:c"), "ab:c");
}

TEST(Paths, ToSystemKeepsDoubleByteCharactersWhoseTrailByteIsABackslash) {
  // "\x95\x5C" is one GB18030 character (U+661E) whose second byte is 0x5C.
  std::string program = "dir\\\x95\x5C.txt";
  std::string system = to_system(program);
  EXPECT_EQ(system, "dir/\xE6\x98\x9E.txt");
  EXPECT_EQ(to_program(system), program);
}

TEST(Paths, ToProgramUsesBackslashesAndTheAnsiCodePage) {
  EXPECT_EQ(to_program("/home/u/a.txt"), "\\home\\u\\a.txt");
  // "歌词" in UTF-8 becomes its GBK bytes.
  EXPECT_EQ(to_program("/t/\xE6\xAD\x8C\xE8\xAF\x8D"), "\\t\\\xB8\xE8\xB4\xCA");
}

TEST(ModuleFileName, ReportsTheExecutableWithBackslashes) {
  char buf[MAX_PATH * 4];
  DWORD n = GetModuleFileNameA(nullptr, buf, sizeof buf);
  std::string expected = std::filesystem::read_symlink("/proc/self/exe").string();
  for (char& c : expected)
    if (c == '/') c = '\\';
  ASSERT_EQ(n, expected.size());
  EXPECT_EQ(std::string(buf), expected);
  EXPECT_EQ(GetModuleFileNameA(GetModuleHandleA(nullptr), buf, sizeof buf), n);
}

TEST(ModuleFileName, TruncatesTerminatesAndReportsTheBufferSize) {
  char full[PATH_MAX];
  DWORD n = GetModuleFileNameA(nullptr, full, sizeof full);
  ASSERT_GT(n, 5u);
  char small[6];
  std::memset(small, 'x', sizeof small);
  SetLastError(0);
  EXPECT_EQ(GetModuleFileNameA(nullptr, small, 5), 5u);
  EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
  EXPECT_EQ(std::string(small), std::string(full, 4));
  EXPECT_EQ(small[5], 'x');  // nothing written past the given size
  // Exactly the length: no room for the terminator, still truncated.
  std::string exact(n, 'x');
  EXPECT_EQ(GetModuleFileNameA(nullptr, exact.data(), n), n);
  EXPECT_EQ(exact.back(), '\0');
  EXPECT_EQ(GetModuleFileNameA(nullptr, small, 0), 0u);
}

TEST(CurrentDirectory, SetAndGetInProgramForm) {
  kernel_test::TempDir dir;
  std::filesystem::path before = std::filesystem::current_path();
  ASSERT_TRUE(SetCurrentDirectoryA(dir.program_form().c_str()));
  char buf[PATH_MAX];
  DWORD n = GetCurrentDirectoryA(sizeof buf, buf);
  std::string expected = std::filesystem::canonical(dir.path()).string();
  for (char& c : expected)
    if (c == '/') c = '\\';
  EXPECT_EQ(std::string(buf, n), expected);
  // Too small: the size needed with the terminator, nothing copied.
  char tiny[2] = {'q', 'q'};
  EXPECT_EQ(GetCurrentDirectoryA(2, tiny), n + 1);
  EXPECT_EQ(tiny[0], 'q');

  SetLastError(0);
  EXPECT_FALSE(SetCurrentDirectoryA(""));
  EXPECT_FALSE(SetCurrentDirectoryA((dir.program_form() + "\\missing").c_str()));
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(GetCurrentDirectoryA(sizeof buf, buf), n);  // unchanged by the failures
  std::filesystem::current_path(before);
}

TEST(LastError, IsPerThread) {
  SetLastError(1234);
  DWORD seen_in_thread = 99;
  std::thread([&] {
    seen_in_thread = GetLastError();
    SetLastError(42);
  }).join();
  EXPECT_EQ(seen_in_thread, 0u);
  EXPECT_EQ(GetLastError(), 1234u);
}

}  // namespace
