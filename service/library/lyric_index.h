// The searchable form of a library. Titles, artists and albums are compared by their match keys
// (match_key.h); a field matches exactly, as a prefix or as a substring, and hits are ordered by
// their weakest field's kind of match, then the next field's, then by entry order (a field left
// open counts as exact). Each field keeps a suffix array of its keys, so a search costs a few
// binary searches plus the hits, not a pass over every entry. Immutable after construction;
// searches may run concurrently.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "service/library/lyric_entry.h"

namespace lyr::service {

class LyricIndex {
 public:
  explicit LyricIndex(std::vector<LyricEntry> entries);

  enum Match : std::uint8_t { exact = 0, prefix = 1, substring = 2, none = 3 };

  struct Keys {
    std::string_view title;
    std::string_view artist;
    std::string_view album;
  };
  // A hit and how well it matched: its fields' kinds of match, weakest first.
  struct Hit {
    std::uint32_t entry;
    std::array<Match, 3> rank;
    bool operator<(const Hit& o) const { return rank != o.rank ? rank < o.rank : entry < o.entry; }
  };

  std::size_t size() const { return entries_.size(); }
  const LyricEntry& entry(std::size_t i) const { return entries_[i]; }

  // The best `limit` hits. An empty key leaves its field open; all empty find nothing.
  std::vector<Hit> find(const Keys& keys, std::size_t limit) const;
  // Entry positions of the best `limit` hits by title and artist.
  std::vector<std::uint32_t> search(std::string_view title_key, std::string_view artist_key,
                                    std::size_t limit) const;

 private:
  // One field's keys. Songs share keys (an artist's every song has the same one), so each
  // distinct key is stored and suffix-sorted once and lists the entries that carry it. Keys are
  // numbered in the order entries first bring them, so key k's entries are all k or later.
  struct Field {
    std::string text;                      // every distinct key followed by a NUL
    std::vector<std::uint32_t> key_start;  // where key k begins in text
    std::vector<std::uint32_t> key_length;
    std::vector<std::uint32_t> entry_key;  // entry i carries key entry_key[i]
    std::vector<std::uint32_t> key_first;  // key k's entries are key_entries[key_first[k]..key_first[k+1])
    std::vector<std::uint32_t> key_entries;
    std::vector<std::uint32_t> suffixes;    // positions in text, in the order of their suffixes
    std::vector<std::uint32_t> suffix_key;  // the key each suffix lies in
    // Per suffix: bytes to the end of its key, times two, plus one when it starts its key; read
    // in step with suffix_key, so a search tells exact, prefix and substring without a lookup.
    std::vector<std::uint32_t> suffix_shape;
    void build(const std::vector<std::string>& keys);
    std::pair<std::size_t, std::size_t> range(std::string_view key) const;
    Match match(std::uint32_t entry, std::string_view key) const;
  };

  std::vector<LyricEntry> entries_;
  std::array<Field, 3> fields_;  // titles, artists, albums
};

}  // namespace lyr::service
