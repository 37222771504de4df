#include "runtime/code_base.h"

namespace runtime {

std::optional<Routine> resolve_handler(const CodeBase* base, std::int32_t offset) {
  if (offset == kNoHandler) return Routine{nullptr};
  if (base == nullptr || base->entries == nullptr) return std::nullopt;
  for (std::uint32_t i = 0; i < base->count; ++i) {
    if (base->entries[i].offset == offset && base->entries[i].routine != nullptr)
      return base->entries[i].routine;
  }
  return std::nullopt;
}

}  // namespace runtime
