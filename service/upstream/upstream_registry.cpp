#include "service/upstream/upstream_registry.h"

#include <algorithm>

namespace lyr::service {

UpstreamRegistry::UpstreamRegistry(std::uint64_t first_aid, std::size_t capacity, std::size_t lyric_capacity)
    : first_aid_(first_aid),
      capacity_(capacity == 0 ? 1 : capacity),
      lyric_capacity_(std::min(lyric_capacity, capacity_)),
      next_aid_(first_aid) {}

std::uint64_t UpstreamRegistry::remember(const UpstreamHit& hit) {
  std::lock_guard lock(mutex_);
  if (auto it = by_upstream_id_.find(hit.id); it != by_upstream_id_.end()) {
    by_aid_[it->second] = hit;  // the database may have improved the lyric since
    return it->second;
  }
  std::uint64_t aid = next_aid_++;
  by_aid_.emplace(aid, hit);
  by_upstream_id_.emplace(hit.id, aid);
  order_.push_back(aid);
  if (order_.size() > lyric_capacity_) {
    std::string& old_lyric = by_aid_[order_[order_.size() - 1 - lyric_capacity_]].lyrics;
    std::string().swap(old_lyric);
  }
  while (order_.size() > capacity_) {
    auto old = by_aid_.find(order_.front());
    by_upstream_id_.erase(old->second.id);
    by_aid_.erase(old);
    order_.pop_front();
  }
  return aid;
}

std::optional<UpstreamHit> UpstreamRegistry::find(std::uint64_t aid) const {
  std::lock_guard lock(mutex_);
  auto it = by_aid_.find(aid);
  if (it == by_aid_.end()) return std::nullopt;
  return it->second;
}

}  // namespace lyr::service
