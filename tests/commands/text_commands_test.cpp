// The text commands on single-byte, double-byte (GBK) and four-byte (GB18030) text.
#include "commands/text_commands.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/commands/command_call.h"

namespace {

using namespace commands_test;
using Texts = std::vector<std::string>;

constexpr char kZhong[] = "\xD6\xD0";             // 中: lead D6, trail D0
constexpr char kTrailA[] = "\xB0\x41";            // a GBK character whose trail byte is 'A'
constexpr char kFourByte[] = "\x81\x30\x81\x30";  // U+0080 in GB18030

std::int32_t find(const char* text, const char* sought) {
  return call_integer(&commands::find_text_command, {commands_test::text(text), commands_test::text(sought)});
}
std::int32_t find_from(const char* text, const char* sought, std::int32_t start) {
  return call_integer(&commands::find_text_command,
                      {commands_test::text(text), commands_test::text(sought), integer(start)});
}
std::int32_t find_folded(const char* text, const char* sought) {
  return call_integer(&commands::find_text_command,
                      {commands_test::text(text), commands_test::text(sought), omitted(), logical(true)});
}
Texts split(std::vector<runtime::ArgRecord> args) {
  return call_texts(&commands::split_text_command, std::move(args));
}
std::string mid(const char* text, std::int32_t start, std::int32_t length) {
  return call_text(&commands::mid_text_command, {commands_test::text(text), integer(start), integer(length)});
}

TEST(FindText, PositionsStartsAndEmptyTexts) {
  EXPECT_EQ(find("abcabc", "c"), 3);
  EXPECT_EQ(find_from("abcabc", "c", 4), 6);
  EXPECT_EQ(find_from("abcabc", "c", 7), -1);
  EXPECT_EQ(find_from("abcabc", "a", -5), 1) << "a start below 1 counts as 1";
  EXPECT_EQ(find("abc", "abcd"), -1) << "longer than what is left";
  EXPECT_EQ(find("abc", ""), 1);
  EXPECT_EQ(find_from("abc", "", 3), 1) << "the start does not move an empty match";
  EXPECT_EQ(find_from("abc", "", 4), -1);
  EXPECT_EQ(find("", ""), -1);
  EXPECT_EQ(call_integer(&commands::find_text_command, {}), -1) << "absent texts count as empty";
}

TEST(FindText, CaseFoldingTouchesAsciiLettersOnly) {
  EXPECT_EQ(find("ABC", "b"), -1);
  EXPECT_EQ(find_folded("ABC", "b"), 2);
  EXPECT_EQ(call_integer(&commands::find_text_command,
                         {commands_test::text("ABC"), commands_test::text("b"), omitted(), logical(false)}),
            -1);
  // Only the value 1 asks for folding.
  runtime::ArgRecord two = logical(true);
  two.lo = 2;
  EXPECT_EQ(call_integer(&commands::find_text_command,
                         {commands_test::text("ABC"), commands_test::text("b"), omitted(), two}),
            -1);
  const std::string text = std::string(kTrailA) + "xA";
  EXPECT_EQ(find_folded(text.c_str(), "a"), 4) << "a trail byte that looks like 'A' is no letter";
  EXPECT_EQ(find_folded(text.c_str(), "\xB0\x61"), -1) << "a double-byte character compares exactly";
}

TEST(FindText, NeverMatchesInsideACharacter) {
  const std::string two_zhong = std::string(kZhong) + kZhong;
  EXPECT_EQ(find(two_zhong.c_str(), "\xD0\xD6"), -1) << "trail of one and lead of the next";
  EXPECT_EQ(find(two_zhong.c_str(), kZhong), 1);
  EXPECT_EQ(find_from(two_zhong.c_str(), "\xD0\xD6", 2), 2) << "a given start is taken as a character start";
  const std::string trail = std::string(kTrailA) + "A";
  EXPECT_EQ(find(trail.c_str(), "A"), 3);

  // A four-byte character is stepped over whole: its third byte starts no match.
  const std::string four = std::string(kFourByte) + "0";
  EXPECT_EQ(find(four.c_str(), "\x81\x30\x30"), -1);
  EXPECT_EQ(find(four.c_str(), "0"), 5);
  const std::string after = std::string("a") + kFourByte + kFourByte;
  EXPECT_EQ(find(after.c_str(), kFourByte), 2);

  // A lead byte cut off by the end of the text ends the scan.
  EXPECT_EQ(find("ab\xD6", "\xD6"), -1);
}

TEST(SplitText, PiecesLimitsAndDefaults) {
  EXPECT_EQ(split({text("a,,b,")}), (Texts{"a", "", "b"})) << "no empty last piece";
  EXPECT_EQ(split({text(",a")}), (Texts{"", "a"}));
  EXPECT_EQ(split({text("")}), Texts{});
  EXPECT_EQ(split({}), Texts{});
  EXPECT_EQ(split({text("a,b,c"), text(","), integer(2)}), (Texts{"a", "b"}));
  EXPECT_EQ(split({text("a,b"), text(","), integer(5)}), (Texts{"a", "b"}));
  EXPECT_EQ(split({text("a,b"), text(","), integer(0)}), Texts{});
  EXPECT_EQ(split({text("a,b"), text(","), integer(-3)}), Texts{}) << "a negative maximum counts as 0";
  EXPECT_EQ(split({text("a,b"), text("")}), Texts{"a,b"});
  EXPECT_EQ(split({text("a<>b<><>c"), text("<>")}), (Texts{"a", "b", "", "c"}));
  EXPECT_EQ(split({text("a;b,c"), omitted()}), (Texts{"a;b", "c"})) << "the default delimiter";
}

TEST(SplitText, DelimitersAreMatchedOnCharacterStarts) {
  const std::string two_zhong = std::string(kZhong) + kZhong;
  EXPECT_EQ(split({text(two_zhong.c_str()), text("\xD0\xD6")}), Texts{two_zhong});
  const std::string trail = std::string("x") + kTrailA + "Ay";
  EXPECT_EQ(split({text(trail.c_str()), text("A")}), (Texts{std::string("x") + kTrailA, "y"}));
  const std::string four = std::string(kFourByte) + "0" + kFourByte;
  EXPECT_EQ(split({text(four.c_str()), text("0")}), (Texts{kFourByte, kFourByte}));
}

TEST(SplitText, AMegabyteInAHundredThousandPieces) {
  std::string big;
  for (int i = 0; i < 100000; ++i) big += std::string(kZhong) + (i % 2 ? "abcdefg|" : "ABCDEFG|");
  ASSERT_EQ(big.size(), 1000000u);
  const Texts pieces = split({text(big.c_str()), text("|")});
  ASSERT_EQ(pieces.size(), 100000u) << "the closing delimiter adds no empty piece";
  EXPECT_EQ(pieces.front(), std::string(kZhong) + "ABCDEFG");
  EXPECT_EQ(pieces[50001], std::string(kZhong) + "abcdefg");
  EXPECT_EQ(pieces.back(), std::string(kZhong) + "abcdefg");
}

TEST(MidTextAndTextLength, CountPlainBytes) {
  EXPECT_EQ(mid("abcdef", 3, 2), "cd");
  EXPECT_EQ(mid("abc", 3, 10), "c");
  EXPECT_EQ(mid("abc", 4, 1), "");
  EXPECT_EQ(mid("abc", 0, 1), "");
  EXPECT_EQ(mid("abc", 1, 0), "");
  EXPECT_EQ(mid("abc", 1, -1), "");
  EXPECT_EQ(mid(kZhong, 2, 1), "\xD0") << "no character boundaries";
  EXPECT_EQ(call(&commands::mid_text_command, {text("abc"), integer(9), integer(1)}).value(), 0u)
      << "the empty text is null";

  EXPECT_EQ(call_integer(&commands::text_length_command, {text(kFourByte)}), 4);
  EXPECT_EQ(call_integer(&commands::text_length_command, {text("")}), 0);
  EXPECT_EQ(call_integer(&commands::text_length_command, {of_pointer(runtime::tag::kText, nullptr)}), 0);
}

}  // namespace
