// The group box's property set and its property data block.
// Contract: parse reads a block of version 0-1, clamps the alignment to 0-2, and answers
// nullopt for a newer version or a block that ends early. serialize writes the current version.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

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

}  // namespace ui
