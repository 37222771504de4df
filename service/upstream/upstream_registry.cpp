#include "service/upstream/upstream_registry.h"

#include <algorithm>

namespace lyr::service {

UpstreamRegistry::UpstreamRegistry(std::uint64_t first_id, std::size_t capacity, std::size_t lyric_capacity)
    : first_id_(first_id),
      capacity_(capacity == 0 ? 1 : capacity),
      lyric_capacity_(std::min(lyric_capacity, capacity_)),
      next_id_(first_id) {}

Track UpstreamRegistry::remember(const Track& upstream_track) {
  std::lock_guard lock(mutex_);
  Track ours = upstream_track;
  if (auto it = by_upstream_id_.find(upstream_track.id); it != by_upstream_id_.end()) {
    ours.id = it->second;
    by_id_[ours.id] = {upstream_track.id, ours, true};  // the database may have improved it since
    return ours;
  }
  ours.id = next_id_++;
  by_id_.emplace(ours.id, Remembered{upstream_track.id, ours, true});
  by_upstream_id_.emplace(upstream_track.id, ours.id);
  order_.push_back(ours.id);
  if (order_.size() > lyric_capacity_) {
    auto old = by_id_.find(order_[order_.size() - 1 - lyric_capacity_]);
    if (old != by_id_.end() && old->second.lyric_complete) {
      old->second.track.plain.reset();
      old->second.track.synced.reset();
      old->second.lyric_complete = false;
    }
  }
  while (order_.size() > capacity_) {
    auto old = by_id_.find(order_.front());
    by_upstream_id_.erase(old->second.upstream_id);
    by_id_.erase(old);
    order_.pop_front();
  }
  return ours;
}

std::optional<UpstreamRegistry::Remembered> UpstreamRegistry::find(std::uint64_t id) const {
  std::lock_guard lock(mutex_);
  auto it = by_id_.find(id);
  if (it == by_id_.end()) return std::nullopt;
  return it->second;
}

}  // namespace lyr::service
