// Icons and cursors: the directory walk and the chosen entry as pixels.
// Contract: choose_icon_entry walks the 16-byte directory entries in order and picks the first
// whose width byte is 32 and whose colour-count byte is above 15, else the last one; every
// entry must lie inside the data. decode_icon_entry turns the entry's image (a
// device-independent bitmap with its AND mask, or an embedded PNG held to the same limits)
// into B,G,R,A top-down pixels. A huge count in a tiny file, offsets past the end, a missing
// mask or an illegal header are errors.
#pragma once

#include "ui/picture/codecs/codec.h"

namespace lyr::picture {

struct IconEntry {
  std::uint32_t index = 0;
  std::uint8_t width_byte = 0;   // 0 means 256
  std::uint8_t height_byte = 0;  // 0 means 256
  std::uint8_t colour_count = 0;
  std::uint16_t planes_or_hotspot_x = 0;
  std::uint16_t bits_or_hotspot_y = 0;
  std::uint32_t size = 0;
  std::uint32_t offset = 0;
};

// type is 1 for icons, 2 for cursors.
Result<IconEntry> choose_icon_entry(Bytes bytes, std::uint16_t type);
Result<DecodedPicture> decode_icon_entry(Bytes bytes, const IconEntry& entry, PictureFormat kind,
                                         const DecodeLimits& limits);

}  // namespace lyr::picture
