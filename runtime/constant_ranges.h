// Address ranges whose values are shared constants: never freed, never resized in place.
// Contract: ranges are [start, end); an empty or inverted range is ignored. end_of answers the
// end of the range holding p, or null when p lies in none. Ranges are added during start-up
// only and read afterwards from any thread.
#pragma once

#include <cstddef>
#include <vector>

namespace runtime {

class ConstantRanges {
 public:
  void add(const void* start, std::size_t size);
  const std::byte* end_of(const void* p) const;
  bool contains(const void* p) const { return end_of(p) != nullptr; }
  void clear() { ranges_.clear(); }
  bool empty() const { return ranges_.empty(); }

 private:
  struct Range {
    const std::byte* start;
    const std::byte* end;
  };
  std::vector<Range> ranges_;
};

}  // namespace runtime
