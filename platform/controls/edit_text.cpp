#include "platform/controls/edit_text.h"

#include <algorithm>

#include "platform/kernel/codepage.h"

namespace platform::controls::edit {
namespace {

bool is_break_byte(char c) {
  return c == '\n' || c == '\r';
}

bool is_blank(char c) {
  return c == ' ' || c == '\t';
}

// 0 blank or line break, 1 single-byte printable, 2 multi-byte character.
int char_class(std::string_view text, std::size_t pos) {
  const auto c = static_cast<unsigned char>(text[pos]);
  if (c <= ' ') return 0;
  if (c < 0x80) return 1;
  return codepage::ansi_char_length(text.substr(pos)) > 1 ? 2 : 1;
}

std::size_t length_at(std::string_view text, std::size_t pos) {
  return std::min(codepage::ansi_char_length(text.substr(pos)), text.size() - pos);
}

// The nearest position at or before `pos` from which a forward scan sees true boundaries.
std::size_t scan_origin(std::string_view text, std::size_t pos) {
  while (pos > 0 && !is_break_byte(text[pos - 1])) --pos;
  return pos;
}

}  // namespace

std::size_t char_start(std::string_view text, std::size_t pos) {
  pos = std::min(pos, text.size());
  std::size_t at = scan_origin(text, pos);
  while (at < pos) {
    std::size_t n = length_at(text, at);
    if (at + n > pos) break;
    at += n;
  }
  return at;
}

std::size_t next_char(std::string_view text, std::size_t pos) {
  pos = char_start(text, pos);
  if (pos >= text.size()) return text.size();
  return pos + length_at(text, pos);
}

std::size_t prev_char(std::string_view text, std::size_t pos) {
  pos = char_start(text, pos);
  if (pos == 0) return 0;
  if (is_break_byte(text[pos - 1])) return pos - 1;
  std::size_t at = scan_origin(text, pos - 1), last = at;
  while (at < pos) {
    last = at;
    at += length_at(text, at);
  }
  return last;
}

std::size_t next_word(std::string_view text, std::size_t pos) {
  pos = char_start(text, pos);
  if (pos >= text.size()) return text.size();
  const int cls = char_class(text, pos);
  if (cls != 0)
    while (pos < text.size() && char_class(text, pos) == cls) pos = next_char(text, pos);
  // A line break ends the move at the start of the next line.
  while (pos < text.size() && char_class(text, pos) == 0) {
    if (std::size_t br = break_length(text, pos)) return pos + br;
    pos = next_char(text, pos);
  }
  return pos;
}

std::size_t prev_word(std::string_view text, std::size_t pos) {
  pos = char_start(text, pos);
  while (pos > 0) {
    std::size_t p = prev_char(text, pos);
    if (char_class(text, p) != 0) break;
    if (is_break_byte(text[p])) return p > 0 && text[p] == '\n' && text[p - 1] == '\r' ? p - 1 : p;
    pos = p;
  }
  if (pos == 0) return 0;
  const int cls = char_class(text, prev_char(text, pos));
  while (pos > 0) {
    std::size_t p = prev_char(text, pos);
    if (char_class(text, p) != cls) break;
    pos = p;
  }
  return pos;
}

std::pair<std::size_t, std::size_t> word_at(std::string_view text, std::size_t pos) {
  pos = char_start(text, pos);
  if (text.empty()) return {0, 0};
  if (pos >= text.size() || break_length(text, pos)) {
    // At a line's end: the word before it.
    const std::size_t at = pos;
    if (pos == 0 || is_break_byte(text[pos - 1])) return {at, at};
    pos = prev_char(text, pos);
  }
  const int cls = char_class(text, pos);
  std::size_t first = pos, last = next_char(text, pos);
  while (first > 0) {
    std::size_t p = prev_char(text, first);
    if (char_class(text, p) != cls || is_break_byte(text[p])) break;
    first = p;
  }
  while (last < text.size() && char_class(text, last) == cls && !is_break_byte(text[last]))
    last = next_char(text, last);
  return {first, last};
}

std::size_t whole_chars_within(std::string_view insert, std::size_t room) {
  std::size_t at = 0;
  while (at < insert.size()) {
    std::size_t n = length_at(insert, at);
    if (at + n > room) break;
    at += n;
  }
  return at;
}

std::size_t break_length(std::string_view text, std::size_t pos) {
  if (pos >= text.size()) return 0;
  if (text[pos] == '\r') return pos + 1 < text.size() && text[pos + 1] == '\n' ? 2 : 1;
  return text[pos] == '\n' ? 1 : 0;
}

namespace {

// Wraps the hard line [s, e) into `out`.
void wrap_paragraph(std::string_view text, std::size_t s, std::size_t e, std::size_t next, int width,
                    const Measure& measure, std::vector<Line>& out) {
  std::vector<int> ext(e - s, 0);
  if (e > s) measure(text.substr(s, e - s), ext);
  auto x_at = [&](std::size_t p) { return p <= s ? 0 : ext[p - s - 1]; };
  std::size_t pos = s;
  do {
    const int base = x_at(pos);
    std::size_t fit = pos, opportunity = pos;
    bool previous_multi = false;
    for (std::size_t p = pos; p < e;) {
      const std::size_t q = p + length_at(text, p);
      // Break chances: after blanks, and on either side of a double-byte character.
      const bool multi = q - p > 1;
      if (p > pos && (multi || previous_multi)) opportunity = p;
      if (x_at(q) - base > width && p > pos) break;
      if (is_blank(text[p])) opportunity = q;
      previous_multi = multi;
      fit = p = q;
    }
    std::size_t end = fit;
    if (fit < e) {
      if (opportunity > pos) end = opportunity;
      // Blanks hang at the end of the line they follow.
      while (end < e && is_blank(text[end])) ++end;
    }
    out.push_back(Line{pos, end, end < e ? end : next});
    pos = end;
  } while (pos < e);
}

}  // namespace

std::vector<Line> layout_lines(std::string_view text, bool multi_line, int wrap_width,
                               const Measure& measure) {
  std::vector<Line> lines;
  if (!multi_line) {
    lines.push_back(Line{0, text.size(), text.size()});
    return lines;
  }
  std::size_t s = 0;
  while (true) {
    std::size_t e = s;
    while (e < text.size() && !break_length(text, e)) ++e;
    const std::size_t br = break_length(text, e);
    const std::size_t next = e + br;
    if (wrap_width > 0 && e > s)
      wrap_paragraph(text, s, e, next, wrap_width, measure, lines);
    else
      lines.push_back(Line{s, e, next});
    if (br == 0) break;
    s = next;
  }
  return lines;
}

}  // namespace platform::controls::edit
