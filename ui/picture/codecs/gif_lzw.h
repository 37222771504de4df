// The variable-length-code LZW of GIF image data.
// Contract: min_code_size must be 1..8 (checked by the caller before any table exists).
// Codes are read least significant bit first from data (the image's sub-blocks joined);
// decoded indices are written to out from its start, at most out.size() of them, and the count
// written is returned. Decoding stops at the end code, at the end of data or when out is
// full (a run longer than the frame is cut, not an error). A code above the next free table
// slot, or a reference to the free slot with nothing before it, is an error. The table stops
// growing at 4096 entries; strings are expanded iteratively from a chain whose every link
// points to a smaller code, so no chain can be cyclic or deeper than 4096.
#pragma once

#include <cstdint>
#include <span>

#include "platform/kernel/result.h"

namespace lyr::picture {

Result<std::size_t> decode_gif_lzw(std::span<const std::uint8_t> data, int min_code_size,
                                   std::span<std::uint8_t> out);

}  // namespace lyr::picture
