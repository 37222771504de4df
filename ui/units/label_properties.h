// The label unit's property set and its property data block (current version 2).
// Contract: parse reads a block of version 1 or 2 (version 1 has no data
// source and data column) and answers nullopt for a newer version or a truncated block (bytes
// after the last field are ignored). Stored choices are clamped as writes clamp them. serialize
// always writes version 2, in stored order: text effect, frame width, border style, frame
// colours x3, text colour, background, picture mode, gradient mode, gradient colours x3,
// horizontal alignment, vertical alignment, word wrap, font, background picture, caption, data
// source, data column.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/api/types.h"
#include "ui/units/property_table.h"
#include "ui/units/unit_values.h"

namespace ui {

inline constexpr std::uint32_t kLabelPropertiesVersion = 2;
inline constexpr std::int32_t kLabelPaintedFrame = 6;
inline constexpr std::int32_t kLabelMinimumFrameWidth = 5;

// Own property indexes (property index - 8).
namespace label_property {
inline constexpr std::int32_t kCaption = 0;
inline constexpr std::int32_t kTextEffect = 1;
inline constexpr std::int32_t kBorderStyle = 2;
inline constexpr std::int32_t kFrameWidth = 3;
inline constexpr std::int32_t kFrameColour1 = 4;  // to 6
inline constexpr std::int32_t kFont = 7;
inline constexpr std::int32_t kTextColour = 8;
inline constexpr std::int32_t kBackground = 9;
inline constexpr std::int32_t kBackgroundPicture = 10;
inline constexpr std::int32_t kPictureMode = 11;
inline constexpr std::int32_t kGradientMode = 12;
inline constexpr std::int32_t kGradientColour1 = 13;  // to 15
inline constexpr std::int32_t kAlignment = 16;
inline constexpr std::int32_t kWordWrap = 17;
inline constexpr std::int32_t kVerticalAlignment = 18;
inline constexpr std::int32_t kDataSource = 19;
inline constexpr std::int32_t kDataColumn = 20;
inline constexpr std::int32_t kCount = 21;
}  // namespace label_property

struct LabelProperties {
  std::string caption;
  std::int32_t text_effect = 0;   // 0-3
  std::int32_t border_style = 0;  // 0-6
  std::int32_t frame_width = 8;
  std::array<COLORREF, 3> frame_colours = {0x808080, 0xFFFFFF, 0x808080};
  std::vector<std::uint8_t> font;  // 60 bytes of LOGFONTA, or anything else for the default
  COLORREF text_colour = 0;
  COLORREF background = kDefaultColour;
  std::vector<std::uint8_t> background_picture;
  std::int32_t picture_mode = 1;   // 0-2
  std::int32_t gradient_mode = 0;  // 0-8
  std::array<COLORREF, 3> gradient_colours = {0x808080, 0xFFFFFF, 0x808080};
  std::int32_t alignment = 0;  // 0-2
  bool word_wrap = true;
  std::int32_t vertical_alignment = 1;  // 0-2
  std::string data_source;
  std::string data_column;

  static std::optional<LabelProperties> parse(std::span<const std::uint8_t> block);
  std::vector<std::uint8_t> serialize() const;

  bool operator==(const LabelProperties&) const = default;
};

// The background picture row's field is the stored bytes; the unit also decodes them.
inline constexpr std::array<PropertyRow<LabelProperties>, label_property::kCount> kLabelPropertyTable{{
    {label_property::kCaption, &LabelProperties::caption, kind::kText},
    {label_property::kTextEffect, &LabelProperties::text_effect, kind::kChoice},
    {label_property::kBorderStyle, &LabelProperties::border_style, kind::kChoice},
    {label_property::kFrameWidth, &LabelProperties::frame_width, kind::kInteger},
    {label_property::kFrameColour1, &LabelProperties::frame_colours, kind::kColour2, false, 0},
    {label_property::kFrameColour1 + 1, &LabelProperties::frame_colours, kind::kColour2, false, 1},
    {label_property::kFrameColour1 + 2, &LabelProperties::frame_colours, kind::kColour2, false, 2},
    {label_property::kFont, &LabelProperties::font, kind::kFont},
    {label_property::kTextColour, &LabelProperties::text_colour, kind::kColour},
    {label_property::kBackground, &LabelProperties::background, kind::kBackColour},
    {label_property::kBackgroundPicture, &LabelProperties::background_picture, kind::kPicture},
    {label_property::kPictureMode, &LabelProperties::picture_mode, kind::kChoice},
    {label_property::kGradientMode, &LabelProperties::gradient_mode, kind::kChoice},
    {label_property::kGradientColour1, &LabelProperties::gradient_colours, kind::kColour2, false, 0},
    {label_property::kGradientColour1 + 1, &LabelProperties::gradient_colours, kind::kColour2, false, 1},
    {label_property::kGradientColour1 + 2, &LabelProperties::gradient_colours, kind::kColour2, false, 2},
    {label_property::kAlignment, &LabelProperties::alignment, kind::kChoice},
    {label_property::kWordWrap, &LabelProperties::word_wrap, kind::kLogical},
    {label_property::kVerticalAlignment, &LabelProperties::vertical_alignment, kind::kChoice},
    {label_property::kDataSource, &LabelProperties::data_source, kind::kDataSource},
    {label_property::kDataColumn, &LabelProperties::data_column, kind::kDataColumn},
}};

// Clamps every choice field into its range.
void clamp_choices(LabelProperties& properties);

}  // namespace ui
