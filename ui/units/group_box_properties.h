// The group box's property set and its property data block.
// Contract: parse reads a block of version 0-1, clamps the alignment to 0-2, and answers
// nullopt for a newer version or a block that ends early. serialize writes the current version.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "ui/units/property_table.h"
#include "ui/units/unit_values.h"

namespace ui {

struct GroupBoxProperties {
  static constexpr std::uint32_t kVersion = 1;

  std::string caption;
  std::int32_t alignment = 0;  // 0 left, 1 centre, 2 right
  COLORREF text_colour = 0;
  COLORREF background = kDefaultColour;
  std::vector<std::uint8_t> font;

  static std::optional<GroupBoxProperties> parse(std::span<const std::uint8_t> block);
  std::vector<std::uint8_t> serialize() const;
};

// Own property indexes (property index - 8).
namespace group_box_property {
inline constexpr std::int32_t kCaption = 0;
inline constexpr std::int32_t kAlignment = 1;
inline constexpr std::int32_t kTextColour = 2;
inline constexpr std::int32_t kBackground = 3;
inline constexpr std::int32_t kFont = 4;
}  // namespace group_box_property

inline constexpr std::array<PropertyRow<GroupBoxProperties>, 5> kGroupBoxPropertyTable{{
    {group_box_property::kCaption, &GroupBoxProperties::caption, kind::kText},
    {group_box_property::kAlignment, &GroupBoxProperties::alignment, kind::kChoice},
    {group_box_property::kTextColour, &GroupBoxProperties::text_colour, kind::kColour},
    {group_box_property::kBackground, &GroupBoxProperties::background, kind::kBackColour},
    {group_box_property::kFont, &GroupBoxProperties::font, kind::kFont},
}};

}  // namespace ui
