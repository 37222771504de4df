// The LRCLIB interface's JSON. A track is {"id", "name", "trackName", "artistName", "albumName",
// "duration", "instrumental", "plainLyrics", "syncedLyrics"} in that order, "name" the same as
// "trackName", an unknown duration and an absent lyric null. An error is {"message", "name",
// "statusCode"}. Text that is not valid UTF-8 is written with U+FFFD, never refused. Written
// directly rather than through a JSON document: a search reply carries up to twenty lyrics, and
// building and escaping a document for them cost more than all the rest of a search.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "service/core/track.h"

namespace lyr::service {

std::string track_json(const Track& track);
std::string tracks_json(std::span<const Track> tracks);
std::string error_json(int status, std::string_view name, std::string_view message);

}  // namespace lyr::service
