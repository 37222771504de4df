// A library as it stands at one moment: its songs with their ids, and the index that searches
// them. Immutable once built, so a rebuilt library can replace it while searches still running
// keep answering from the one they started with (see LyricService).
// Ids come from each song's path (track_id.h). A path met twice (two library folders that
// overlap) is one song, the first one found; when two paths meet on one id, the path that sorts
// first keeps it and the other takes its next alternative.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "service/core/track.h"
#include "service/library/lyric_entry.h"
#include "service/library/lyric_index.h"

namespace lyr::service {

class Library {
 public:
  explicit Library(std::vector<LyricEntry> entries);

  std::size_t size() const { return index_.size(); }
  const LyricEntry& entry(std::size_t i) const { return index_.entry(i); }
  const LyricEntry* find(std::uint64_t id) const;

  // The finder's search: by title and artist (UTF-8, any form), the best `limit` hits.
  std::vector<const LyricEntry*> search(std::string_view title, std::string_view artist,
                                        std::size_t limit) const;
  // /api/search: free text in any field (or split into a title and an artist), else by fields.
  std::vector<const LyricEntry*> search(const TrackSearch& search, std::size_t limit) const;
  // /api/get: the best song whose title and artist match exactly, within the duration's
  // tolerance when both sides know it; a known and equal album and a known duration count first.
  const LyricEntry* best(const TrackQuery& query) const;

 private:
  std::vector<const LyricEntry*> entries_of(const std::vector<LyricIndex::Hit>& hits) const;

  LyricIndex index_;
  std::unordered_map<std::uint64_t, std::uint32_t> by_id_;
};

}  // namespace lyr::service
