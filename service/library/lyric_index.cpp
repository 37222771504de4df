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
  std::array<std::vector<std::string>, 3> keys;
  for (auto& k : keys) k.reserve(entries_.size());
  for (const auto& e : entries_) {
    keys[0].push_back(match_key(e.title));
    keys[1].push_back(match_key(e.artist));
    keys[2].push_back(match_key(e.album));
  }
  for (std::size_t f = 0; f < fields_.size(); ++f) fields_[f].build(keys[f]);
}

std::vector<LyricIndex::Hit> LyricIndex::find(const Keys& keys, std::size_t limit) const {
  const std::array<std::string_view, 3> key = {keys.title, keys.artist, keys.album};
  // Walk the field with the fewest occurrences of its key; check the others per candidate.
  std::size_t walk = key.size(), fewest = 0;
  for (std::size_t f = 0; f < key.size(); ++f) {
    if (key[f].empty()) continue;
    auto [lo, hi] = fields_[f].range(key[f]);
    if (walk == key.size() || hi - lo < fewest) walk = f, fewest = hi - lo;
  }
  if (walk == key.size() || limit == 0) return {};
  std::array<std::size_t, 2> others{};
  std::size_t checks = 0;
  for (std::size_t f = 0; f < key.size(); ++f)
    if (f != walk && !key[f].empty()) others[checks++] = f;

  // The best `limit` hits so far, worst on top. An entry is met once per occurrence of the key
  // in its field and keeps its best match.
  std::vector<Hit> best;
  best.reserve(limit + 1);
  auto offer = [&](std::uint32_t e, Match m) {
    Hit hit{e, {m, exact, exact}};  // open fields count as exact
    for (std::size_t i = 0; i < checks; ++i)
      if ((hit.rank[i + 1] = fields_[others[i]].match(e, key[others[i]])) == none) return;
    if (hit.rank[0] < hit.rank[1]) std::swap(hit.rank[0], hit.rank[1]);
    if (hit.rank[1] < hit.rank[2]) std::swap(hit.rank[1], hit.rank[2]);
    if (hit.rank[0] < hit.rank[1]) std::swap(hit.rank[0], hit.rank[1]);
    if (best.size() == limit && !(hit < best.front())) return;
    if (auto same = std::find_if(best.begin(), best.end(), [e](const Hit& h) { return h.entry == e; });
        same != best.end()) {
      if (hit < *same) *same = hit, std::make_heap(best.begin(), best.end());
      return;
    }
    if (best.size() == limit) {
      std::pop_heap(best.begin(), best.end());
      best.pop_back();
    }
    best.push_back(hit);
    std::push_heap(best.begin(), best.end());
  };
  const Field& field = fields_[walk];
  const std::string_view needle = key[walk];
  auto [lo, hi] = field.range(needle);
  auto offer_key = [&](std::uint32_t k, Match m) {
    // Key k's entries are all k or later (keys are numbered as entries first bring them) and
    // match no better than m here: when even that is not better than the worst kept, skip them
    // unread.
    if (best.size() == limit && !(Hit{k, {m, exact, exact}} < best.front())) return;
    for (std::uint32_t i = field.key_first[k]; i < field.key_first[k + 1]; ++i)
      offer(field.key_entries[i], m);
  };
  // Occurrences at the start of a key (exact and prefix matches) first: a broad key such as
  // "moon" often fills the answer with them, and then no substring occurrence can enter it.
  for (std::size_t i = lo; i < hi; ++i) {
    std::uint32_t shape = field.suffix_shape[i];
    if (shape & 1) offer_key(field.suffix_key[i], shape / 2 == needle.size() ? exact : prefix);
  }
  const Hit best_substring{0, {substring, exact, exact}};
  if (best.size() < limit || !(best.front() < best_substring)) {
    for (std::size_t i = lo; i < hi; ++i)
      if ((field.suffix_shape[i] & 1) == 0) offer_key(field.suffix_key[i], substring);
  }
  std::sort_heap(best.begin(), best.end());
  return best;
}

std::vector<std::uint32_t> LyricIndex::search(std::string_view title_key, std::string_view artist_key,
                                              std::size_t limit) const {
  std::vector<std::uint32_t> out;
  for (const Hit& h : find({title_key, artist_key, {}}, limit)) out.push_back(h.entry);
  return out;
}

}  // namespace lyr::service
