#include "service/library/lyric_cache.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "service/library/local_track.h"

namespace lyr::service {

namespace {

std::size_t text_bytes(const LrcLyric& lyric) {
  return (lyric.plain ? lyric.plain->size() : 0) + (lyric.synced ? lyric.synced->size() : 0) + 64;
}

// The track's revision: its source file's state and what the scan read about it.
std::uint64_t revision_of(const LyricEntry& entry, std::uint64_t dev, std::uint64_t ino, std::uint64_t size,
                          std::uint64_t modified_ns) {
  std::uint64_t h = 0xcbf29ce484222325ull;
  auto mix = [&](std::string_view bytes) {
    for (char c : bytes) h = (h ^ static_cast<unsigned char>(c)) * 0x100000001b3ull;
    h = (h ^ 0xff) * 0x100000001b3ull;  // ends the field, so "ab","c" differs from "a","bc"
  };
  for (std::uint64_t v : {dev, ino, size, modified_ns, entry.id})
    mix(std::string_view(reinterpret_cast<const char*>(&v), sizeof v));
  double duration = entry.duration.value_or(-1);
  mix(std::string_view(reinterpret_cast<const char*>(&duration), sizeof duration));
  for (const std::string* s : {&entry.title, &entry.artist, &entry.album}) mix(*s);
  return h | 1;
}

}  // namespace

Result<Track> LyricCache::track(const LyricEntry& entry) {
  if (entry.lyric_kind == LyricSourceKind::none) return read_local_track(entry);
  struct stat st {};
  if (stat(entry.lyric_path.c_str(), &st) != 0) return fail(std::strerror(errno));
  // Taken before reading: a file that changes meanwhile no longer matches it next time.
  Stamp stamp{st.st_dev, st.st_ino, st.st_size, st.st_mtim.tv_sec * 1000000000LL + st.st_mtim.tv_nsec};
  std::shared_ptr<const LrcLyric> lyric = find(entry.lyric_path, stamp);
  if (!lyric) {
    SERVICE_TRY_ASSIGN(LrcLyric read, read_local_lyric(entry));
    lyric = std::make_shared<const LrcLyric>(std::move(read));
    keep(entry.lyric_path, stamp, lyric);
  }
  Track track = local_track(entry, *lyric);
  track.revision = revision_of(entry, stamp.device, stamp.inode, static_cast<std::uint64_t>(stamp.size),
                               static_cast<std::uint64_t>(stamp.modified_ns));
  return track;
}

std::shared_ptr<const LrcLyric> LyricCache::find(const std::string& path, const Stamp& stamp) {
  std::lock_guard lock(mutex_);
  auto it = items_.find(path);
  if (it == items_.end() || it->second.stamp != stamp) return nullptr;
  uses_.splice(uses_.begin(), uses_, it->second.use);
  return it->second.lyric;
}

void LyricCache::keep(const std::string& path, const Stamp& stamp, std::shared_ptr<const LrcLyric> lyric) {
  std::size_t bytes = text_bytes(*lyric) + path.size();
  if (bytes > max_bytes_) return;
  std::lock_guard lock(mutex_);
  if (auto old = items_.find(path); old != items_.end()) {
    bytes_ -= old->second.bytes;
    uses_.erase(old->second.use);
    items_.erase(old);
  }
  while (bytes_ + bytes > max_bytes_ && !uses_.empty()) {
    auto last = items_.find(uses_.back());
    bytes_ -= last->second.bytes;
    items_.erase(last);
    uses_.pop_back();
  }
  uses_.push_front(path);
  items_.emplace(path, Item{stamp, std::move(lyric), bytes, uses_.begin()});
  bytes_ += bytes;
}

}  // namespace lyr::service
