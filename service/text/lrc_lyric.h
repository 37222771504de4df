// What a lyric says, read from its LRC text (UTF-8; a byte-order mark, CR LF line ends and blank
// lines are taken as they come):
// - synced: one "[mm:ss.xx] text" line per time tag, [offset:] applied, in time order (a line
//   with several tags appears at each of its times); nullopt when no line has a time tag.
//   Shifted times stay within 0 to 9999:59.99, and a larger offset is ignored;
// - plain: the words without time, word-time ("<mm:ss.xx>") or header ("[ti:...]") tags, in the
//   order they are sung, runs of blank lines kept as one; nullopt when there are none;
// - instrumental: the only words are "[instrumental]" (then synced and plain are nullopt);
// - length: the [length:] tag in seconds ("mm:ss", "mm:ss.xx" or "ss"), when there is one.
// Any text is accepted: a line that is not LRC is a plain line.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace lyr::service {

struct LrcLyric {
  std::optional<std::string> synced;
  std::optional<std::string> plain;
  bool instrumental = false;
  std::optional<double> length;
};

LrcLyric read_lrc_lyric(std::string_view utf8_text);

// "mm:ss", "mm:ss.xx", "mm:ss:xx" or, with `bare_seconds`, "ss[.xx]", in milliseconds.
std::optional<long long> lrc_time_ms(std::string_view text, bool bare_seconds = false);

}  // namespace lyr::service
