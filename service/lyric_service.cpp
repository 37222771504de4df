#include "service/lyric_service.h"

#include "service/library/audio_file.h"
#include "service/library/file_bytes.h"
#include "service/library/image_type.h"
#include "service/library/lrc_file.h"
#include "service/text/match_key.h"

namespace lyr::service {

namespace {
constexpr std::size_t kRememberedUpstreamHits = 100000;
constexpr std::size_t kRememberedUpstreamLyrics = 2000;
}  // namespace

LyricService::LyricService(LyricIndex index, std::unique_ptr<UpstreamClient> upstream)
    : index_(std::move(index)),
      upstream_(std::move(upstream)),
      registry_(index_.size() + 1, kRememberedUpstreamHits, kRememberedUpstreamLyrics) {}

const LyricEntry* LyricService::local(std::uint64_t aid) const {
  return aid >= 1 && aid <= index_.size() ? &index_.entry(aid - 1) : nullptr;
}

std::vector<SearchHit> LyricService::search(std::string_view title, std::string_view artist,
                                            std::vector<UpstreamHit>& upstream_hits) const {
  std::vector<SearchHit> hits;
  std::string title_key = match_key(title), artist_key = match_key(artist);
  for (std::uint32_t i : index_.search(title_key, artist_key, kMaxHits)) {
    const LyricEntry& e = index_.entry(i);
    hits.push_back({i + 1u, &e.title, &e.artist, &e.album});
  }
  if (!upstream_ || hits.size() >= kMaxHits || (title_key.empty() && artist_key.empty())) return hits;
  upstream_hits = upstream_->search(title, artist);
  if (upstream_hits.size() > kMaxHits - hits.size()) upstream_hits.resize(kMaxHits - hits.size());
  for (const auto& u : upstream_hits) hits.push_back({registry_.remember(u), &u.title, &u.artist, &u.album});
  return hits;
}

Result<std::string> LyricService::lyric(std::uint64_t aid) const {
  if (const LyricEntry* e = local(aid)) {
    if (e->lyric_kind == LyricSourceKind::lrc_file) return read_lrc_text(e->lyric_path);
    auto tags = read_audio_tags(e->lyric_path, false);
    if (!tags) return Result<std::string>::failure(tags.error());
    return std::move(tags->lyrics);
  }
  if (!registry_.owns(aid)) return Result<std::string>::failure("unknown id");
  auto hit = registry_.find(aid);
  if (!hit) return Result<std::string>::failure("unknown id");
  if (!hit->lyrics.empty()) return std::move(hit->lyrics);
  auto again = upstream_ ? upstream_->get(hit->id) : std::nullopt;
  if (!again) return Result<std::string>::failure("the lyric database did not answer");
  return std::move(again->lyrics);
}

std::optional<std::string> LyricService::cover_ext(std::uint64_t aid) const {
  const LyricEntry* e = local(aid);
  if (!e || e->cover_kind == CoverSourceKind::none) return std::nullopt;
  return e->cover_ext;
}

Result<Cover> LyricService::cover(std::uint64_t aid) const {
  const LyricEntry* e = local(aid);
  if (!e || e->cover_kind == CoverSourceKind::none) return Result<Cover>::failure("no cover");
  Cover cover;
  if (e->cover_kind == CoverSourceKind::image_file) {
    auto bytes = read_file_bytes(e->cover_path);
    if (!bytes) return Result<Cover>::failure(bytes.error());
    cover.bytes = std::move(bytes.value());
  } else {
    auto tags = read_audio_tags(e->cover_path, true);
    if (!tags) return Result<Cover>::failure(tags.error());
    cover.bytes = std::move(tags->cover);
  }
  // The file may have been replaced since it was indexed; serve it under what it is now.
  cover.ext = image_ext(cover.bytes);
  if (cover.ext.empty()) return Result<Cover>::failure("the cover is no longer a picture");
  return cover;
}

}  // namespace lyr::service
