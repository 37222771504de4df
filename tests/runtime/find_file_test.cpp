#include "runtime/find_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <set>
#include <string>

#include "platform/api/kernel.h"
#include "runtime/heap.h"
#include "runtime/service_table.h"

namespace {

using namespace runtime;

TEST(FindFilterTest, NotDirectoriesFlagRejectsOnlyDirectories) {
  EXPECT_TRUE(find_accepts(0, 0, 1));
  EXPECT_TRUE(find_accepts(FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN, 0x10, 1));
  EXPECT_FALSE(find_accepts(FILE_ATTRIBUTE_DIRECTORY, 0x10, 1));
}

TEST(FindFilterTest, MaskZeroAcceptsOnlyEntriesWithoutAttributes) {
  EXPECT_TRUE(find_accepts(0, 0, 0));
  EXPECT_FALSE(find_accepts(FILE_ATTRIBUTE_ARCHIVE, 0, 0));
  EXPECT_FALSE(find_accepts(FILE_ATTRIBUTE_NORMAL, 0, 0));
  // Bits outside 0x37 don't count: 0x80 alone is a mask of 0.
  EXPECT_TRUE(find_accepts(0, 0x80, 0));
  EXPECT_FALSE(find_accepts(FILE_ATTRIBUTE_NORMAL, 0x80, 0));
}

TEST(FindFilterTest, OtherMasksNeedASharedBit) {
  EXPECT_TRUE(find_accepts(FILE_ATTRIBUTE_DIRECTORY, 0x10, 0));
  EXPECT_FALSE(find_accepts(FILE_ATTRIBUTE_ARCHIVE, 0x10, 0));
  EXPECT_TRUE(find_accepts(FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY, 0x01, 0));
}

class FindFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char name[] = "/tmp/runtime_find_XXXXXX";
    ASSERT_NE(mkdtemp(name), nullptr);
    dir_ = name;
    std::fclose(std::fopen((dir_ + "/a.txt").c_str(), "w"));
    std::fclose(std::fopen((dir_ + "/b.txt").c_str(), "w"));
    ASSERT_EQ(mkdir((dir_ + "/sub.txt").c_str(), 0755), 0);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  // Every name the services answer, following the search to its end.
  std::set<std::string> all(std::uint32_t mask, std::uint32_t not_directories, HANDLE* handle) {
    std::set<std::string> names;
    std::string pattern = dir_ + "/*.txt";
    const ServiceTable& services = service_table();
    auto next = [&](const char* p) {
      return reinterpret_cast<char*>(services.numbered(kFindFile, reinterpret_cast<std::intptr_t>(p), mask,
                                                       not_directories,
                                                       reinterpret_cast<std::intptr_t>(handle), 0, 0));
    };
    for (char* name = next(pattern.c_str()); name != nullptr; name = next("")) {
      names.insert(name);
      release(name);
    }
    return names;
  }

  std::string dir_;
};

TEST_F(FindFileTest, NotDirectoriesNeverAnswersADirectory) {
  HANDLE handle = nullptr;
  EXPECT_EQ(all(0x37, 1, &handle), (std::set<std::string>{"a.txt", "b.txt"}));
  EXPECT_EQ(handle, nullptr);  // closed when the search ran out
}

TEST_F(FindFileTest, DirectoryMaskAnswersOnlyDirectories) {
  HANDLE handle = nullptr;
  EXPECT_EQ(all(0x10, 0, &handle), (std::set<std::string>{"sub.txt"}));
}

TEST_F(FindFileTest, ContinuingWithoutASearchAnswersNull) {
  HANDLE handle = nullptr;
  EXPECT_EQ(find_file("", 0x37, 0, &handle), nullptr);
  EXPECT_EQ(find_file(nullptr, 0x37, 0, &handle), nullptr);
  EXPECT_EQ(find_file((dir_ + "/*.none").c_str(), 0x37, 1, &handle), nullptr);
  EXPECT_EQ(handle, nullptr);
}

TEST_F(FindFileTest, NewPatternClosesTheOpenSearch) {
  HANDLE handle = nullptr;
  std::string pattern = dir_ + "/*.txt";
  char* first = find_file(pattern.c_str(), 0, 1, &handle);
  ASSERT_NE(first, nullptr);
  release(first);
  HANDLE open = handle;
  ASSERT_NE(open, nullptr);
  char* again = find_file(pattern.c_str(), 0, 1, &handle);
  release(again);
  EXPECT_NE(handle, nullptr);
  EXPECT_FALSE(FindClose(open));  // the first search was closed already
  end_find_file(handle);
  end_find_file(nullptr);
}

}  // namespace
