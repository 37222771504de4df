// What the service answers, apart from HTTP: the finder's searches, lyrics and covers, and the
// LRCLIB interface's tracks, over the local library followed by the upstream's songs. Local ids
// come from the songs' paths (track_id.h); the upstream's songs get ids above them, shared by
// both interfaces. Every method may be called from many threads at once.
// The library is an immutable snapshot: replace_library() swaps in a rebuilt one while calls
// already running finish on the one they started with. Results own their data.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "service/core/result.h"
#include "service/core/track.h"
#include "service/library/library.h"
#include "service/library/lyric_cache.h"
#include "service/upstream/upstream_client.h"
#include "service/upstream/upstream_registry.h"

namespace lyr::service {

inline constexpr std::size_t kMaxHits = 100;   // a finder search
inline constexpr std::size_t kMaxTracks = 20;  // an /api/search

struct SearchHit {
  std::uint64_t aid;
  std::string title;
  std::string artist;
  std::string album;
};

struct Cover {
  std::string bytes;
  std::string ext;
};

class LyricService {
 public:
  LyricService(Library library, std::unique_ptr<UpstreamClient> upstream);

  std::shared_ptr<const Library> library() const;
  void replace_library(std::shared_ptr<const Library> next);
  const UpstreamClient* upstream() const { return upstream_.get(); }

  // The finder's interface. Titles and artists as UTF-8.
  std::vector<SearchHit> search(std::string_view title, std::string_view artist) const;
  // The lyric as UTF-8, as stored; a failure for an unknown id or an unreadable source.
  Result<std::string> lyric(std::uint64_t aid) const;
  // The cover's extension when the id has one.
  std::optional<std::string> cover_ext(std::uint64_t aid) const;
  Result<Cover> cover(std::uint64_t aid) const;

  // The LRCLIB interface. A failure means no such track.
  Result<Track> track(std::uint64_t id) const;
  Result<Track> find_track(const TrackQuery& query, bool ask_upstream) const;
  std::vector<Track> search_tracks(const TrackSearch& search) const;

 private:
  Track remember(const Track& upstream_track) const { return registry_.remember(upstream_track); }

  mutable std::mutex library_mutex_;
  std::shared_ptr<const Library> library_;
  std::unique_ptr<UpstreamClient> upstream_;
  mutable UpstreamRegistry registry_;
  mutable LyricCache lyrics_;
};

}  // namespace lyr::service
