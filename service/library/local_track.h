// A song of the library as an LRCLIB track: its names and duration from the entry, its lyric
// read from its source and derived (lrc_lyric.h). An audio file tagged instrumental without a
// lyric is instrumental. Reading fails when the source can no longer be read.
#pragma once

#include "service/core/result.h"
#include "service/core/track.h"
#include "service/library/lyric_entry.h"
#include "service/text/lrc_lyric.h"

namespace lyr::service {

Result<LrcLyric> read_local_lyric(const LyricEntry& entry);
Track local_track(const LyricEntry& entry, const LrcLyric& lyric);
Result<Track> read_local_track(const LyricEntry& entry);

}  // namespace lyr::service
