// Checking a program image before start-up uses it.
// Contract: read_image answers a view of the image's tables, or nullopt when the image cannot
// be used: a null header, a non-zero count or size whose table or block is null, a null
// library pointer, a library record without the format mark, or a library whose command or
// type count is non-zero with a null table. Nothing is copied; the view points into the image.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "runtime/abi/image.h"

namespace runtime {

struct ImageView {
  const ImageHeader* header;
  std::span<const std::uint8_t> constants;
  std::span<const std::uint8_t> templates;
  std::span<const LibraryRecord* const> libraries;
  std::uint32_t dll_count;
};

std::optional<ImageView> read_image(const ImageHeader* header);

// The unit type descriptor of type reference (library number << 16) | type number, both from 1;
// null when either is out of range or the slot is empty (all zero).
const UnitTypeDescriptor* find_unit_type(std::span<const LibraryRecord* const> libraries,
                                         std::uint32_t reference);

}  // namespace runtime
