// The LRCLIB side of LyricService: tracks by id, by exact names and by search.
#include "service/catalog/lyric_service.h"

namespace lyr::service {

Result<Track> LyricService::track(std::uint64_t id) const {
  auto lib = library();
  if (const LyricEntry* e = lib->find(id)) return lyrics_.track(*e);
  auto known = registry_.owns(id) ? registry_.find(id) : std::nullopt;
  if (!known) return fail("unknown id");
  if (known->lyric_complete) return std::move(known->track);
  if (!upstream_) return fail("no upstream to ask again");
  SERVICE_TRY_ASSIGN(Track again, upstream_->get(known->upstream_id));
  return remember(again);
}

Result<Track> LyricService::find_track(const TrackQuery& query, bool ask_upstream) const {
  auto lib = library();
  if (const LyricEntry* e = lib->best(query)) return lyrics_.track(*e);
  if (!ask_upstream || !upstream_) return fail("no such song");
  SERVICE_TRY_ASSIGN(Track found, upstream_->find(query));
  return remember(found);
}

std::vector<Track> LyricService::search_tracks(const TrackSearch& search) const {
  std::vector<Track> tracks;
  auto lib = library();
  for (const LyricEntry* e : lib->search(search, kMaxTracks))
    if (auto t = lyrics_.track(*e)) tracks.push_back(std::move(t.value()));  // gone since the scan
  if (!upstream_ || tracks.size() >= kMaxTracks) return tracks;
  auto found = upstream_->search(search);
  if (!found) return tracks;
  for (const Track& t : found.value()) {
    if (tracks.size() >= kMaxTracks) break;
    tracks.push_back(remember(t));
  }
  return tracks;
}

}  // namespace lyr::service
