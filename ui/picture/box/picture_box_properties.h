// The picture box's property set and its property data block.
// Contract: the block is a u32 version (at most kPictureBoxVersion) followed by, in this order:
// u32 border style, u32 background colour, u32 display mode, u32 play animation, bytes picture,
// and from version 2 on text data source and text data column (texts and bytes are a u32
// length and that many bytes). parse() answers nothing for a newer version or a block that
// ends early; values are taken as stored (the unit clamps what it uses). serialize() always
// writes the current version.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/api/types.h"

namespace ui {

inline constexpr std::uint32_t kPictureBoxVersion = 2;

struct PictureBoxProperties {
  std::int32_t border_style = 0;
  COLORREF background = 0xFF000000;  // the default colour
  std::int32_t mode = 0;             // 0 natural, 1 stretched, 2 centred and fit, 3 box fits picture
  bool play_animation = true;
  std::vector<std::uint8_t> picture;
  std::string data_source;
  std::string data_column;

  static std::optional<PictureBoxProperties> parse(std::span<const std::uint8_t> block);
  std::vector<std::uint8_t> serialize() const;
};

}  // namespace ui
