#include "service/library/lyric_index.h"

#include <algorithm>
#include <cstring>
#include <unordered_map>

#include "service/text/match_key.h"

namespace lyr::service {

void LyricIndex::Field::build(const std::vector<std::string>& keys) {
  std::unordered_map<std::string_view, std::uint32_t> ids;
  ids.reserve(keys.size());
  entry_key.reserve(keys.size());
  for (const auto& k : keys) {
    auto [it, added] = ids.emplace(k, static_cast<std::uint32_t>(key_start.size()));
    if (added) {
      key_start.push_back(static_cast<std::uint32_t>(text.size()));
      key_length.push_back(static_cast<std::uint32_t>(k.size()));
      text += k;
      text.push_back('\0');
    }
    entry_key.push_back(it->second);
  }
  key_first.assign(key_start.size() + 1, 0);
  for (std::uint32_t k : entry_key) ++key_first[k + 1];
  for (std::size_t k = 1; k < key_first.size(); ++k) key_first[k] += key_first[k - 1];
  key_entries.resize(entry_key.size());
  std::vector<std::uint32_t> fill(key_first.begin(), key_first.end() - 1);
  for (std::uint32_t e = 0; e < entry_key.size(); ++e) key_entries[fill[entry_key[e]]++] = e;

  // A suffix at every character start: a UTF-8 needle can only match there anyway. Sorting
  // compares the first eight bytes as one number and reads on only when they tie.
  struct Suffix {
    std::uint64_t head;
    std::uint32_t pos;
    std::uint32_t key;
  };
  std::vector<Suffix> sorted;
  std::uint32_t key = 0;
  for (std::uint32_t p = 0; p < text.size(); ++p) {
    unsigned char c = static_cast<unsigned char>(text[p]);
    if (c == 0) ++key;
    if (c == 0 || (c & 0xC0) == 0x80) continue;
    std::uint64_t head = 0;
    bool ended = false;
    for (std::uint32_t i = 0; i < 8; ++i) {
      unsigned char b = ended || p + i >= text.size() ? 0 : static_cast<unsigned char>(text[p + i]);
      ended = ended || b == 0;
      head = (head << 8) | b;
    }
    sorted.push_back({head, p, key});
  }
  const char* base = text.c_str();
  std::sort(sorted.begin(), sorted.end(), [base](const Suffix& a, const Suffix& b) {
    if (a.head != b.head) return a.head < b.head;
    if ((a.head & 0xFF) != 0) {  // eight equal bytes and no end yet
      int c = std::strcmp(base + a.pos + 8, base + b.pos + 8);
      if (c != 0) return c < 0;
    }
    return a.pos < b.pos;
  });
  suffixes.reserve(sorted.size());
  suffix_key.reserve(sorted.size());
  suffix_shape.reserve(sorted.size());
  for (const auto& x : sorted) {
    suffixes.push_back(x.pos);
    suffix_key.push_back(x.key);
    std::uint32_t rest = key_start[x.key] + key_length[x.key] - x.pos;
    suffix_shape.push_back(rest * 2 + (x.pos == key_start[x.key] ? 1 : 0));
  }
}

std::pair<std::size_t, std::size_t> LyricIndex::Field::range(std::string_view key) const {
  const char* base = text.c_str();
  auto lo = std::lower_bound(suffixes.begin(), suffixes.end(), key, [&](std::uint32_t p, std::string_view k) {
    return std::strncmp(base + p, k.data(), k.size()) < 0;
  });
  auto hi = std::upper_bound(lo, suffixes.end(), key, [&](std::string_view k, std::uint32_t p) {
    return std::strncmp(base + p, k.data(), k.size()) > 0;
  });
  return {static_cast<std::size_t>(lo - suffixes.begin()), static_cast<std::size_t>(hi - suffixes.begin())};
}

LyricIndex::Match LyricIndex::Field::match(std::uint32_t entry, std::string_view key) const {
  if (key.empty()) return exact;
  std::string_view own(text.c_str() + key_start[entry_key[entry]], key_length[entry_key[entry]]);
  std::size_t at = own.find(key);
  if (at == std::string_view::npos) return none;
  if (at != 0) return substring;
  return own.size() == key.size() ? exact : prefix;
}

LyricIndex::LyricIndex(std::vector<LyricEntry> entries) : entries_(std::move(entries)) {
  std::vector<std::string> title_keys, artist_keys;
  title_keys.reserve(entries_.size());
  artist_keys.reserve(entries_.size());
  for (const auto& e : entries_) {
    title_keys.push_back(match_key(e.title));
    artist_keys.push_back(match_key(e.artist));
  }
  titles_.build(title_keys);
  artists_.build(artist_keys);
}

void LyricIndex::collect(const Field& field, std::string_view key,
                         std::vector<std::pair<std::uint32_t, Match>>& out) const {
  auto [lo, hi] = field.range(key);
  // The best match per key (a key can hold the needle more than once), keys in first-seen order.
  std::vector<Match> best(field.key_start.size(), none);
  std::vector<std::uint32_t> seen;
  for (std::size_t i = lo; i < hi; ++i) {
    std::uint32_t k = field.suffix_key[i];
    std::uint32_t shape = field.suffix_shape[i];
    Match m = (shape & 1) == 0 ? substring : shape / 2 == key.size() ? exact : prefix;
    if (best[k] == none) seen.push_back(k);
    best[k] = std::min(best[k], m);
  }
  for (std::uint32_t k : seen)
    for (std::uint32_t i = field.key_first[k]; i < field.key_first[k + 1]; ++i)
      out.emplace_back(field.key_entries[i], best[k]);
}

std::vector<std::uint32_t> LyricIndex::search(std::string_view title_key, std::string_view artist_key,
                                              std::size_t limit) const {
  if (title_key.empty() && artist_key.empty()) return {};
  // Walk the field with fewer occurrences of its key; check the other field per candidate.
  bool by_title = !title_key.empty();
  if (by_title && !artist_key.empty()) {
    auto [tl, th] = titles_.range(title_key);
    auto [al, ah] = artists_.range(artist_key);
    by_title = th - tl <= ah - al;
  }
  const Field& walk = by_title ? titles_ : artists_;
  const Field& check = by_title ? artists_ : titles_;
  std::string_view walk_key = by_title ? title_key : artist_key;
  std::string_view check_key = by_title ? artist_key : title_key;

  std::vector<std::pair<std::uint32_t, Match>> candidates;
  collect(walk, walk_key, candidates);
  std::vector<Hit> hits;
  hits.reserve(candidates.size());
  for (auto [e, m] : candidates) {
    Match other = check.match(e, check_key);
    if (other == none) continue;
    hits.push_back({e, std::max(m, other), std::min(m, other)});
  }
  auto better = [](const Hit& a, const Hit& b) {
    if (a.weaker != b.weaker) return a.weaker < b.weaker;
    if (a.stronger != b.stronger) return a.stronger < b.stronger;
    return a.entry < b.entry;
  };
  std::size_t n = std::min(limit, hits.size());
  std::partial_sort(hits.begin(), hits.begin() + static_cast<std::ptrdiff_t>(n), hits.end(), better);
  std::vector<std::uint32_t> out;
  out.reserve(n);
  for (std::size_t i = 0; i < n; ++i) out.push_back(hits[i].entry);
  return out;
}

}  // namespace lyr::service
