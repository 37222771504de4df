// A song as the LRCLIB interface describes it, and the two ways of asking for one. Local songs,
// the upstream's songs and the JSON replies all use these records.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace lyr::service {

struct Track {
  std::uint64_t id = 0;
  std::string title;
  std::string artist;
  std::string album;
  std::optional<double> duration;  // seconds
  bool instrumental = false;
  std::optional<std::string> plain;   // the lyric without time or header tags
  std::optional<std::string> synced;  // "[mm:ss.xx] line" per time tag, in time order
  // Changes whenever anything above may have changed, so a reply written for one revision can be
  // kept and written again; 0 when nobody can tell.
  std::uint64_t revision = 0;
};

// /api/get: a title and an artist, optionally an album and a duration in seconds.
struct TrackQuery {
  std::string title;
  std::string artist;
  std::string album;
  std::optional<double> duration;
};

// /api/search: free text, or fields; an empty field leaves it open.
struct TrackSearch {
  std::string text;
  std::string title;
  std::string artist;
  std::string album;
};

// Durations within this many seconds of each other are the same song.
inline constexpr double kDurationTolerance = 2.0;

}  // namespace lyr::service
