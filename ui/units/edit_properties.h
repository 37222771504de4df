// The edit box's property set and its property data block.
// Contract: parse reads a block of version 0-2 (data source and column exist from version 2),
// clamps the choice values into their ranges and a negative maximum length to 0, and answers
// nullopt for a newer version or a block that ends early. serialize writes the current version.
// The defaults are those of a single-line input box of this program.
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

// Own property indexes (property index - 8).
namespace edit_property {
inline constexpr std::int32_t kContent = 0;
inline constexpr std::int32_t kBorder = 1;
inline constexpr std::int32_t kTextColour = 2;
inline constexpr std::int32_t kBackground = 3;
inline constexpr std::int32_t kFont = 4;
inline constexpr std::int32_t kHideSelection = 5;
inline constexpr std::int32_t kMaxLength = 6;
inline constexpr std::int32_t kMultiLine = 7;
inline constexpr std::int32_t kScrollBars = 8;
inline constexpr std::int32_t kAlignment = 9;
inline constexpr std::int32_t kInputMode = 10;
inline constexpr std::int32_t kPasswordChar = 11;
inline constexpr std::int32_t kCaseConversion = 12;
inline constexpr std::int32_t kAdjuster = 13;
inline constexpr std::int32_t kAdjusterMin = 14;
inline constexpr std::int32_t kAdjusterMax = 15;
inline constexpr std::int32_t kSelectionStart = 16;
inline constexpr std::int32_t kSelectionLength = 17;
inline constexpr std::int32_t kSelectedText = 18;
inline constexpr std::int32_t kDataSource = 19;
inline constexpr std::int32_t kDataColumn = 20;
}  // namespace edit_property

// Styles the native edit control only takes at creation re-create it when they change. The
// password character (one byte shown as a text) and the selected text are the unit's own.
inline constexpr std::array<PropertyRow<EditProperties>, 21> kEditPropertyTable{{
    {edit_property::kContent, &EditProperties::content, kind::kText},
    {edit_property::kBorder, &EditProperties::border, kind::kChoice},
    {edit_property::kTextColour, &EditProperties::text_colour, kind::kColour},
    {edit_property::kBackground, &EditProperties::background, kind::kBackColour},
    {edit_property::kFont, &EditProperties::font, kind::kFont},
    {edit_property::kHideSelection, &EditProperties::hide_selection, kind::kLogical, true},
    {edit_property::kMaxLength, &EditProperties::max_length, kind::kInteger},
    {edit_property::kMultiLine, &EditProperties::multi_line, kind::kLogical, true},
    {edit_property::kScrollBars, &EditProperties::scroll_bars, kind::kChoice, true},
    {edit_property::kAlignment, &EditProperties::alignment, kind::kChoice, true},
    {edit_property::kInputMode, &EditProperties::input_mode, kind::kChoice},
    {edit_property::kPasswordChar, {}, kind::kText},
    {edit_property::kCaseConversion, &EditProperties::case_conversion, kind::kChoice, true},
    {edit_property::kAdjuster, &EditProperties::adjuster, kind::kChoice, true},
    {edit_property::kAdjusterMin, &EditProperties::adjuster_min, kind::kInteger},
    {edit_property::kAdjusterMax, &EditProperties::adjuster_max, kind::kInteger},
    {edit_property::kSelectionStart, &EditProperties::selection_start, kind::kInteger},
    {edit_property::kSelectionLength, &EditProperties::selection_length, kind::kInteger},
    {edit_property::kSelectedText, {}, kind::kText},
    {edit_property::kDataSource, &EditProperties::data_source, kind::kDataSource},
    {edit_property::kDataColumn, &EditProperties::data_column, kind::kDataColumn},
}};

}  // namespace ui
