#include "service/text/lrc_lyric.h"

#include <algorithm>
#include <charconv>
#include <vector>

namespace lyr::service {

namespace {

std::string_view trim(std::string_view s) {
  auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
  while (!s.empty() && blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && blank(s.back())) s.remove_suffix(1);
  return s;
}

bool digits(std::string_view s) {
  return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

long long number(std::string_view s) {
  long long v = 0;
  std::from_chars(s.data(), s.data() + s.size(), v);
  return v;
}

bool same_word(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if ((a[i] | 0x20) != (b[i] | 0x20)) return false;
  return true;
}

// The latest time a tag can hold ("9999:59.999"). Shifted times stay within it, so every synced
// line's tag reads back; a larger offset means nothing and is ignored like an unreadable one.
constexpr long long kLatestMs = (9999LL * 60 + 59) * 1000 + 999;

// Header tags name a field in letters ("ti", "offset", "#"); time tags start with a digit.
bool header_name(std::string_view name) {
  return !name.empty() && !(name.front() >= '0' && name.front() <= '9');
}

// "[mm:ss.xx]"; minutes past 99 take more digits.
void append_time(std::string& out, long long ms) {
  auto two = [&](long long v) {
    out.push_back(static_cast<char>('0' + v / 10 % 10));
    out.push_back(static_cast<char>('0' + v % 10));
  };
  out.push_back('[');
  long long minutes = ms / 60000;
  if (minutes >= 100) out += std::to_string(minutes / 100);
  two(minutes);
  out.push_back(':');
  two(ms / 1000 % 60);
  out.push_back('.');
  two(ms / 10 % 100);
  out.push_back(']');
}

// Drops "<mm:ss.xx>" word times of enhanced LRC.
std::string without_word_times(std::string_view text) {
  std::string out;
  while (!text.empty()) {
    std::size_t open = text.find('<');
    std::size_t close = open == std::string_view::npos ? open : text.find('>', open);
    if (close == std::string_view::npos) break;
    out += text.substr(0, open);
    if (!lrc_time_ms(text.substr(open + 1, close - open - 1))) out += text.substr(open, close - open + 1);
    text.remove_prefix(close + 1);
  }
  out += text;
  return std::string(trim(out));
}

struct TimedLine {
  long long ms;
  std::string_view text;  // as written, word times included
  std::string words;
};

}  // namespace

std::optional<long long> lrc_time_ms(std::string_view text, bool bare_seconds) {
  text = trim(text);
  std::size_t colon = text.find(':');
  std::string_view minutes = colon == std::string_view::npos ? std::string_view("0") : text.substr(0, colon);
  if (colon == std::string_view::npos && !bare_seconds) return std::nullopt;
  std::string_view rest = colon == std::string_view::npos ? text : text.substr(colon + 1);
  std::size_t dot = rest.find_first_of(".:");
  std::string_view seconds = rest.substr(0, dot);
  std::string_view fraction = dot == std::string_view::npos ? std::string_view() : rest.substr(dot + 1);
  if (!digits(minutes) || minutes.size() > 4 || !digits(seconds)) return std::nullopt;
  bool bare = colon == std::string_view::npos;
  if (bare ? seconds.size() > 5 : seconds.size() > 2 || number(seconds) >= 60) return std::nullopt;
  if (dot != std::string_view::npos && (!digits(fraction) || fraction.size() > 3)) return std::nullopt;
  long long ms = number(minutes) * 60000 + number(seconds) * 1000;
  if (!fraction.empty())
    ms += number(fraction) * (fraction.size() == 1 ? 100 : fraction.size() == 2 ? 10 : 1);
  return ms;
}

LrcLyric read_lrc_lyric(std::string_view text) {
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  LrcLyric out;
  long long offset = 0;
  std::vector<TimedLine> timed;
  std::vector<std::string> untimed;
  std::size_t pos = 0;
  while (pos <= text.size()) {
    std::size_t end = std::min(text.find('\n', pos), text.size());
    std::string_view line = trim(text.substr(pos, end - pos));
    pos = end + 1;
    std::vector<long long> times;
    while (line.starts_with('[')) {
      std::size_t close = line.find(']');
      if (close == std::string_view::npos) break;
      std::string_view inside = line.substr(1, close - 1);
      auto t = lrc_time_ms(inside);
      if (!t) break;
      times.push_back(*t);
      line = trim(line.substr(close + 1));
    }
    if (times.empty() && line.starts_with('[') && line.ends_with(']')) {
      std::string_view inside = line.substr(1, line.size() - 2);
      std::size_t colon = inside.find(':');
      std::string_view name = trim(inside.substr(0, colon));
      if (colon != std::string_view::npos && header_name(name)) {
        std::string_view value = trim(inside.substr(colon + 1));
        if (same_word(name, "offset")) {
          auto [p, ec] = std::from_chars(value.data() + (value.starts_with('+') ? 1 : 0),
                                         value.data() + value.size(), offset);
          if (ec != std::errc() || p != value.data() + value.size() || offset < -kLatestMs ||
              offset > kLatestMs)
            offset = 0;
        } else if (same_word(name, "length")) {
          if (auto ms = lrc_time_ms(value, true)) out.length = static_cast<double>(*ms) / 1000.0;
        }
        continue;
      }
    }
    std::string words = without_word_times(line);
    if (times.empty()) {
      untimed.push_back(std::move(words));
    } else {
      for (long long t : times) timed.push_back({t, line, words});
    }
  }

  // The words in sung order: the timed lines when there are any, else the text as written.
  std::vector<std::string_view> sung;
  if (!timed.empty()) {
    // A positive offset shows the lines sooner.
    for (auto& line : timed) line.ms = std::clamp(line.ms - offset, 0LL, kLatestMs);
    std::stable_sort(timed.begin(), timed.end(),
                     [](const TimedLine& a, const TimedLine& b) { return a.ms < b.ms; });
    std::string synced;
    for (const auto& line : timed) {
      append_time(synced, line.ms);
      if (!line.text.empty()) synced.append(" ").append(line.text);
      synced += '\n';
      sung.push_back(line.words);
    }
    synced.pop_back();
    out.synced = std::move(synced);
  } else {
    sung.assign(untimed.begin(), untimed.end());
  }
  std::string plain;
  bool words = false;
  std::size_t word_lines = 0;
  for (std::size_t i = 0; i < sung.size(); ++i) {
    if (sung[i].empty()) {
      if (words && i + 1 < sung.size() && !sung[i + 1].empty() && !plain.ends_with("\n\n")) plain += '\n';
      continue;
    }
    if (words) plain += '\n';
    plain += sung[i];
    words = true;
    ++word_lines;
  }
  if (word_lines == 1 && same_word(plain, "[instrumental]")) {
    out.instrumental = true;
    out.synced.reset();
    return out;
  }
  if (words) out.plain = std::move(plain);
  return out;
}

}  // namespace lyr::service
