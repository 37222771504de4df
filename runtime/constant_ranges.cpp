#include "runtime/constant_ranges.h"

#include <cstdint>

namespace runtime {

void ConstantRanges::add(const void* start, std::size_t size) {
  if (start == nullptr || size == 0) return;
  auto* s = static_cast<const std::byte*>(start);
  ranges_.push_back({s, s + size});
}

const std::byte* ConstantRanges::end_of(const void* p) const {
  // Compare as integers: the pointer may belong to any object.
  auto v = reinterpret_cast<std::uintptr_t>(p);
  for (const Range& r : ranges_) {
    if (reinterpret_cast<std::uintptr_t>(r.start) <= v && v < reinterpret_cast<std::uintptr_t>(r.end))
      return r.end;
  }
  return nullptr;
}

}  // namespace runtime
