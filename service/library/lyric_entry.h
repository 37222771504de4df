// One song of a library: what it is called, where its lyric and its cover come from. Entries
// hold paths, not contents: lyrics and pictures are read when a client asks for them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace lyr::service {

enum class LyricSourceKind {
  lrc_file,        // a .lrc file, in any of the encodings of lyric_encoding.h
  embedded_audio,  // the lyric tag of an audio file
  none,            // an audio file tagged instrumental, without a lyric
};

enum class CoverSourceKind {
  none,
  image_file,      // a picture file beside the song
  embedded_audio,  // the picture tag of an audio file
};

struct LyricEntry {
  std::uint64_t id = 0;  // given by the Library, from `path`
  std::string path;      // the song's own file: the audio file, else the .lrc file
  std::string title;
  std::string artist;
  std::string album;
  std::optional<double> duration;  // seconds: the audio's length, else the .lrc's [length:]
  LyricSourceKind lyric_kind = LyricSourceKind::lrc_file;
  std::string lyric_path;
  CoverSourceKind cover_kind = CoverSourceKind::none;
  std::string cover_path;
  std::string cover_ext;  // "jpg", "png", "gif" or "bmp"

  bool operator==(const LyricEntry&) const = default;
};

}  // namespace lyr::service
