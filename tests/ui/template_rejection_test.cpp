#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>
#include <vector>

#include "tests/ui/main_window_template.h"
#include "ui/templates/template_builder.h"
#include "ui/templates/template_parser.h"

namespace {

using namespace ui::templates;

// Parses from a heap buffer of exactly the given size, so that the sanitizer build catches any
// read past the end.
ParseResult parse_exact(const std::vector<std::uint8_t>& bytes, std::size_t size,
                        const runtime::CodeBase* base = &ui_test::main_window_code_base()) {
  std::unique_ptr<std::uint8_t[]> exact(new std::uint8_t[size == 0 ? 1 : size]);
  std::memcpy(exact.get(), bytes.data(), size);
  return parse_templates(std::span<const std::uint8_t>(exact.get(), size), base);
}

void put_u32(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}
std::uint32_t get_u32(const std::vector<std::uint8_t>& b, std::size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24);
}

TEST(TemplateRejection, EveryProperPrefixOfAValidBlockFails) {
  ui_test::MainWindowTemplate source;
  const std::vector<std::uint8_t> block = source.block();
  ASSERT_TRUE(parse_exact(block, block.size()));
  // Length 0 is the empty block, which is valid (no windows).
  for (std::size_t length = 1; length < block.size(); ++length) {
    ParseResult r = parse_exact(block, length);
    ASSERT_FALSE(r) << "prefix of " << length << " bytes accepted";
    EXPECT_LE(r.failure().position, length);
  }
}

// The main window's block with its fixed offsets, for surgical damage.
class DamagedBlock : public ::testing::Test {
 protected:
  static constexpr std::size_t kIndexLength = 0;
  static constexpr std::size_t kUnitCount = 28;
  static constexpr std::size_t kTableLength = 32;
  static constexpr std::size_t kTable = 36;
  static constexpr std::size_t kUnits = 13;
  static constexpr std::size_t kOffsets = kTable + 4 * kUnits;
  static constexpr std::size_t kEntries = kOffsets + 4 * kUnits;

  void SetUp() override {
    block_ = source_.block();
    ASSERT_TRUE(parse_exact(block_, block_.size()));
  }
  std::size_t entry(std::size_t unit) const { return kEntries + get_u32(block_, kOffsets + 4 * unit); }
  // Rejected, for the reason given (the first fault the parser meets).
  void expect_rejected(const char* what) {
    ParseResult r = parse_exact(block_, block_.size());
    ASSERT_FALSE(r) << what;
    EXPECT_EQ(r.failure().what, what);
    EXPECT_LE(r.failure().position, block_.size());
  }

  ui_test::MainWindowTemplate source_;
  std::vector<std::uint8_t> block_;
};

TEST_F(DamagedBlock, CountsLargerThanTheData) {
  put_u32(block_, kIndexLength, 0x7FFFFFF8);
  expect_rejected("window index longer than the block");
  SetUp();
  put_u32(block_, kUnitCount, 0xFFFFFFFF);
  expect_rejected("unit count larger than the unit table");
  SetUp();
  put_u32(block_, kUnitCount, 14);
  expect_rejected("unit record offset out of sequence");
  SetUp();
  put_u32(block_, kTableLength, get_u32(block_, kTableLength) + 1);
  expect_rejected("unit table longer than the block");
  SetUp();
  put_u32(block_, entry(1), 0xFFFFFFF0);
  expect_rejected("unit record longer than the unit table");
}

TEST_F(DamagedBlock, IndexLengthMustBeEightPerWindow) {
  put_u32(block_, kIndexLength, 12);
  expect_rejected("window index length is not a multiple of 8");
}

TEST_F(DamagedBlock, RecordOffsetsMustBeContiguousAndInOrder) {
  const std::uint32_t second = get_u32(block_, kOffsets + 4);
  const std::uint32_t third = get_u32(block_, kOffsets + 8);
  put_u32(block_, kOffsets + 4, third);
  put_u32(block_, kOffsets + 8, second);
  expect_rejected("unit record offset out of sequence");
  SetUp();
  put_u32(block_, kOffsets + 4 * 12, 0xFFFFFF00);
  expect_rejected("unit record offset out of sequence");
  SetUp();
  put_u32(block_, kOffsets + 4, second + 4);
  expect_rejected("unit record offset out of sequence");
}

TEST_F(DamagedBlock, CountsInsideARecordStayInsideIt) {
  // The label (unit 1): name "标签3" (6 bytes with NUL), empty remark.
  const std::size_t label = entry(1) + 4;
  const std::size_t fixed = label + 24 + 6 + 1;
  put_u32(block_, fixed + 28, 0x40000000);  // child count
  expect_rejected("child count larger than the record");
  SetUp();
  put_u32(block_, fixed + 32, 0x1000);  // cursor selector length
  expect_rejected("cursor selector longer than the record");
  SetUp();
  // Event count after selector (4 bytes), tag NUL and three words.
  put_u32(block_, fixed + 32 + 4 + 4 + 1 + 12, 0x20000000);
  expect_rejected("event count larger than the record");
  SetUp();
  put_u32(block_, fixed + 32 + 4 + 4 + 1 + 12, 0x100);
  expect_rejected("event count larger than the record");
}

TEST_F(DamagedBlock, UnterminatedTextsAreRefused) {
  // Shrink the menu parent's record so that its caption loses its NUL and everything after.
  const std::size_t menu = entry(2);
  put_u32(block_, menu, 24 + 2 + 12 + 2);  // "菜单" without its terminator
  expect_rejected("menu caption unterminated");
}

TEST_F(DamagedBlock, HandlerOffsetNamingNoRoutineIsALoadError) {
  // The button's binding is the first 0x1388 in the block after its entry.
  std::size_t at = entry(6);
  while (get_u32(block_, at) != 0x1388) ++at;
  put_u32(block_, at, 0x1389);
  ParseResult r = parse_exact(block_, block_.size());
  ASSERT_FALSE(r);
  EXPECT_EQ(r.failure().what, "handler offset names no routine");
  EXPECT_FALSE(parse_exact(source_.block(), block_.size(), nullptr)) << "no code base, yet offsets resolved";
}

TEST_F(DamagedBlock, IdsMustBeOfTheirClassAndUnique) {
  put_u32(block_, 4, 0x16010001);
  expect_rejected("not a window id");
  SetUp();
  put_u32(block_, kTable, 0x16010000);
  expect_rejected("window unit out of place");
  SetUp();
  put_u32(block_, kTable + 4 * 5, 0x1601001D);
  expect_rejected("unit id repeated");
  SetUp();
  put_u32(block_, kTable + 4 * 5, 0x16000000);
  expect_rejected("unit serial number 0");
}

TEST_F(DamagedBlock, MenuRecordMustBeOfTheMenuType) {
  put_u32(block_, entry(3) + 4, 0x0001000A);
  expect_rejected("menu record of another type");
}

TEST(TemplateRejection, TrailingBytesAfterTheLastWindow) {
  ui_test::MainWindowTemplate source;
  std::vector<std::uint8_t> block = source.block();
  block.push_back(0);
  EXPECT_FALSE(parse_exact(block, block.size()));
}

TEST(TemplateRejection, RepeatedWindowIds) {
  std::vector<std::uint8_t> none;
  WindowTemplate w;
  w.id = 0x52000001;
  w.units.push_back(window_unit(0x06000001, 0x00010001, Rect{}, 0, {}, none));
  std::vector<WindowTemplate> two(2);
  two[0] = w;
  two[1] = w;
  std::vector<std::uint8_t> block = build_templates(two);
  EXPECT_FALSE(parse_exact(block, block.size(), nullptr));
  two[1].id = 0x52000002;
  block = build_templates(two);
  EXPECT_TRUE(parse_exact(block, block.size(), nullptr));
}

// Damage anywhere either parses into something self-consistent or fails cleanly; the sanitizer
// build turns any stray read into a failure here.
TEST(TemplateRejection, DamagedBytesNeverLeadOutsideTheBlock) {
  ui_test::MainWindowTemplate source;
  const std::vector<std::uint8_t> block = source.block();
  std::mt19937 random(20261207);
  int rejected = 0;
  for (std::size_t at = 0; at < block.size(); ++at) {
    std::vector<std::uint8_t> damaged = block;
    damaged[at] = static_cast<std::uint8_t>(random() | 0x80);
    ParseResult r = parse_exact(damaged, damaged.size());
    if (!r) {
      ++rejected;
      EXPECT_LE(r.failure().position, damaged.size());
    } else {
      EXPECT_EQ(build_templates(r.value().windows()).size(), damaged.size()) << "byte " << at;
    }
  }
  EXPECT_GT(rejected, 0);
}

}  // namespace
