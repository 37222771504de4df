// ToText of every kind, and the date-time text.
#include "commands/value_text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "tests/commands/command_call.h"

namespace {

using namespace commands_test;

std::string to_text(runtime::ArgRecord value) {
  return call_text(&commands::to_text_command, {value});
}
runtime::ArgRecord raw(std::uint32_t tag, std::uint32_t lo, std::uint32_t hi = 0) {
  runtime::ArgRecord r{lo, hi, tag};
  return r;
}
runtime::ArgRecord of_float(float f) {
  std::uint32_t bits;
  std::memcpy(&bits, &f, sizeof bits);
  return raw(runtime::tag::kFloat, bits);
}
std::string date(double d) {
  return commands::date_time_text(d);
}

TEST(ToText, NumbersTakeOnlyTheirOwnBits) {
  EXPECT_EQ(to_text(integer(-5)), "-5");
  EXPECT_EQ(to_text(raw(runtime::tag::kByte, 0xFFFFFFC8)), "200");
  EXPECT_EQ(to_text(raw(runtime::tag::kShort, 0x1234FFFE)), "-2");
  EXPECT_EQ(to_text(raw(runtime::tag::kLong, 0xD5FA0E00, 0xFFFFFFFE)), "-5000000000");
}

TEST(ToText, FloatsAreRoundedToTheirPrecision) {
  EXPECT_EQ(to_text(of_float(0.1f)), "0.1");
  EXPECT_EQ(to_text(of_float(3.14159274f)), "3.14159");
  EXPECT_EQ(to_text(of_float(-2.5f)), "-2.5");
  EXPECT_EQ(to_text(of_float(16777216.0f)), "1.67772e+07");
  EXPECT_EQ(to_text(of_double(runtime::tag::kDouble, 0.1)), "0.1");
  EXPECT_EQ(to_text(of_double(runtime::tag::kDouble, 1.0 / 3)), "0.3333333333333");
  EXPECT_EQ(to_text(of_double(runtime::tag::kDouble, 123456789012345.0)), "1.234567890123e+14");
}

TEST(ToText, LogicalsTextsAndOtherKinds) {
  EXPECT_EQ(to_text(logical(true)), "\xD5\xE6");
  EXPECT_EQ(to_text(raw(runtime::tag::kBool, 7)), "\xD5\xE6");
  EXPECT_EQ(to_text(logical(false)), "\xBC\xD9");
  EXPECT_EQ(to_text(text("abc")), "abc");
  EXPECT_EQ(to_text(of_pointer(runtime::tag::kText, nullptr)), "");
  EXPECT_EQ(to_text(raw(runtime::tag::kObject, 1)), "");
  EXPECT_EQ(to_text(omitted()), "");
}

TEST(ToText, ByteSetsAndNumberArraysAreRawBytesUpToAZero) {
  const std::uint8_t with_zero[] = {1, 0, 0, 0, 4, 0, 0, 0, 'a', 'b', 0, 'c'};
  EXPECT_EQ(to_text(of_pointer(runtime::tag::kByteSet, with_zero)), "ab");
  const std::uint8_t no_zero[] = {1, 0, 0, 0, 3, 0, 0, 0, 'x', 'y', 'z', 'Q'};
  EXPECT_EQ(to_text(of_pointer(runtime::tag::kByteSet, no_zero)), "xyz") << "the length bounds it";
  EXPECT_EQ(to_text(of_pointer(runtime::tag::kByteSet, nullptr)), "");

  const std::uint32_t ints[] = {1, 2, 0x64636261, 0x00006665};
  EXPECT_EQ(to_text(of_pointer(runtime::tag::kInt | runtime::tag::kArrayFlag, ints)), "abcdef");
  const std::uint32_t one_int[] = {1, 1, 0x64636261, 0x00006665};
  EXPECT_EQ(to_text(of_pointer(runtime::tag::kInt | runtime::tag::kArrayFlag, one_int)), "abcd");
  const std::uint32_t two_dims[] = {2, 1, 1, 0x64636261};
  EXPECT_EQ(to_text(of_pointer(runtime::tag::kInt | runtime::tag::kArrayFlag, two_dims)), "");
  const std::uint32_t texts[] = {1, 0};
  EXPECT_EQ(to_text(of_pointer(runtime::tag::kText | runtime::tag::kArrayFlag, texts)), "")
      << "not a number kind";
}

TEST(DateTimeText, DateAndTheTimeDownToItsLastUnit) {
  EXPECT_EQ(to_text(of_double(runtime::tag::kDateTime, 0.0)),
            "1899\xC4\xEA"
            "12\xD4\xC2"
            "30\xC8\xD5");
  EXPECT_EQ(date(2.5),
            "1900\xC4\xEA"
            "1\xD4\xC2"
            "1\xC8\xD5"
            "12\xCA\xB1");
  EXPECT_EQ(date(45000 + (13 * 3600 + 5 * 60 + 7) / 86400.0),
            "2023\xC4\xEA"
            "3\xD4\xC2"
            "15\xC8\xD5"
            "13\xCA\xB1"
            "5\xB7\xD6"
            "7\xC3\xEB");
  EXPECT_EQ(date(45000 + 30 * 60 / 86400.0),
            "2023\xC4\xEA"
            "3\xD4\xC2"
            "15\xC8\xD5"
            "0\xCA\xB1"
            "30\xB7\xD6");
  EXPECT_EQ(date(60.0),
            "1900\xC4\xEA"
            "2\xD4\xC2"
            "28\xC8\xD5")
      << "no 29 February 1900";
  // Before the epoch the fraction still runs forward through the day.
  EXPECT_EQ(date(-1.25),
            "1899\xC4\xEA"
            "12\xD4\xC2"
            "29\xC8\xD5"
            "6\xCA\xB1");
  EXPECT_EQ(date(1.0 - 0.1 / 86400),
            "1899\xC4\xEA"
            "12\xD4\xC2"
            "31\xC8\xD5")
      << "rounds to midnight";
  EXPECT_EQ(date(1e9),
            "9999\xC4\xEA"
            "12\xD4\xC2"
            "31\xC8\xD5");
  EXPECT_EQ(date(-1e9),
            "100\xC4\xEA"
            "1\xD4\xC2"
            "1\xC8\xD5");
}

}  // namespace
