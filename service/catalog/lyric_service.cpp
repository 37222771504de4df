#include "service/catalog/lyric_service.h"

#include "service/library/audio_file.h"
#include "service/library/file_bytes.h"
#include "service/library/image_type.h"
#include "service/library/lrc_file.h"
#include "service/library/track_id.h"
#include "service/text/match_key.h"

namespace lyr::service {

namespace {
constexpr std::size_t kRememberedUpstreamSongs = 100000;
constexpr std::size_t kRememberedUpstreamLyrics = 2000;
constexpr std::size_t kCachedLyricBytes = 32u << 20;

const std::string& lyric_of(const Track& t) {
  return t.synced ? *t.synced : *t.plain;
}
}  // namespace

LyricService::LyricService(Library library, std::unique_ptr<UpstreamClient> upstream)
    : library_(std::make_shared<const Library>(std::move(library))),
      upstream_(std::move(upstream)),
      registry_(kLastLocalId + 1, kRememberedUpstreamSongs, kRememberedUpstreamLyrics),
      lyrics_(kCachedLyricBytes) {}

std::shared_ptr<const Library> LyricService::library() const {
  std::lock_guard lock(library_mutex_);
  return library_;
}

void LyricService::replace_library(std::shared_ptr<const Library> next) {
  {
    std::lock_guard lock(library_mutex_);
    library_.swap(next);
  }
  // `next` now holds the old library, freed here unless a call still uses it.
}

std::vector<SearchHit> LyricService::search(std::string_view title, std::string_view artist) const {
  std::vector<SearchHit> hits;
  // Held by name: a temporary in the loop's range would free a library replaced meanwhile.
  auto lib = library();
  for (const LyricEntry* e : lib->search(title, artist, kMaxHits))
    hits.push_back({e->id, e->title, e->artist, e->album});
  if (!upstream_ || hits.size() >= kMaxHits || (match_key(title).empty() && match_key(artist).empty()))
    return hits;
  // The database wants a title or a free query; an artist alone goes in as the query.
  TrackSearch ask = title.empty() ? TrackSearch{std::string(artist), {}, {}, {}}
                                  : TrackSearch{{}, std::string(title), std::string(artist), {}};
  auto found = upstream_->search(ask);
  if (!found) return hits;
  for (const Track& t : found.value()) {
    if (hits.size() >= kMaxHits) break;
    if (!t.synced && !t.plain) continue;  // nothing the finder could show
    Track ours = remember(t);
    hits.push_back({ours.id, std::move(ours.title), std::move(ours.artist), std::move(ours.album)});
  }
  return hits;
}

Result<std::string> LyricService::lyric(std::uint64_t aid) const {
  auto lib = library();
  if (const LyricEntry* e = lib->find(aid)) {
    if (e->lyric_kind == LyricSourceKind::none) return std::string("[instrumental]\n");
    if (e->lyric_kind == LyricSourceKind::lrc_file) return read_lrc_text(e->lyric_path);
    SERVICE_TRY_ASSIGN(AudioTags tags, read_audio_tags(e->lyric_path, false));
    return std::move(tags.lyrics);
  }
  SERVICE_TRY_ASSIGN(Track t, track(aid));
  if (!t.synced && !t.plain) return fail("the song has no lyric");
  return lyric_of(t);
}

std::optional<std::string> LyricService::cover_ext(std::uint64_t aid) const {
  auto lib = library();
  const LyricEntry* e = lib->find(aid);
  if (!e || e->cover_kind == CoverSourceKind::none) return std::nullopt;
  return e->cover_ext;
}

Result<Cover> LyricService::cover(std::uint64_t aid) const {
  auto lib = library();
  const LyricEntry* e = lib->find(aid);
  if (!e || e->cover_kind == CoverSourceKind::none) return fail("no cover");
  Cover cover;
  if (e->cover_kind == CoverSourceKind::image_file) {
    SERVICE_TRY_ASSIGN(cover.bytes, read_file_bytes(e->cover_path));
  } else {
    SERVICE_TRY_ASSIGN(AudioTags tags, read_audio_tags(e->cover_path, true));
    cover.bytes = std::move(tags.cover);
  }
  // The file may have been replaced since it was indexed; serve it under what it is now.
  cover.ext = image_ext(cover.bytes);
  if (cover.ext.empty()) return fail("the cover is no longer a picture");
  return cover;
}

}  // namespace lyr::service
