#include <gtest/gtest.h>

#include <string>

#include "platform/api/kernel.h"
#include "platform/kernel/codepage.h"

namespace {

using namespace platform::codepage;

// U+20000 (a CJK extension B ideograph) and U+D55C (Korean "han") are outside GBK.
const std::string kExtB_utf8 = "\xF0\xA0\x80\x80";
const std::string kHan_utf8 = "\xED\x95\x9C";

TEST(Codepage, RoundTripsCharactersBeyondGbk) {
  for (const std::string& utf8 : {kExtB_utf8, kHan_utf8, std::string("\xE6\xAD\x8C abc")}) {
    std::string ansi = utf8_to_ansi(utf8);
    EXPECT_EQ(ansi.find('?'), std::string::npos);
    EXPECT_EQ(ansi_to_utf8(ansi), utf8);
    EXPECT_EQ(utf16_to_ansi(ansi_to_utf16(ansi)), ansi);
  }
  EXPECT_EQ(utf8_to_ansi(kExtB_utf8).size(), 4u);
  EXPECT_EQ(utf8_to_ansi(kHan_utf8).size(), 4u);
  EXPECT_EQ(utf8_to_ansi("\xE6\xAD\x8C"), "\xB8\xE8");  // GBK bytes unchanged
  EXPECT_EQ(ansi_to_utf16(utf8_to_ansi(kExtB_utf8)), std::u16string(u"\U00020000"));
}

TEST(Codepage, BadInputBecomesReplacementCharacters) {
  EXPECT_EQ(ansi_to_utf8("a\xFF"
                         "b"),
            "a\xEF\xBF\xBD"
            "b");
  EXPECT_EQ(utf8_to_ansi("a\xC3"), "a?");
  EXPECT_EQ(utf16_to_ansi(u"x\xD800y"), "x?y");
}

TEST(Codepage, AnsiCharLength) {
  EXPECT_EQ(ansi_char_length(""), 0u);
  EXPECT_EQ(ansi_char_length("a"), 1u);
  EXPECT_EQ(ansi_char_length("\xB8\xE8"), 2u);
  EXPECT_EQ(ansi_char_length("\x95\x5C"), 2u);
  EXPECT_EQ(ansi_char_length(utf8_to_ansi(kHan_utf8)), 4u);
  EXPECT_EQ(ansi_char_length("\xB8"), 1u);          // truncated pair
  EXPECT_EQ(ansi_char_length("\x81\x30\x81"), 1u);  // truncated four-byte form
  EXPECT_EQ(ansi_char_length("\x80"
                             "a"),
            1u);
  EXPECT_EQ(ansi_char_length("\xFF\xA1"), 1u);
  EXPECT_EQ(ansi_char_length("\x81\x7F"), 1u);
}

TEST(MultiByteToWideChar, MeasuresThenConverts) {
  std::string ansi = "A\xB8\xE8" + utf8_to_ansi(kExtB_utf8);
  int needed = MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, nullptr, 0);
  EXPECT_EQ(needed, 5);  // A, one BMP character, a surrogate pair, the terminator
  WCHAR buf[8];
  ASSERT_EQ(MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, buf, 8), 5);
  EXPECT_EQ(std::u16string(buf), u"A\u6B4C\U00020000");
  // An explicit length converts no terminator.
  EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), 1, buf, 8), 1);
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "\xE6\xAD\x8C", 3, buf, 8), 1);
  EXPECT_EQ(buf[0], u'\u6B4C');
}

TEST(MultiByteToWideChar, RejectsBadArgumentsAndSmallBuffers) {
  WCHAR buf[2];
  SetLastError(0);
  EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "abc", -1, buf, 2), 0);
  EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
  EXPECT_EQ(MultiByteToWideChar(1252, 0, "abc", -1, nullptr, 0), 0);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, nullptr, -1, nullptr, 0), 0);
  EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "abc", 0, nullptr, 0), 0);
  EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "abc", 3, nullptr, 4), 0);
}

TEST(WideCharToMultiByte, MeasuresThenConverts) {
  const WCHAR* text = u"\u6B4C\uD55C!";
  int needed = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
  EXPECT_EQ(needed, 2 + 4 + 1 + 1);
  char buf[16];
  BOOL used = TRUE;
  ASSERT_EQ(WideCharToMultiByte(CP_ACP, 0, text, -1, buf, sizeof buf, nullptr, &used), needed);
  EXPECT_FALSE(used);
  EXPECT_EQ(ansi_to_utf8(buf), "\xE6\xAD\x8C" + kHan_utf8 + "!");
  EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, text, 1, buf, sizeof buf, nullptr, nullptr), 3);
  SetLastError(0);
  EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, text, -1, buf, 3, nullptr, nullptr), 0);
  EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
}

TEST(WideCharToMultiByte, BrokenSurrogatesUseTheDefaultCharacter) {
  const WCHAR text[] = {u'a', 0xD800, u'?', u'b', 0};
  char buf[16] = {};
  BOOL used = FALSE;
  int n = WideCharToMultiByte(CP_ACP, 0, text, -1, buf, sizeof buf, "#", &used);
  EXPECT_EQ(std::string(buf, static_cast<std::size_t>(n)), std::string("a#?b", 5));
  EXPECT_TRUE(used);
}

TEST(Numbers, MulDivRoundsAndGuards) {
  EXPECT_EQ(MulDiv(9, 96, 72), 12);
  EXPECT_EQ(MulDiv(-9, 96, 72), -12);
  EXPECT_EQ(MulDiv(5, 1, 2), 3);  // half rounds away from zero
  EXPECT_EQ(MulDiv(-5, 1, 2), -3);
  EXPECT_EQ(MulDiv(1 << 30, 1 << 30, 1 << 29), -1);  // overflow
  EXPECT_EQ(MulDiv(1, 2, 0), -1);
  EXPECT_EQ(MulDiv(2000000000, 2000000000, 2000000000), 2000000000);
  EXPECT_EQ(GetUserDefaultLCID(), 0x0804u);
}

TEST(Numbers, StringHelpers) {
  EXPECT_EQ(lstrlenA("\xB8\xE8x"), 3);
  EXPECT_EQ(lstrlenA(nullptr), 0);
  char buf[4];
  EXPECT_STREQ(lstrcpynA(buf, "abcdef", 4), "abc");
  EXPECT_STREQ(lstrcpynA(buf, "ab", 4), "ab");
}

}  // namespace
