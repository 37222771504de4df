#include "service/library/lyric_index.h"

#include <algorithm>
#include <cstring>

#include "service/text/match_key.h"

namespace lyr::service {

void LyricIndex::Field::build(const std::vector<std::string>& keys) {
  std::size_t total = 0;
  for (const auto& k : keys) total += k.size() + 1;
  text.reserve(total);
  starts.reserve(keys.size());
  for (const auto& k : keys) {
    starts.push_back(static_cast<std::uint32_t>(text.size()));
    text += k;
    text.push_back('\0');
  }
  // A suffix at every character start: a UTF-8 needle can only match there anyway.
  for (std::uint32_t p = 0; p < text.size(); ++p) {
    unsigned char c = static_cast<unsigned char>(text[p]);
    if (c != 0 && (c & 0xC0) != 0x80) suffixes.push_back(p);
  }
  const char* base = text.c_str();
  std::sort(suffixes.begin(), suffixes.end(), [base](std::uint32_t a, std::uint32_t b) {
    int c = std::strcmp(base + a, base + b);
    return c != 0 ? c < 0 : a < b;
  });
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

std::uint32_t LyricIndex::Field::owner(std::uint32_t pos) const {
  return static_cast<std::uint32_t>(std::upper_bound(starts.begin(), starts.end(), pos) - starts.begin() - 1);
}

LyricIndex::Match LyricIndex::Field::match(std::uint32_t entry, std::string_view key) const {
  std::string_view own(text.c_str() + starts[entry]);
  if (key.empty()) return exact;
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
  out.reserve(hi - lo);
  for (std::size_t i = lo; i < hi; ++i) {
    std::uint32_t pos = field.suffixes[i];
    std::uint32_t e = field.owner(pos);
    Match m = pos != field.starts[e]                                ? substring
              : std::strlen(field.text.c_str() + pos) == key.size() ? exact
                                                                    : prefix;
    out.emplace_back(e, m);
  }
  // One entry per hit, with its best match (a key can hold the needle more than once).
  std::sort(out.begin(), out.end());
  out.erase(std::unique(out.begin(), out.end(), [](auto& a, auto& b) { return a.first == b.first; }),
            out.end());
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
