// The five support library records of the finder's program image, against the values written
// out here as the image format fixes them, in table order.
#include "app/program_image.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <set>
#include <string>

namespace {

struct ExpectedLibrary {
  const char* name;  // GB18030
  std::array<std::uint32_t, 7> descriptive;
  std::uint32_t flags;
  std::uint32_t commands;
  std::uint32_t type_slots;
};

const ExpectedLibrary kLibraries[] = {
    {"\xCF\xB5\xCD\xB3\xBA\xCB\xD0\xC4\xD6\xA7\xB3\xD6\xBF\xE2",  // 系统核心支持库
     {5, 2, 64, 3, 7, 3, 7},
     0xC0000001,
     18,
     51},
    {"\xC0\xA9\xD5\xB9\xBD\xE7\xC3\xE6\xD6\xA7\xB3\xD6\xBF\xE2\xD2\xBB",  // 扩展界面支持库一
     {2, 0, 3, 3, 0, 3, 0},
     0,
     4,
     5},
    {"\xB6\xE0\xCF\xDF\xB3\xCC\xD6\xA7\xB3\xD6\xBF\xE2",  // 多线程支持库
     {2, 0, 3, 3, 7, 3, 7},
     0xC0000000,
     1,
     0},
    {"\xBB\xA5\xC1\xAA\xCD\xF8\xD6\xA7\xB3\xD6\xBF\xE2",  // 互联网支持库
     {2, 0, 0, 3, 0, 3, 0},
     0,
     1,
     0},
    {"XP\xB7\xE7\xB8\xF1\xBD\xE7\xC3\xE6\xBF\xE2",  // XP风格界面库
     {2, 0, 0, 3, 7, 3, 7},
     0x80000000,
     1,
     0},
};

template <std::size_t N>
bool all_zero(const std::uint32_t (&words)[N]) {
  return std::all_of(std::begin(words), std::end(words), [](std::uint32_t w) { return w == 0; });
}

TEST(ProgramImage, LibraryRecordsHoldTheirFixedValuesInTableOrder) {
  const runtime::ImageHeader& image = app::program_image();
  ASSERT_EQ(image.library_count, std::size(kLibraries));
  std::set<std::string> guids;
  for (std::size_t i = 0; i < std::size(kLibraries); ++i) {
    const ExpectedLibrary& want = kLibraries[i];
    SCOPED_TRACE(i + 1);
    ASSERT_NE(image.libraries[i], nullptr);
    const runtime::LibraryRecord& r = *image.libraries[i];
    EXPECT_EQ(r.format_mark, 0x01312D65u);
    EXPECT_STREQ(r.name, want.name);
    for (std::size_t w = 0; w < want.descriptive.size(); ++w)
      EXPECT_EQ(r.descriptive[w], want.descriptive[w]) << w;
    EXPECT_EQ(r.descriptive_one, 1u);
    EXPECT_EQ(r.reserved_pointer, nullptr);
    EXPECT_EQ(r.flags, want.flags);
    EXPECT_EQ(r.command_count, want.commands);
    EXPECT_EQ(r.type_count, want.type_slots);
    EXPECT_EQ(r.types == nullptr, want.type_slots == 0);
    for (std::uint32_t c = 0; c < r.command_count; ++c) EXPECT_NE(r.commands[c], nullptr) << "command " << c;
    EXPECT_NE(r.notify, nullptr) << "every library takes the runtime callback at start-up";
    EXPECT_TRUE(all_zero(r.reserved_words) && all_zero(r.reserved_words2) && all_zero(r.reserved_words4) &&
                all_zero(r.reserved_words5) && r.reserved_word3 == 0);
    ASSERT_NE(r.guid, nullptr);
    const std::string guid = r.guid;
    EXPECT_EQ(guid.size(), 32u);
    EXPECT_TRUE(std::all_of(guid.begin(), guid.end(), [](unsigned char c) { return std::isxdigit(c) != 0; }))
        << guid;
    guids.insert(guid);
  }
  EXPECT_EQ(guids.size(), std::size(kLibraries)) << "each library its own identifier";
}

}  // namespace
