// Character and word navigation over GB18030 text and the line layout, with a fixed-width
// measure (each byte 5 pixels, so a double-byte character is 10).
#include "platform/controls/edit_text.h"

#include <gtest/gtest.h>

#include "platform/kernel/codepage.h"
#include "tests/support/code_page_text.h"

namespace {

using namespace platform::controls::edit;

using test_support::ansi;

void fixed_measure(std::string_view piece, std::vector<int>& ext) {
  ext.assign(piece.size(), 0);
  for (std::size_t i = 0; i < piece.size();) {
    const std::size_t n = std::max<std::size_t>(1, platform::codepage::ansi_char_length(piece.substr(i)));
    for (std::size_t b = i; b < i + n && b < piece.size(); ++b) ext[b] = static_cast<int>((i + n) * 5);
    i += n;
  }
}

TEST(EditText, StepsNeverLandInsideACharacter) {
  const std::string t = ansi("a中😀b");  // 1 + 2 + 4 + 1 bytes
  ASSERT_EQ(t.size(), 8u);
  EXPECT_EQ(next_char(t, 0), 1u);
  EXPECT_EQ(next_char(t, 1), 3u);
  EXPECT_EQ(next_char(t, 3), 7u);
  EXPECT_EQ(prev_char(t, 7), 3u);
  EXPECT_EQ(prev_char(t, 3), 1u);
  EXPECT_EQ(char_start(t, 5), 3u);
  EXPECT_EQ(char_start(t, 2), 1u);
  EXPECT_EQ(char_start(t, 99), 8u);
  EXPECT_EQ(next_char(t, 8), 8u);
  EXPECT_EQ(prev_char(t, 0), 0u);
  // A trail byte that looks like ASCII ("\x81\x5C" holds a backslash byte) stays inside.
  const std::string tricky = std::string("\x81\x5C") + "x";
  EXPECT_EQ(char_start(tricky, 1), 0u);
  EXPECT_EQ(prev_char(tricky, 2), 0u);
}

TEST(EditText, WordsAndWholeCharacterCuts) {
  const std::string t = ansi("song 歌词 end");
  EXPECT_EQ(next_word(t, 0), 5u);
  EXPECT_EQ(next_word(t, 5), 10u);
  EXPECT_EQ(prev_word(t, 10), 5u);
  EXPECT_EQ(prev_word(t, 4), 0u);
  EXPECT_EQ(word_at(t, 6), std::make_pair(std::size_t{5}, std::size_t{9}));
  EXPECT_EQ(word_at(t, 1), std::make_pair(std::size_t{0}, std::size_t{4}));
  EXPECT_EQ(word_at(t, t.size()), std::make_pair(std::size_t{10}, std::size_t{13}));
  EXPECT_EQ(whole_chars_within(ansi("一二三"), 5), 4u);
  EXPECT_EQ(whole_chars_within(ansi("😀"), 3), 0u);
  EXPECT_EQ(whole_chars_within("abc", 10), 3u);
}

TEST(EditText, HardBreaksMakeLines) {
  const std::string t = "ab\r\ncd\nef\r\n";
  const auto lines = layout_lines(t, true, 0, fixed_measure);
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0].start, 0u);
  EXPECT_EQ(lines[0].end, 2u);
  EXPECT_EQ(lines[0].next, 4u);
  EXPECT_EQ(lines[1].start, 4u);
  EXPECT_EQ(lines[2].start, 7u);
  EXPECT_EQ(lines[3].start, 11u);
  EXPECT_EQ(lines[3].end, 11u);
  EXPECT_EQ(layout_lines(t, false, 0, fixed_measure).size(), 1u);
}

TEST(EditText, WrapBreaksAtBlanksAndBetweenDoubleByteCharacters) {
  // 40 pixels hold 8 single bytes or 4 double-byte characters.
  const std::string latin = "aaa bbb ccc";
  auto lines = layout_lines(latin, true, 40, fixed_measure);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(latin.substr(lines[0].start, lines[0].end - lines[0].start), "aaa bbb ");
  EXPECT_EQ(latin.substr(lines[1].start), "ccc");
  const std::string chinese = ansi("一二三四五六七");
  lines = layout_lines(chinese, true, 40, fixed_measure);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[1].start, 8u);
  const std::string mixed = ansi("ab一二cdefghij");
  lines = layout_lines(mixed, true, 40, fixed_measure);
  ASSERT_GE(lines.size(), 2u);
  for (const Line& l : lines) {
    EXPECT_EQ(char_start(mixed, l.start), l.start);
    EXPECT_LE(static_cast<int>(l.end - l.start) * 5, 40 + 5);
  }
  // A word longer than the width is cut between characters, one character at least per line.
  lines = layout_lines("abcdefghijklmnop", true, 40, fixed_measure);
  EXPECT_EQ(lines.size(), 2u);
  lines = layout_lines(ansi("一二"), true, 3, fixed_measure);
  EXPECT_EQ(lines.size(), 2u);
}

}  // namespace
