// Upstream songs get ids of our own, in a range local ids never use, so that both of our APIs
// serve them like any other song (/lrc/<id>.lrc, /api/get/<id>). The registry remembers the most
// recent `capacity` songs, their lyrics only for the most recent `lyric_capacity` (older ones are
// asked of the database again by its own id); an older id is forgotten (answered 404) rather
// than growing without bound. The same upstream song keeps its id while it is remembered.
// Thread-safe.
#pragma once

#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <unordered_map>

#include "service/core/track.h"

namespace lyr::service {

class UpstreamRegistry {
 public:
  UpstreamRegistry(std::uint64_t first_id, std::size_t capacity, std::size_t lyric_capacity);

  // The track under our id.
  Track remember(const Track& upstream_track);

  struct Remembered {
    std::uint64_t upstream_id;
    Track track;          // under our id
    bool lyric_complete;  // false: the lyric was dropped and must be asked for again
  };
  std::optional<Remembered> find(std::uint64_t id) const;
  bool owns(std::uint64_t id) const { return id >= first_id_; }

 private:
  const std::uint64_t first_id_;
  const std::size_t capacity_;
  const std::size_t lyric_capacity_;
  mutable std::mutex mutex_;
  std::uint64_t next_id_;
  std::unordered_map<std::uint64_t, Remembered> by_id_;
  std::unordered_map<std::uint64_t, std::uint64_t> by_upstream_id_;
  std::deque<std::uint64_t> order_;
};

}  // namespace lyr::service
