// Local songs as tracks, their lyrics kept once read and derived while the source file stays
// the same (same device, inode, size and modification time): an LRCLIB search carries up to
// twenty lyrics, and reading and parsing each on every search cost more than the rest of it. A
// file that changes is read again on its next use. Holds at most `max_bytes` of lyric text, the
// least recently used going first. Thread-safe.
#pragma once

#include <sys/types.h>

#include <list>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>

#include "service/core/result.h"
#include "service/core/track.h"
#include "service/library/lyric_entry.h"
#include "service/text/lrc_lyric.h"

namespace lyr::service {

class LyricCache {
 public:
  explicit LyricCache(std::size_t max_bytes) : max_bytes_(max_bytes) {}

  // As read_local_track (local_track.h), from the cache when the source is unchanged.
  Result<Track> track(const LyricEntry& entry);

 private:
  struct Stamp {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    long long modified_ns = 0;
    bool operator==(const Stamp&) const = default;
  };
  struct Item {
    Stamp stamp;
    std::shared_ptr<const LrcLyric> lyric;
    std::size_t bytes = 0;
    std::list<std::string>::iterator use;
  };

  std::shared_ptr<const LrcLyric> find(const std::string& path, const Stamp& stamp);
  void keep(const std::string& path, const Stamp& stamp, std::shared_ptr<const LrcLyric> lyric);

  const std::size_t max_bytes_;
  std::mutex mutex_;
  std::size_t bytes_ = 0;
  std::list<std::string> uses_;  // paths, most recently used first
  std::unordered_map<std::string, Item> items_;
};

}  // namespace lyr::service
