// The font as application code sees it: a font record of seven fields, or one field of it picked
// by a selector, mapped onto the 60-byte LOGFONTA that units keep.
// Contract:
// - FontRecord is the seven documented fields in order, the face name a native pointer to a
//   NUL-terminated text. A record read from a unit is one runtime block (release() frees it
//   whole): the face text lives in the same block, right behind the record, and the face pointer
//   is never null there (an empty face points at a NUL byte).
// - Selectors 0-6 pick angle, bold, italic, strikeout, underline, size and face name; -1 the
//   whole record. Any other selector reads 0 and writes nothing.
// - A font value that is not exactly 60 bytes counts as absent: the stock DEFAULT_GUI_FONT's
//   LOGFONTA stands in for it.
// - Writing: the angle is taken modulo 3600 and made non-negative; bold becomes weight 700 or 0;
//   a negative size counts as 0; the face name becomes "宋体" when, with selector 6, it is empty
//   or 32 bytes or longer, or when, in a whole record, it is null or 31 bytes or longer.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "platform/api/gdi.h"

namespace ui {

struct FontRecord {
  std::int32_t angle;  // tenths of a degree
  std::int32_t bold;
  std::int32_t italic;
  std::int32_t strikeout;
  std::int32_t underline;
  std::int32_t size;  // points
  const char* face;
};

inline constexpr std::int32_t kWholeFont = -1;

// The LOGFONTA of a font value, or the default GUI font's when the value is not 60 bytes.
LOGFONTA logfont_or_default(std::span<const std::uint8_t> font_value);

// Reading: a new runtime value for the selector (font record pointer, text pointer, or the
// 32-bit field in the low word).
std::uint64_t read_font(const LOGFONTA& font, std::int32_t selector);

// Writing one field (selectors 0-6) into a LOGFONTA; false for any other selector.
bool write_font_field(LOGFONTA& font, std::int32_t selector, std::uint64_t value);

// The LOGFONTA a whole font record stands for; nullopt for an absent record (null).
std::optional<LOGFONTA> logfont_from_record(const FontRecord* record);

// Points <-> lfHeight at the screen's vertical resolution.
std::int32_t font_height_from_points(std::int32_t points);
std::int32_t font_points_from_height(std::int32_t height);

}  // namespace ui
