#include "service/http/track_replies.h"

#include "service/http/track_json.h"

namespace lyr::service {

std::shared_ptr<const std::string> TrackReplies::json(const Track& t) {
  if (t.revision == 0) return std::make_shared<const std::string>(track_json(t));
  {
    std::lock_guard lock(mutex_);
    auto it = items_.find(t.id);
    if (it != items_.end() && it->second.revision == t.revision) {
      uses_.splice(uses_.begin(), uses_, it->second.use);
      return it->second.json;
    }
  }
  auto written = std::make_shared<const std::string>(track_json(t));
  if (written->size() > max_bytes_) return written;
  std::lock_guard lock(mutex_);
  if (auto old = items_.find(t.id); old != items_.end()) {
    bytes_ -= old->second.json->size();
    uses_.erase(old->second.use);
    items_.erase(old);
  }
  while (bytes_ + written->size() > max_bytes_ && !uses_.empty()) {
    auto last = items_.find(uses_.back());
    bytes_ -= last->second.json->size();
    items_.erase(last);
    uses_.pop_back();
  }
  uses_.push_front(t.id);
  items_.emplace(t.id, Item{t.revision, written, uses_.begin()});
  bytes_ += written->size();
  return written;
}

std::string TrackReplies::track(const Track& t) {
  return *json(t);
}

std::string TrackReplies::tracks(std::span<const Track> list) {
  std::vector<std::shared_ptr<const std::string>> parts;
  parts.reserve(list.size());
  std::size_t size = 2;
  for (const Track& t : list) {
    parts.push_back(json(t));
    size += parts.back()->size() + 1;
  }
  std::string out;
  out.reserve(size);
  out += '[';
  for (const auto& part : parts) {
    if (out.size() > 1) out += ',';
    out += *part;
  }
  out += ']';
  return out;
}

}  // namespace lyr::service
