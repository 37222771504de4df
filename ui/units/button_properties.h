// The button's property set and its property data block.
// Contract: parse reads a block of version 0-1, clamps the type to 0-1 and the alignments to
// 0-2, and answers nullopt for a newer version or a block that ends early. serialize writes
// the current version.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "ui/units/property_table.h"

namespace ui {

struct ButtonProperties {
  static constexpr std::uint32_t kVersion = 1;

  std::vector<std::uint8_t> picture;
  std::int32_t type = 0;  // 0 normal, 1 default button
  std::string caption;
  std::int32_t horizontal_alignment = 1;  // 0 left, 1 centre, 2 right
  std::int32_t vertical_alignment = 1;    // 0 top, 1 centre, 2 bottom
  std::vector<std::uint8_t> font;

  static std::optional<ButtonProperties> parse(std::span<const std::uint8_t> block);
  std::vector<std::uint8_t> serialize() const;
  void clamp();
};

// Own property indexes (property index - 8).
namespace button_property {
inline constexpr std::int32_t kPicture = 0;
inline constexpr std::int32_t kType = 1;
inline constexpr std::int32_t kCaption = 2;
inline constexpr std::int32_t kHorizontalAlignment = 3;
inline constexpr std::int32_t kVerticalAlignment = 4;
inline constexpr std::int32_t kFont = 5;
}  // namespace button_property

// The picture decides the button's style: a new one needs a new native button.
inline constexpr std::array<PropertyRow<ButtonProperties>, 6> kButtonPropertyTable{{
    {button_property::kPicture, &ButtonProperties::picture, kind::kPicture, true},
    {button_property::kType, &ButtonProperties::type, kind::kChoice},
    {button_property::kCaption, &ButtonProperties::caption, kind::kText},
    {button_property::kHorizontalAlignment, &ButtonProperties::horizontal_alignment, kind::kChoice},
    {button_property::kVerticalAlignment, &ButtonProperties::vertical_alignment, kind::kChoice},
    {button_property::kFont, &ButtonProperties::font, kind::kFont},
}};

}  // namespace ui
