#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "platform/api/kernel.h"
#include "platform/kernel/wildcard.h"
#include "tests/platform/kernel/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using platform::kernel::wildcard_match;

TEST(Wildcard, StarsQuestionMarksAndCase) {
  EXPECT_TRUE(wildcard_match("*.lrc", "Song - Singer.LRC"));
  EXPECT_FALSE(wildcard_match("*.lrc", "song.lrc.bak"));
  EXPECT_TRUE(wildcard_match("a?c", "ABC"));
  EXPECT_FALSE(wildcard_match("a?c", "ac"));
  EXPECT_TRUE(wildcard_match("*", ""));
  EXPECT_TRUE(wildcard_match("*.*", "noext"));
  EXPECT_TRUE(wildcard_match("*a*b*c", "xxaYYbZZbc"));
  EXPECT_FALSE(wildcard_match("*a*b*c", "xxaYYbZZb"));
  // "?" takes a whole double-byte character.
  EXPECT_TRUE(wildcard_match("?.txt", "\xB8\xE8.txt"));
  EXPECT_FALSE(wildcard_match("??.txt", "\xB8\xE8.txt"));
  // Case folding applies to ASCII letters only: the second byte of a character stays exact.
  EXPECT_FALSE(wildcard_match("\xB8\xC8", "\xB8\xE8"));
}

std::vector<std::string> names_of(const std::string& pattern, std::vector<DWORD>* attributes = nullptr) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA data;
  HANDLE h = FindFirstFileA(pattern.c_str(), &data);
  if (h == INVALID_HANDLE_VALUE) return names;
  do {
    names.emplace_back(data.cFileName);
    if (attributes) attributes->push_back(data.dwFileAttributes);
    EXPECT_EQ(data.cAlternateFileName[0], '\0');
  } while (FindNextFileA(h, &data));
  EXPECT_EQ(GetLastError(), ERROR_NO_MORE_FILES);
  EXPECT_TRUE(FindClose(h));
  return names;
}

TEST(FindFile, FiltersByPatternAndListsDotEntries) {
  kernel_test::TempDir dir;
  dir.write("b.lrc", "12345");
  dir.write("A.LRC", "");
  dir.write("notes.txt", "x");
  fs::create_directory(dir.path() / "sub");
  std::string base = dir.program_form() + "\\";
  EXPECT_EQ(names_of(base + "*.lrc"), (std::vector<std::string>{"A.LRC", "b.lrc"}));
  EXPECT_EQ(names_of(base + "*"),
            (std::vector<std::string>{".", "..", "A.LRC", "b.lrc", "notes.txt", "sub"}));
  EXPECT_EQ(names_of(dir.str() + "/?otes.*"), (std::vector<std::string>{"notes.txt"}));
  // A name without wildcards matches regardless of case and reports the name on disk.
  EXPECT_EQ(names_of(base + "NOTES.TXT"), (std::vector<std::string>{"notes.txt"}));
  EXPECT_EQ(names_of(base + "sub"), (std::vector<std::string>{"sub"}));
}

TEST(FindFile, AttributesSizesAndTimes) {
  kernel_test::TempDir dir;
  dir.write("data.bin", std::string(70000, 'z'));
  dir.write(".hidden", "h");
  dir.write("locked.txt", "r");
  fs::permissions(dir.path() / "locked.txt", fs::perms::owner_read);
  fs::create_directory(dir.path() / "folder");

  WIN32_FIND_DATAA d;
  HANDLE h = FindFirstFileA((dir.program_form() + "\\data.bin").c_str(), &d);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  EXPECT_EQ(d.dwFileAttributes, FILE_ATTRIBUTE_ARCHIVE);
  EXPECT_EQ(d.nFileSizeLow, 70000u);
  EXPECT_EQ(d.nFileSizeHigh, 0u);
  // Written just now: the FILETIME is within a day of the current time.
  struct stat st {};
  stat((dir.path() / "data.bin").c_str(), &st);
  unsigned long long ticks = (static_cast<unsigned long long>(d.ftLastWriteTime.dwHighDateTime) << 32) |
                             d.ftLastWriteTime.dwLowDateTime;
  EXPECT_EQ(ticks / 10000000ULL - 11644473600ULL, static_cast<unsigned long long>(st.st_mtim.tv_sec));
  FindClose(h);

  std::vector<DWORD> attrs;
  std::vector<std::string> names = names_of(dir.str() + "/*", &attrs);
  ASSERT_EQ(names, (std::vector<std::string>{".", "..", ".hidden", "data.bin", "folder", "locked.txt"}));
  EXPECT_EQ(attrs[0], FILE_ATTRIBUTE_DIRECTORY);
  EXPECT_EQ(attrs[2], FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN);
  EXPECT_EQ(attrs[4], FILE_ATTRIBUTE_DIRECTORY);
  EXPECT_EQ(attrs[5], FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY);
  EXPECT_EQ(GetFileAttributesA((dir.program_form() + "\\folder").c_str()), FILE_ATTRIBUTE_DIRECTORY);
}

TEST(FindFile, ErrorsAndHandleChecks) {
  kernel_test::TempDir dir;
  WIN32_FIND_DATAA d;
  SetLastError(0);
  EXPECT_EQ(FindFirstFileA((dir.program_form() + "\\*.none").c_str(), &d), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(FindFirstFileA((dir.program_form() + "\\missing.txt").c_str(), &d), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(FindFirstFileA((dir.program_form() + "\\nodir\\*").c_str(), &d), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
  EXPECT_EQ(FindFirstFileA(nullptr, &d), INVALID_HANDLE_VALUE);

  dir.write("one", "1");
  HANDLE h = FindFirstFileA((dir.str() + "/one").c_str(), &d);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(FindNextFileA(h, &d));
  EXPECT_EQ(GetLastError(), ERROR_NO_MORE_FILES);
  EXPECT_TRUE(FindClose(h));
  EXPECT_FALSE(FindClose(h));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  EXPECT_FALSE(FindNextFileA(h, &d));
  EXPECT_FALSE(FindClose(INVALID_HANDLE_VALUE));
  // An event handle is no search handle.
  HANDLE e = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  EXPECT_FALSE(FindNextFileA(e, &d));
  EXPECT_FALSE(FindClose(e));
  EXPECT_TRUE(CloseHandle(e));
}

TEST(FindFile, ChineseNamesComeBackInTheAnsiCodePage) {
  kernel_test::TempDir dir;
  dir.write("\xE6\xAD\x8C\xE8\xAF\x8D.lrc", "[00:00]");  // "歌词.lrc" on disk, UTF-8
  std::vector<std::string> names = names_of(dir.program_form() + "\\*.lrc");
  EXPECT_EQ(names, (std::vector<std::string>{"\xB8\xE8\xB4\xCA.lrc"}));
  EXPECT_NE(GetFileAttributesA((dir.program_form() + "\\\xB8\xE8\xB4\xCA.lrc").c_str()),
            INVALID_FILE_ATTRIBUTES);
}

TEST(Files, CreateMoveDeleteWithErrors) {
  kernel_test::TempDir dir;
  std::string base = dir.program_form() + "\\";
  EXPECT_TRUE(CreateDirectoryA((base + "new").c_str(), nullptr));
  EXPECT_FALSE(CreateDirectoryA((base + "new").c_str(), nullptr));
  EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
  EXPECT_FALSE(CreateDirectoryA((base + "a\\b").c_str(), nullptr));
  EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);

  dir.write("x.txt", "x");
  dir.write("y.txt", "y");
  EXPECT_FALSE(MoveFileExA((base + "x.txt").c_str(), (base + "y.txt").c_str(), 0));
  EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
  EXPECT_EQ(kernel_test::read_file(dir.path() / "y.txt"), "y");  // not clobbered
  EXPECT_TRUE(MoveFileExA((base + "x.txt").c_str(), (base + "y.txt").c_str(), MOVEFILE_REPLACE_EXISTING));
  EXPECT_EQ(kernel_test::read_file(dir.path() / "y.txt"), "x");
  EXPECT_EQ(GetFileAttributesA((base + "x.txt").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(GetFileAttributesA((base + "nodir\\x.txt").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);

  EXPECT_FALSE(DeleteFileA((base + "new").c_str()));
  EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
  EXPECT_TRUE(DeleteFileA((base + "y.txt").c_str()));
  EXPECT_FALSE(DeleteFileA((base + "y.txt").c_str()));
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
  EXPECT_TRUE(RemoveDirectoryA((base + "new").c_str()));
}

}  // namespace
