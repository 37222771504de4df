// Upstream hits get ids of our own, above the local ones, so that the finder fetches them from
// /lrc/<aid>.lrc like any other lyric. The registry remembers the most recent `capacity` hits,
// the lyric itself only for the most recent `lyric_capacity` (older ones are asked of the
// database again); an older id is forgotten (answered 404) rather than growing without bound.
// The same upstream song keeps its id while it is remembered. Thread-safe.
#pragma once

#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <unordered_map>

#include "service/upstream/upstream_client.h"

namespace lyr::service {

class UpstreamRegistry {
 public:
  UpstreamRegistry(std::uint64_t first_aid, std::size_t capacity, std::size_t lyric_capacity);

  std::uint64_t remember(const UpstreamHit& hit);
  std::optional<UpstreamHit> find(std::uint64_t aid) const;
  bool owns(std::uint64_t aid) const { return aid >= first_aid_; }

 private:
  const std::uint64_t first_aid_;
  const std::size_t capacity_;
  const std::size_t lyric_capacity_;
  mutable std::mutex mutex_;
  std::uint64_t next_aid_;
  std::unordered_map<std::uint64_t, UpstreamHit> by_aid_;
  std::unordered_map<long long, std::uint64_t> by_upstream_id_;
  std::deque<std::uint64_t> order_;
};

}  // namespace lyr::service
