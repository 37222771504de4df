// The picture box's property set and its property data block.
// Contract: the block is a u32 version (at most kPictureBoxVersion) followed by, in this order:
// u32 border style, u32 background colour, u32 display mode, u32 play animation, bytes picture,
// and from version 2 on text data source and text data column (texts and bytes are a u32
// length and that many bytes). parse() answers nothing for a newer version or a block that
// ends early; values are taken as stored (the unit clamps what it uses). serialize() always
// writes the current version.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/api/types.h"
#include "ui/units/property_table.h"

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

// Own property indexes (property index - 8).
namespace picture_box_property {
inline constexpr std::int32_t kBorderStyle = 0;
inline constexpr std::int32_t kBackground = 1;
inline constexpr std::int32_t kPicture = 2;  // kept decoded by the live box, not in the set
inline constexpr std::int32_t kMode = 3;
inline constexpr std::int32_t kPlayAnimation = 4;
inline constexpr std::int32_t kDataSource = 5;
inline constexpr std::int32_t kDataColumn = 6;
}  // namespace picture_box_property

inline constexpr std::array<PropertyRow<PictureBoxProperties>, 7> kPictureBoxPropertyTable{{
    {picture_box_property::kBorderStyle, &PictureBoxProperties::border_style, kind::kChoice},
    {picture_box_property::kBackground, &PictureBoxProperties::background, kind::kBackColour},
    {picture_box_property::kPicture, &PictureBoxProperties::picture, kind::kPicture},
    {picture_box_property::kMode, &PictureBoxProperties::mode, kind::kChoice},
    {picture_box_property::kPlayAnimation, &PictureBoxProperties::play_animation, kind::kLogical},
    {picture_box_property::kDataSource, &PictureBoxProperties::data_source, kind::kDataSource},
    {picture_box_property::kDataColumn, &PictureBoxProperties::data_column, kind::kDataColumn},
}};

}  // namespace ui
