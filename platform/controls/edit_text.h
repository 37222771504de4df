// Character and word navigation over GB18030 text, and the line layout of an edit control.
// Positions are byte offsets. Every function answers positions on character boundaries; a
// position inside a character is taken as that character's start. Line breaks ("\r\n", "\n",
// "\r") are ASCII bytes, which never occur inside a multi-byte character, so a scan may start
// right after any of them.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace platform::controls::edit {

// The start of the character that contains `pos` (pos is clamped to the text's length).
std::size_t char_start(std::string_view text, std::size_t pos);
// The boundary after / before the character at `pos`; the text's ends stay where they are.
std::size_t next_char(std::string_view text, std::size_t pos);
std::size_t prev_char(std::string_view text, std::size_t pos);

// Word navigation: a word is a run of ASCII letters, digits and other printable bytes, or a
// run of multi-byte characters; blanks separate words.
std::size_t next_word(std::string_view text, std::size_t pos);
std::size_t prev_word(std::string_view text, std::size_t pos);
// The word around `pos` (a run of blanks counts as a word of its own); [first, second).
std::pair<std::size_t, std::size_t> word_at(std::string_view text, std::size_t pos);

// The longest prefix of `insert` made of whole characters and no longer than `room` bytes.
std::size_t whole_chars_within(std::string_view insert, std::size_t room);

// Bytes of the line break at `pos` ("\r\n" 2, "\n" or "\r" 1), 0 when there is none.
std::size_t break_length(std::string_view text, std::size_t pos);

// One displayed line: text [start, end), and where the next line starts (after the hard break
// or, for a soft break, at `end`).
struct Line {
  std::size_t start = 0;
  std::size_t end = 0;
  std::size_t next = 0;
};

// Per-byte extents of a piece of text, as GetTextExtentExPointA gives them: extents[i] is the
// width of the text up to the end of the character holding byte i.
using Measure = std::function<void(std::string_view, std::vector<int>& extents)>;

// Lays out `text`: one line per hard line when `wrap_width` <= 0, otherwise lines broken to fit
// `wrap_width` at blanks or between double-byte characters (a word too long for the width is
// broken between characters; a line holds at least one character). A single-line control
// passes multi_line = false and gets exactly one line.
std::vector<Line> layout_lines(std::string_view text, bool multi_line, int wrap_width,
                               const Measure& measure);

}  // namespace platform::controls::edit
