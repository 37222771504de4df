// The edit box's property set and its property data block.
// Contract: parse reads a block of version 0-2 (data source and column exist from version 2),
// clamps the choice values into their ranges and a negative maximum length to 0, and answers
// nullopt for a newer version or a block that ends early. serialize writes the current version.
// The defaults are those of a single-line input box of this program.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "ui/units/unit_values.h"

namespace ui {

struct EditProperties {
  static constexpr std::uint32_t kVersion = 2;

  std::string content;
  std::int32_t border = 5;
  COLORREF text_colour = 0;
  COLORREF background = 0xFFFFFF;
  std::vector<std::uint8_t> font;
  bool hide_selection = true;
  std::int32_t max_length = 0;
  bool multi_line = false;
  std::int32_t scroll_bars = 0;  // 0 none, 1 horizontal, 2 vertical, 3 both
  std::int32_t alignment = 0;    // 0 left, 1 centre, 2 right
  std::int32_t input_mode = 0;
  std::uint16_t password_char = '*';
  std::int32_t case_conversion = 0;  // 0 none, 1 lower, 2 upper
  std::int32_t adjuster = 0;         // 0 none, 1 automatic, 2 manual
  std::int32_t adjuster_min = 0;
  std::int32_t adjuster_max = 100;
  std::int32_t selection_start = 0;
  std::int32_t selection_length = 0;
  std::string data_source;
  std::string data_column;

  static std::optional<EditProperties> parse(std::span<const std::uint8_t> block);
  std::vector<std::uint8_t> serialize() const;
  // Brings choice values into range (for values from a block or a setter).
  void clamp();
};

}  // namespace ui
