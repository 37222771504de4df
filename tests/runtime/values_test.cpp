#include "runtime/values.h"

#include <gtest/gtest.h>

#include <cstring>

#include "runtime/abi/records.h"
#include "runtime/heap.h"
#include "runtime/state.h"

namespace {

using namespace runtime;

std::uint32_t u32_at(const void* p, std::size_t offset) {
  std::uint32_t v;
  std::memcpy(&v, static_cast<const std::uint8_t*>(p) + offset, 4);
  return v;
}

// A state whose constant range covers a block of test constants.
class ValuesTest : public ::testing::Test {
 protected:
  void SetUp() override { state_.constant_ranges.add(constants_, sizeof constants_); }

  alignas(8) std::uint8_t constants_[64] = {};
  RuntimeState state_;
  StateInstallation installation_{state_};
};

TEST_F(ValuesTest, EmptySourcesMakeNullValues) {
  EXPECT_EQ(make_text(static_cast<const char*>(nullptr)), nullptr);
  EXPECT_EQ(make_text(""), nullptr);
  EXPECT_EQ(make_text_bytes("abc", 0), nullptr);
  EXPECT_EQ(make_text_bytes("abc", -3), nullptr);
  EXPECT_EQ(make_byte_set("abc", 0), nullptr);
  EXPECT_EQ(byte_set_length(nullptr), 0u);
  EXPECT_TRUE(byte_set_bytes(nullptr).empty());
}

TEST_F(ValuesTest, TextFromBytesStopsAtTheCountAndEndsWithNul) {
  char* text = make_text_bytes("hello", 3);
  ASSERT_NE(text, nullptr);
  EXPECT_STREQ(text, "hel");
  release(text);
}

TEST_F(ValuesTest, ByteSetOfThreeBytesOccupiesElevenBytes) {
  std::uint8_t* set = make_byte_set("xyz", 3);
  ASSERT_NE(set, nullptr);
  EXPECT_EQ(u32_at(set, 0), 1u);
  EXPECT_EQ(u32_at(set, 4), 3u);
  EXPECT_EQ(std::memcmp(set + 8, "xyz", 3), 0);
  EXPECT_EQ(byte_set_length(set), 3u);
  release(set);
}

TEST_F(ValuesTest, ConstantByteSetOfLengthZeroReadsEmpty) {
  const std::uint32_t constant[] = {1, 0};
  EXPECT_TRUE(byte_set_bytes(constant).empty());
}

TEST_F(ValuesTest, ArrayLayoutHasHeaderThenPackedElements) {
  const std::uint32_t dims[] = {2, 3};
  void* array = make_array(dims, 4);
  EXPECT_EQ(u32_at(array, 0), 2u);
  EXPECT_EQ(u32_at(array, 4), 2u);
  EXPECT_EQ(u32_at(array, 8), 3u);
  EXPECT_EQ(array_element_count(array), 6u);
  EXPECT_EQ(static_cast<std::uint8_t*>(array_elements(array)) - static_cast<std::uint8_t*>(array), 12);
  EXPECT_EQ(array_block_size(array, 4), 12u + 24u);
  EXPECT_EQ(u32_at(array, 12 + 20), 0u);  // zero-filled
  release(array);

  void* empty = make_empty_array();
  EXPECT_EQ(u32_at(empty, 0), 1u);
  EXPECT_EQ(u32_at(empty, 4), 0u);
  EXPECT_EQ(array_element_count(empty), 0u);
  release(empty);
}

TEST_F(ValuesTest, FreeingNullOrAConstantDoesNothing) {
  release(nullptr);
  std::memcpy(constants_, "literal", 8);
  release(constants_);  // a heap free of this would be caught by the sanitizer / heap checks
  EXPECT_STREQ(reinterpret_cast<char*>(constants_), "literal");
  EXPECT_TRUE(is_constant(constants_ + 63));
  EXPECT_FALSE(is_constant(constants_ + 64));
}

TEST_F(ValuesTest, ResizingAConstantCopiesOnlyUpToTheRangeEnd) {
  std::memset(constants_, 'k', sizeof constants_);
  std::uint8_t* tail = constants_ + 60;  // 4 bytes left in the range
  auto* copy = static_cast<std::uint8_t*>(resize(tail, 32));
  ASSERT_NE(copy, tail);
  EXPECT_EQ(std::memcmp(copy, "kkkk", 4), 0);
  EXPECT_EQ(constants_[60], 'k');  // untouched
  release(copy);

  auto* shorter = static_cast<std::uint8_t*>(resize(constants_, 2));
  EXPECT_EQ(shorter[0], 'k');
  EXPECT_EQ(shorter[1], 'k');
  release(shorter);
}

TEST_F(ValuesTest, ResizeOfNullAllocatesAndOfAHeapBlockKeepsItsBytes) {
  auto* block = static_cast<char*>(resize(nullptr, 4));
  std::memcpy(block, "abcd", 4);
  block = static_cast<char*>(resize(block, 4096));
  EXPECT_EQ(std::memcmp(block, "abcd", 4), 0);
  release(block);
}

TEST_F(ValuesTest, MakingAConstantArrayWritableCopiesItOnlyOnce) {
  const std::uint32_t words[] = {1, 3, 10, 20, 30};
  std::memcpy(constants_, words, sizeof words);
  void* variable = constants_;
  make_array_writable(4, &variable);
  ASSERT_NE(variable, static_cast<void*>(constants_));
  EXPECT_FALSE(is_constant(variable));
  EXPECT_EQ(std::memcmp(variable, words, sizeof words), 0);

  void* first_copy = variable;
  make_array_writable(4, &variable);
  EXPECT_EQ(variable, first_copy);
  release(variable);
}

TEST_F(ValuesTest, FreeingAnArrayOfTextsFreesEveryElement) {
  // Under the leak checker a missed element fails the run.
  const std::uint32_t dims[] = {3};
  void* array = make_array(dims, element_width(tag::kText));
  auto* elements = static_cast<char**>(array_elements(array));
  char* texts[] = {make_text("one"), nullptr, make_text("three")};
  std::memcpy(elements, texts, sizeof texts);
  free_array(tag::kText | tag::kArrayFlag, array);
  free_array(tag::kText, nullptr);
}

TEST(RecordsTest, FlaggedTagsCompareEqualOnceMasked) {
  EXPECT_EQ(base_tag(0xA0000004u), tag::kText);
  EXPECT_TRUE(is_array_tag(0xA0000004u));
  EXPECT_TRUE(is_basic_tag(tag::kDouble));
  EXPECT_TRUE(is_library_type_tag(0x00020004u));
  EXPECT_TRUE(is_program_type_tag(0x40000001u));
  EXPECT_FALSE(is_library_type_tag(0));
  EXPECT_EQ(element_width(tag::kByte), 1u);
  EXPECT_EQ(element_width(tag::kShort), 2u);
  EXPECT_EQ(element_width(tag::kLong), 8u);
  EXPECT_EQ(element_width(tag::kText), sizeof(void*));
  EXPECT_EQ(sizeof(ArgRecord), 12u);
}

}  // namespace
