// What the service answers, apart from HTTP: searches over the local index followed by the
// upstream's hits, and the lyric and cover behind an id. Local ids are 1..size() in index
// order; upstream ids follow. Every method may be called from many threads at once.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "service/library/lyric_index.h"
#include "service/result.h"
#include "service/upstream/upstream_client.h"
#include "service/upstream/upstream_registry.h"

namespace lyr::service {

inline constexpr std::size_t kMaxHits = 100;

struct SearchHit {
  std::uint64_t aid;
  const std::string* title;  // valid for the duration of the reply being written
  const std::string* artist;
  const std::string* album;
};

struct Cover {
  std::string bytes;
  std::string ext;
};

class LyricService {
 public:
  LyricService(LyricIndex index, std::unique_ptr<UpstreamClient> upstream);

  // Titles and artists as UTF-8. Upstream hits are kept in `upstream_hits` so the hits can
  // point at their names.
  std::vector<SearchHit> search(std::string_view title, std::string_view artist,
                                std::vector<UpstreamHit>& upstream_hits) const;

  // The lyric as UTF-8; a failure for an unknown id or an unreadable source.
  Result<std::string> lyric(std::uint64_t aid) const;
  // The cover's extension when the id has one.
  std::optional<std::string> cover_ext(std::uint64_t aid) const;
  Result<Cover> cover(std::uint64_t aid) const;

  const LyricIndex& index() const { return index_; }
  const UpstreamClient* upstream() const { return upstream_.get(); }

 private:
  const LyricEntry* local(std::uint64_t aid) const;

  LyricIndex index_;
  std::unique_ptr<UpstreamClient> upstream_;
  mutable UpstreamRegistry registry_;
};

}  // namespace lyr::service
