// The per-user store: what a program folder the user may not write turns into for the file
// functions, and that a writable one is left alone.
#include "platform/kernel/virtual_store.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/api/kernel.h"
#include "tests/platform/kernel/temp_dir.h"
#include "tests/support/read_only_program_folder.h"

namespace {

namespace fs = std::filesystem;
using lyr::test::ReadOnlyProgramFolder;
using platform::kernel::virtual_store::mirror_path;

TEST(VirtualStore, MirrorPathTakesOnlyWhatLiesInsideTheFolder) {
  const struct {
    const char* path;
    std::optional<std::string> mirror;
  } cases[] = {
      {"/opt/app/song.lrc", "/home/u/store/song.lrc"},
      {"/opt/app/sub/deeper/x", "/home/u/store/sub/deeper/x"},
      {"/opt/app//./sub/../song.lrc", "/home/u/store/song.lrc"},
      {"/opt/app/sub/", "/home/u/store/sub"},
      {"/opt/app", std::nullopt},  // the folder itself stays
      {"/opt/app/", std::nullopt},
      {"/opt/app2/song.lrc", std::nullopt},  // a name that only begins like the folder
      {"/opt/app/../song.lrc", std::nullopt},
      {"/opt/song.lrc", std::nullopt},
  };
  for (const auto& c : cases)
    EXPECT_EQ(mirror_path(c.path, "/opt/app/", "/home/u/store"), c.mirror) << c.path;
}

class ReadOnlyStore : public ::testing::Test {
 protected:
  // A program-form path in the program folder.
  static std::string in_program(const std::string& relative) {
    std::string s = (ReadOnlyProgramFolder::program_folder() / relative).string();
    for (char& c : s)
      if (c == '/') c = '\\';
    return s;
  }
  static std::string ours(std::string_view stem) { return ReadOnlyProgramFolder::unique(stem); }
  std::string scratch_file(const std::string& name, const std::string& content) {
    return scratch_.write(name, content).string();
  }
  static std::vector<std::string> found(const std::string& pattern) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA data;
    HANDLE h = FindFirstFileA(pattern.c_str(), &data);
    if (h == INVALID_HANDLE_VALUE) return names;
    do names.emplace_back(data.cFileName);
    while (FindNextFileA(h, &data));
    FindClose(h);
    return names;
  }
  // Whatever the store did, the program folder holds nothing of this test's.
  static void expect_program_folder_untouched() {
    for (const auto& e : fs::directory_iterator(ReadOnlyProgramFolder::program_folder()))
      EXPECT_NE(e.path().filename().string().rfind(ours(""), 0), 0u) << e.path();
  }

  ReadOnlyProgramFolder store_;
  kernel_test::TempDir scratch_;
};

TEST_F(ReadOnlyStore, WritesGoToTheMirrorAndReadsLookThereFirst) {
  const fs::path mirror = store_.mirror();
  const std::string a = ours("a.lrc"), b = ours("b.lrc"), sub = ours("sub");
  // Written: a file moved in, renamed, a folder made; the mirror is made on the way.
  ASSERT_TRUE(MoveFileExA(scratch_file("a", "one").c_str(), in_program(a).c_str(), 0));
  EXPECT_EQ(kernel_test::read_file(mirror / a), "one");
  EXPECT_EQ(GetFileAttributesA(in_program(a).c_str()), DWORD{FILE_ATTRIBUTE_ARCHIVE});
  ASSERT_TRUE(MoveFileExA(in_program(a).c_str(), in_program(b).c_str(), 0));
  EXPECT_FALSE(fs::exists(mirror / a));
  EXPECT_EQ(kernel_test::read_file(mirror / b), "one");
  ASSERT_TRUE(CreateDirectoryA(in_program(sub).c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryA(in_program(sub + "\\inner").c_str(), nullptr));
  EXPECT_TRUE(fs::is_directory(mirror / sub / "inner"));
  // A folder that exists nowhere is still missing, and no mirror of it appears.
  EXPECT_FALSE(MoveFileExA(scratch_file("c", "x").c_str(), in_program(ours("none") + "\\c").c_str(), 0));
  EXPECT_EQ(GetLastError(), DWORD{ERROR_PATH_NOT_FOUND});
  EXPECT_FALSE(fs::exists(mirror / ours("none")));

  // Found: the mirror's entries together with the folder's own.
  EXPECT_EQ(found(in_program(ours("*"))), (std::vector<std::string>{b, sub}));
  EXPECT_EQ(found(in_program(sub + "\\*")), (std::vector<std::string>{".", "..", "inner"}));
  const std::string program = fs::path(platform::paths::executable_path()).filename().string();
  const std::vector<std::string> everything = found(in_program("*"));
  for (const std::string& name : {program, b, sub})
    EXPECT_NE(std::find(everything.begin(), everything.end(), name), everything.end()) << name;

  // The mirror's entry hides the folder's of the same name, for reads, searches and removal.
  fs::create_directory(mirror / program);
  EXPECT_EQ(GetFileAttributesA(in_program(program).c_str()), DWORD{FILE_ATTRIBUTE_DIRECTORY});
  WIN32_FIND_DATAA data;
  HANDLE h = FindFirstFileA(in_program(program).c_str(), &data);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  EXPECT_EQ(data.dwFileAttributes, DWORD{FILE_ATTRIBUTE_DIRECTORY});
  EXPECT_FALSE(FindNextFileA(h, &data));
  FindClose(h);
  ASSERT_TRUE(RemoveDirectoryA(in_program(program).c_str()));
  EXPECT_EQ(GetFileAttributesA(in_program(program).c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);
  // A name the folder holds is taken, though only the mirror could be written.
  EXPECT_FALSE(MoveFileExA(scratch_file("d", "x").c_str(), in_program(program).c_str(), 0));
  EXPECT_EQ(GetLastError(), DWORD{ERROR_ALREADY_EXISTS});
  EXPECT_FALSE(CreateDirectoryA(in_program(program).c_str(), nullptr));
  EXPECT_EQ(GetLastError(), DWORD{ERROR_ALREADY_EXISTS});
  EXPECT_FALSE(fs::exists(mirror / program));

  // Deleted from the mirror; a second delete finds nothing.
  EXPECT_TRUE(DeleteFileA(in_program(b).c_str()));
  EXPECT_FALSE(fs::exists(mirror / b));
  EXPECT_FALSE(DeleteFileA(in_program(b).c_str()));
  EXPECT_EQ(GetLastError(), DWORD{ERROR_FILE_NOT_FOUND});
  EXPECT_TRUE(RemoveDirectoryA(in_program(sub + "\\inner").c_str()));
  EXPECT_TRUE(RemoveDirectoryA(in_program(sub).c_str()));
  EXPECT_FALSE(fs::exists(mirror / sub));
  expect_program_folder_untouched();
}

TEST_F(ReadOnlyStore, RelativeNamesFromTheProgramFolderAreRedirectedToo) {
  char before[MAX_PATH];
  ASSERT_GT(GetCurrentDirectoryA(MAX_PATH, before), 0u);
  ASSERT_TRUE(SetCurrentDirectoryA(in_program("").c_str()));
  const std::string name = ours("relative.lrc");
  EXPECT_TRUE(MoveFileExA(scratch_file("r", "rel").c_str(), name.c_str(), 0));
  EXPECT_TRUE(SetCurrentDirectoryA(before));
  EXPECT_EQ(kernel_test::read_file(store_.mirror() / name), "rel");
  expect_program_folder_untouched();
}

TEST_F(ReadOnlyStore, AWritableFolderKeepsEverythingBesideTheProgram) {
  store_.writable();
  const std::string name = ours("portable.lrc");
  ASSERT_TRUE(MoveFileExA(scratch_file("p", "here").c_str(), in_program(name).c_str(), 0));
  const fs::path beside = ReadOnlyProgramFolder::program_folder() / name;
  EXPECT_EQ(kernel_test::read_file(beside), "here");
  EXPECT_FALSE(fs::exists(store_.mirror()));
  EXPECT_TRUE(DeleteFileA(in_program(name).c_str()));
  EXPECT_FALSE(fs::exists(beside));
}

}  // namespace
