#include "runtime/convert.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "runtime/heap.h"
#include "runtime/messages.h"
#include "runtime/values.h"
#include "tests/runtime/test_image.h"

namespace {

using namespace runtime;

ArgRecord record(std::uint64_t value, std::uint32_t t) {
  ArgRecord r{};
  r.set_value(value);
  r.tag = t;
  return r;
}

ArgRecord float_record(float f) {
  std::uint32_t bits;
  std::memcpy(&bits, &f, 4);
  return record(bits, tag::kFloat);
}

ArgRecord double_record(double d) {
  std::uint64_t bits;
  std::memcpy(&bits, &d, 8);
  return record(bits, tag::kDouble);
}

TEST(ConvertTest, NumericArgumentsBecomeIntegers) {
  EXPECT_EQ(to_int32(record(0xFFFFFFF0u, tag::kByte)), 0xF0);  // zero-extended low byte
  EXPECT_EQ(to_int32(record(0x0000FFFEu, tag::kShort)), -2);   // sign-extended
  EXPECT_EQ(to_int32(record(0xFFFFFF85u, tag::kInt)), -123);
  EXPECT_EQ(to_int32(record(0x0000000500000007ull, tag::kLong)), 7);  // low word only
  EXPECT_EQ(to_int32(record(0x00000001FFFFFFFFull, tag::kLong)), -1);
  EXPECT_EQ(to_int32(float_record(-1.7f)), -1);  // toward zero
  EXPECT_EQ(to_int32(float_record(2.9f)), 2);
  EXPECT_EQ(to_int32(double_record(-1234.99)), -1234);
  EXPECT_EQ(to_int32(record(7, tag::kInt | tag::kArrayFlag)), 7);  // flag masked
}

TEST(ConvertTest, FloatsOutsideTheIntegerRangeSaturate) {
  EXPECT_EQ(to_int32(double_record(1e20)), 2147483647);
  EXPECT_EQ(to_int32(double_record(-1e20)), -2147483647 - 1);
  EXPECT_EQ(to_int32(double_record(std::nan(""))), 0);
}

TEST(ConvertTest, NonNumericTagsAreRefused) {
  EXPECT_FALSE(try_to_int32(record(0, tag::kText)).has_value());
  EXPECT_FALSE(try_to_int32(record(1, tag::kBool)).has_value());
  EXPECT_FALSE(try_to_int32(record(0, tag::kNone)).has_value());
}

TEST(ConvertDeathTest, NonNumericTagIsTheRuntimeError) {
  setenv("LYRICS_MESSAGEBOX", "default", 1);
  EXPECT_EXIT(to_int32(record(0, tag::kText)), ::testing::ExitedWithCode(255),
              ::testing::HasSubstr(runtime_test::utf8(messages::kNotNumeric)));
}

TEST(ValueTextTest, NumbersAreFormatted) {
  EXPECT_EQ(value_as_text(record(0xFFFFFFFBu, tag::kInt)), "-5");
  EXPECT_EQ(value_as_text(record(200, tag::kByte)), "200");
  EXPECT_EQ(value_as_text(record(0xFFFFu, tag::kShort)), "-1");
  EXPECT_EQ(value_as_text(record(static_cast<std::uint64_t>(-5000000000ll), tag::kLong)), "-5000000000");
  EXPECT_EQ(value_as_text(float_record(0.5f)), "0.5");
  EXPECT_EQ(value_as_text(double_record(1.0 / 3.0)), "0.3333333333333");
  EXPECT_EQ(value_as_text(record(1, tag::kBool)), messages::kTrue);
  EXPECT_EQ(value_as_text(record(0, tag::kBool)), messages::kFalse);
}

TEST(ValueTextTest, TextsAndBytesAreTakenAsTheyAre) {
  EXPECT_EQ(value_as_text(record(0, tag::kText)), "");
  const char* literal = "plain";
  ArgRecord text{};
  text.set_pointer(literal);
  text.tag = tag::kText;
  EXPECT_EQ(value_as_text(text), "plain");

  std::uint8_t* set = make_byte_set("ab\0c", 4);
  ArgRecord bytes{};
  bytes.set_pointer(set);
  bytes.tag = tag::kByteSet;
  EXPECT_EQ(value_as_text(bytes), "ab");  // cut at the first zero
  release(set);
}

TEST(ValueTextTest, NumericArraysAreRawBytesOfTheFirstDimension) {
  const std::uint32_t dims[] = {2};
  void* array = make_array(dims, 2);
  std::memcpy(array_elements(array), "hi!!", 4);
  ArgRecord r{};
  r.set_pointer(array);
  r.tag = tag::kShort | tag::kArrayFlag;
  EXPECT_EQ(value_as_text(r), "hi!!");
  r.tag = tag::kText | tag::kArrayFlag;  // not numeric
  EXPECT_EQ(value_as_text(r), "");
  release(array);
}

TEST(ValueTextTest, DateTimesShowOnlyTheTimePartsThatAreSet) {
  auto date = [](double d) { return runtime_test::utf8(date_time_text(d).c_str()); };
  EXPECT_EQ(date(0.0), "1899年12月30日");
  EXPECT_EQ(date(45000.5), "2023年3月15日12时");
  EXPECT_EQ(date(45000.0 + (10 * 3600 + 5 * 60) / 86400.0), "2023年3月15日10时5分");
  EXPECT_EQ(date(45000.0 + (1 * 3600 + 2 * 60 + 3) / 86400.0), "2023年3月15日1时2分3秒");
  EXPECT_EQ(date(1e9), "9999年12月31日");  // clamped
  EXPECT_EQ(date(-1e9), "100年1月1日");
}

}  // namespace
