// The edit box's input modes on their own: which typed bytes each mode lets through, and the
// text each mode shows after losing the focus.
#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "ui/units/edit_input_mode.h"

namespace {

using ui::normalized_text;
using ui::TypedCharFilter;

// The bytes of `typed` that a fresh filter of `mode` lets through.
std::string typed_through(std::int32_t mode, std::string_view typed) {
  TypedCharFilter filter;
  std::string kept;
  for (char c : typed) {
    if (filter.accept(mode, static_cast<std::uint8_t>(c))) kept.push_back(c);
  }
  return kept;
}

TEST(EditInputFilter, EachModeKeepsItsCharacters) {
  const std::string_view typed = "a1-2.3b\x08";
  EXPECT_EQ(typed_through(0, typed), typed);
  EXPECT_EQ(typed_through(1, typed), typed);
  EXPECT_EQ(typed_through(2, typed), typed);
  EXPECT_EQ(typed_through(11, typed), typed);
  for (int mode : {3, 6, 7, 8}) EXPECT_EQ(typed_through(mode, typed), "1-23\x08") << mode;
  for (int mode : {4, 9, 10}) EXPECT_EQ(typed_through(mode, typed), "1-2.3\x08") << mode;
  EXPECT_EQ(typed_through(5, typed), "123\x08");
}

TEST(EditInputFilter, ControlCharactersAlwaysPass) {
  for (int mode = 0; mode < ui::kInputModeCount; ++mode) {
    EXPECT_EQ(typed_through(mode, "\r\t\x1B\x01"), "\r\t\x1B\x01") << mode;
  }
}

TEST(EditInputFilter, RefusedWideCharactersLeaveNoTrailBytes) {
  // "中" (two bytes) and a four-byte character whose second and fourth bytes are digits.
  const std::string_view wide =
      "7\xD6\xD0"
      "8\x81\x30\x81\x39"
      "9";
  EXPECT_EQ(typed_through(7, wide), "789");
  EXPECT_EQ(typed_through(5, wide), "789");
  EXPECT_EQ(typed_through(0, wide), wide);
}

TEST(EditInputNormalize, IntegerModesClampIntoTheirRange) {
  EXPECT_EQ(normalized_text(5, "300"), "255");
  EXPECT_EQ(normalized_text(5, "-5"), "");
  EXPECT_EQ(normalized_text(5, "42"), "42");
  EXPECT_EQ(normalized_text(6, "40000"), "32767");
  EXPECT_EQ(normalized_text(6, "-40000"), "-32768");
  EXPECT_EQ(normalized_text(7, "99999999999"), "2147483647");
  EXPECT_EQ(normalized_text(7, "-99999999999"), "-2147483648");
  EXPECT_EQ(normalized_text(8, "99999999999"), "99999999999");
  EXPECT_EQ(normalized_text(8, "99999999999999999999999"), "9223372036854775807");
  EXPECT_EQ(normalized_text(8, "-99999999999999999999999"), "-9223372036854775808");
  EXPECT_EQ(normalized_text(7, "  12.9xyz"), "12");
}

TEST(EditInputNormalize, ZeroAndNoNumberShowEmpty) {
  for (int mode = 5; mode <= 10; ++mode) {
    EXPECT_EQ(normalized_text(mode, "0"), "") << mode;
    EXPECT_EQ(normalized_text(mode, "abc"), "") << mode;
    EXPECT_EQ(normalized_text(mode, ""), "") << mode;
    EXPECT_EQ(normalized_text(mode, "-"), "") << mode;
  }
}

TEST(EditInputNormalize, NumberModesFormatAsFloatingPoint) {
  EXPECT_EQ(normalized_text(9, "1.50"), "1.5");
  EXPECT_EQ(normalized_text(9, "0.1"), "0.1");
  EXPECT_EQ(normalized_text(10, "-2.250"), "-2.25");
  EXPECT_EQ(normalized_text(10, "3"), "3");
  EXPECT_EQ(normalized_text(10, "1e400"), normalized_text(10, "1.7976931348623157e308"));
  EXPECT_EQ(normalized_text(10, "1e-400"), "");
  // Beyond single precision the value saturates instead of becoming infinite.
  EXPECT_EQ(normalized_text(9, "1e300"), normalized_text(9, "3.4028235e38"));
}

TEST(EditInputNormalize, OtherModesKeepTheirText) {
  for (int mode = 0; mode <= 4; ++mode) EXPECT_FALSE(normalized_text(mode, "x1").has_value()) << mode;
}

TEST(EditInputNormalize, DatesTakeTheRuntimeForm) {
  // 年 月 日 时 分 秒
  EXPECT_EQ(normalized_text(11, "2024-05-01 13:45:10"),
            "2024\xC4\xEA"
            "5\xD4\xC2"
            "1\xC8\xD5"
            "13\xCA\xB1"
            "45\xB7\xD6"
            "10\xC3\xEB");
  EXPECT_EQ(normalized_text(11, "2024/5/1"),
            "2024\xC4\xEA"
            "5\xD4\xC2"
            "1\xC8\xD5");
  EXPECT_EQ(normalized_text(11, "2024.05.01 08:30"),
            "2024\xC4\xEA"
            "5\xD4\xC2"
            "1\xC8\xD5"
            "8\xCA\xB1"
            "30\xB7\xD6");
  // The form it writes reads back the same.
  const std::string shown = *normalized_text(11, "1999-12-31 23:59:59");
  EXPECT_EQ(normalized_text(11, shown), shown);
  // Before the epoch the time of day survives too.
  EXPECT_EQ(normalized_text(11, "1899-12-29 06:00"),
            "1899\xC4\xEA"
            "12\xD4\xC2"
            "29\xC8\xD5"
            "6\xCA\xB1");
}

TEST(EditInputNormalize, UnreadableOrZeroDatesShowEmpty) {
  for (std::string_view text : {"", "abc", "2024-02-30", "2023-02-29", "2024-13-01", "2024-05-01 24:00",
                                "2024-05", "99-01-01", "1899-12-30", "2024-05-01x"}) {
    EXPECT_EQ(normalized_text(11, text), "") << text;
  }
  EXPECT_EQ(normalized_text(11, "2024-02-29"),
            "2024\xC4\xEA"
            "2\xD4\xC2"
            "29\xC8\xD5");
}

TEST(EditInputNormalize, DateValuesCountFromTheEpoch) {
  EXPECT_EQ(ui::parse_date_time("1899-12-31"), 1.0);
  EXPECT_EQ(ui::parse_date_time("1970-01-01 12:00"), 25569.5);
  EXPECT_EQ(ui::parse_date_time("1899-12-29 12:00"), -1.5);
  EXPECT_FALSE(ui::parse_date_time("1-2-3-4-5-6-7").has_value());
}

}  // namespace
