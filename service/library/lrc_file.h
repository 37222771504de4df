// Reading .lrc files: the [ti:], [ar:] and [al:] tags, and the "Artist - Title" file-name
// convention used when a tag is missing. The tags win over the file name, field by field.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "service/core/result.h"

namespace lyr::service {

struct SongNames {
  std::string title;
  std::string artist;
  std::string album;
};

// Tags from UTF-8 LRC text; a field without a tag stays empty.
SongNames lrc_tags(std::string_view text);

// "Artist - Title" splits at the first " - "; a stem without one is all title.
SongNames names_from_stem(std::string_view stem);

// Fills the empty fields of `names` from `fallback`.
void fill_missing(SongNames& names, const SongNames& fallback);

struct LrcSong {
  SongNames names;
  std::optional<double> length;  // the [length:] tag, in seconds
};

// Reads and decodes an .lrc file and names it: tags first, then the file name.
Result<LrcSong> read_lrc_song(const std::string& path, std::string_view stem);

// The lyric text of an .lrc file as UTF-8, whatever its stored encoding.
Result<std::string> read_lrc_text(const std::string& path);

}  // namespace lyr::service
