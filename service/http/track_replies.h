// The JSON of tracks (track_json.h), kept per track id and revision so that a popular song's
// lyric is escaped once, not on every search that carries it. Tracks without a revision are
// written each time. Holds at most `max_bytes` of JSON, the least recently used going first.
// Thread-safe.
#pragma once

#include <cstdint>
#include <list>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

#include "service/core/track.h"

namespace lyr::service {

class TrackReplies {
 public:
  explicit TrackReplies(std::size_t max_bytes) : max_bytes_(max_bytes) {}

  std::string track(const Track& track);
  std::string tracks(std::span<const Track> tracks);

 private:
  std::shared_ptr<const std::string> json(const Track& track);

  struct Item {
    std::uint64_t revision;
    std::shared_ptr<const std::string> json;
    std::list<std::uint64_t>::iterator use;
  };
  const std::size_t max_bytes_;
  std::mutex mutex_;
  std::size_t bytes_ = 0;
  std::list<std::uint64_t> uses_;  // ids, most recently used first
  std::unordered_map<std::uint64_t, Item> items_;
};

}  // namespace lyr::service
