#include "service/library/library.h"

#include <algorithm>
#include <cmath>
#include <set>
#include <string>
#include <tuple>
#include <unordered_set>

#include "service/library/track_id.h"
#include "service/text/match_key.h"

namespace lyr::service {

namespace {

std::vector<LyricEntry> with_ids(std::vector<LyricEntry> entries) {
  std::vector<bool> first(entries.size());
  {
    std::unordered_set<std::string_view> seen;
    for (std::size_t i = 0; i < entries.size(); ++i) first[i] = seen.insert(entries[i].path).second;
  }
  std::vector<LyricEntry> kept;
  kept.reserve(entries.size());
  for (std::size_t i = 0; i < entries.size(); ++i)
    if (first[i]) kept.push_back(std::move(entries[i]));
  // Paths in byte order claim ids, so a clash resolves the same way whatever the scan order.
  std::vector<LyricEntry*> by_path;
  by_path.reserve(kept.size());
  for (auto& e : kept) by_path.push_back(&e);
  std::sort(by_path.begin(), by_path.end(),
            [](const LyricEntry* a, const LyricEntry* b) { return a->path < b->path; });
  std::unordered_set<std::uint64_t> taken;
  taken.reserve(kept.size());
  for (LyricEntry* e : by_path) {
    unsigned attempt = 0;
    do e->id = track_id(e->path, attempt++);
    while (!taken.insert(e->id).second);
  }
  return kept;
}

// The splits of free text into two runs of words, each as match keys: "a b c" gives
// ("a", "bc") and ("ab", "c").
std::vector<std::pair<std::string, std::string>> word_splits(std::string_view text) {
  std::vector<std::string_view> words;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = text.find(' ', pos);
    if (end == std::string_view::npos) end = text.size();
    if (end > pos) words.push_back(text.substr(pos, end - pos));
    pos = end + 1;
  }
  constexpr std::size_t kMaxWords = 8;  // beyond that, free text is not a title and an artist
  std::vector<std::pair<std::string, std::string>> splits;
  if (words.size() < 2 || words.size() > kMaxWords) return splits;
  for (std::size_t i = 1; i < words.size(); ++i) {
    std::string first, second;
    for (std::size_t w = 0; w < words.size(); ++w) (w < i ? first : second) += match_key(words[w]);
    if (!first.empty() && !second.empty()) splits.emplace_back(std::move(first), std::move(second));
  }
  return splits;
}

}  // namespace

Library::Library(std::vector<LyricEntry> entries) : index_(with_ids(std::move(entries))) {
  by_id_.reserve(index_.size());
  for (std::uint32_t i = 0; i < index_.size(); ++i) by_id_.emplace(index_.entry(i).id, i);
}

const LyricEntry* Library::find(std::uint64_t id) const {
  auto it = by_id_.find(id);
  return it == by_id_.end() ? nullptr : &index_.entry(it->second);
}

std::vector<const LyricEntry*> Library::entries_of(const std::vector<LyricIndex::Hit>& hits) const {
  std::vector<const LyricEntry*> out;
  out.reserve(hits.size());
  for (const auto& h : hits) out.push_back(&index_.entry(h.entry));
  return out;
}

std::vector<const LyricEntry*> Library::search(std::string_view title, std::string_view artist,
                                               std::size_t limit) const {
  std::string t = match_key(title), a = match_key(artist);
  return entries_of(index_.find({t, a, {}}, limit));
}

std::vector<const LyricEntry*> Library::search(const TrackSearch& search, std::size_t limit) const {
  std::string album = match_key(search.album), artist = match_key(search.artist);
  if (search.text.empty()) return entries_of(index_.find({match_key(search.title), artist, album}, limit));

  // Free text may be a title, an artist or an album, or a title and an artist in either order;
  // a field also given on its own is not one the text can take. Each way ranks its hits, and
  // an entry found several ways counts its best.
  std::string text = match_key(search.text);
  std::vector<LyricIndex::Keys> ways = {{text, artist, album}};
  if (artist.empty()) ways.push_back({{}, text, album});
  if (album.empty()) ways.push_back({{}, artist, text});
  std::vector<std::pair<std::string, std::string>> splits;
  if (artist.empty()) splits = word_splits(search.text);
  for (const auto& [first, second] : splits) {
    ways.push_back({first, second, album});
    ways.push_back({second, first, album});
  }
  std::vector<LyricIndex::Hit> all;
  for (const auto& keys : ways) {
    auto hits = index_.find(keys, limit);
    all.insert(all.end(), hits.begin(), hits.end());
  }
  std::sort(all.begin(), all.end());
  std::vector<LyricIndex::Hit> best;
  std::set<std::uint32_t> taken;
  for (const auto& h : all)
    if (best.size() < limit && taken.insert(h.entry).second) best.push_back(h);
  return entries_of(best);
}

const LyricEntry* Library::best(const TrackQuery& query) const {
  std::string title = match_key(query.title), artist = match_key(query.artist);
  std::string album = match_key(query.album);
  if (title.empty() || artist.empty()) return nullptr;
  constexpr std::size_t kSameNames = 1000;
  const LyricEntry* best = nullptr;
  std::tuple<bool, bool, double> best_rank{};
  for (const auto& hit : index_.find({title, artist, {}}, kSameNames)) {
    if (hit.rank[0] != LyricIndex::exact) break;  // hits come best first
    const LyricEntry& e = index_.entry(hit.entry);
    double off = query.duration && e.duration ? std::abs(*query.duration - *e.duration) : 0;
    if (off > kDurationTolerance) continue;
    // Lower is better: an album that differs, an unknown duration, the distance.
    std::tuple<bool, bool, double> rank{!album.empty() && match_key(e.album) != album,
                                        query.duration && !e.duration, off};
    if (!best || rank < best_rank) best = &e, best_rank = rank;
  }
  return best;
}

}  // namespace lyr::service
