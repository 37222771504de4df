// Audio files (MP3, FLAC, Ogg Vorbis, M4A) read with TagLib: names from their tags, the lyric
// from ID3v2 USLT/SYLT, a Vorbis comment LYRICS or the MP4 ©lyr atom, the cover from ID3v2 APIC,
// a FLAC or Vorbis picture block or the MP4 covr atom. A file TagLib can't parse is an error.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "service/core/result.h"
#include "service/library/lrc_file.h"

namespace lyr::service {

bool is_audio_extension(std::string_view lower_ext);

struct AudioTags {
  SongNames names;
  std::string lyrics;  // UTF-8; SYLT is written out as time-tagged LRC lines
  std::string cover;   // picture bytes, the front cover when several are stored
  std::optional<double> duration;  // seconds, when the file says
  bool instrumental = false;       // genre "Instrumental", or an INSTRUMENTAL tag of 1, true or yes
};

// Reads the tags of `path`; the picture bytes only when `with_cover`.
Result<AudioTags> read_audio_tags(const std::string& path, bool with_cover);

}  // namespace lyr::service
