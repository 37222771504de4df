#include "ui/access/font_record.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "platform/api/kernel.h"
#include "platform/api/user.h"
#include "runtime/heap.h"
#include "runtime/values.h"
#include "ui/state/messages.h"

namespace ui {
namespace {

constexpr LONG kBoldWeight = 700;
constexpr std::int32_t kFullCircle = 3600;

int screen_pixels_per_inch() {
  HDC screen = GetDC(nullptr);
  int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
  if (screen != nullptr) ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : 96;
}

std::string_view face_of(const LOGFONTA& font) {
  return {font.lfFaceName, strnlen(font.lfFaceName, sizeof font.lfFaceName)};
}

void set_face(LOGFONTA& font, std::string_view face) {
  std::memset(font.lfFaceName, 0, sizeof font.lfFaceName);
  std::memcpy(font.lfFaceName, face.data(), std::min(face.size(), sizeof font.lfFaceName - 1));
}

std::int32_t normal_angle(std::int32_t angle) {
  std::int32_t a = angle % kFullCircle;
  return a < 0 ? a + kFullCircle : a;
}

std::uint64_t word(std::int32_t v) {
  return static_cast<std::uint32_t>(v);
}

std::uint64_t pointer_value(const void* p) {
  return reinterpret_cast<std::uintptr_t>(p);
}

// One block: the record, then its face text.
FontRecord* make_font_record(const LOGFONTA& font) {
  std::string_view face = face_of(font);
  auto* block = static_cast<std::uint8_t*>(runtime::allocate(sizeof(FontRecord) + face.size() + 1));
  auto* record = reinterpret_cast<FontRecord*>(block);
  char* text = reinterpret_cast<char*>(block + sizeof(FontRecord));
  std::memcpy(text, face.data(), face.size());
  text[face.size()] = '\0';
  record->angle = font.lfOrientation;
  record->bold = font.lfWeight >= kBoldWeight ? 1 : 0;
  record->italic = font.lfItalic != 0 ? 1 : 0;
  record->strikeout = font.lfStrikeOut != 0 ? 1 : 0;
  record->underline = font.lfUnderline != 0 ? 1 : 0;
  record->size = font_points_from_height(font.lfHeight);
  record->face = text;
  return record;
}

}  // namespace

std::int32_t font_height_from_points(std::int32_t points) {
  return -MulDiv(points < 0 ? 0 : points, screen_pixels_per_inch(), 72);
}

std::int32_t font_points_from_height(std::int32_t height) {
  return MulDiv(height < 0 ? -height : height, 72, screen_pixels_per_inch());
}

LOGFONTA logfont_or_default(std::span<const std::uint8_t> font_value) {
  LOGFONTA font{};
  if (font_value.size() == sizeof(LOGFONTA)) {
    std::memcpy(&font, font_value.data(), sizeof font);
    return font;
  }
  if (GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font) != sizeof font) font = LOGFONTA{};
  return font;
}

std::uint64_t read_font(const LOGFONTA& font, std::int32_t selector) {
  switch (selector) {
    case kWholeFont:
      return pointer_value(make_font_record(font));
    case 0:
      return word(font.lfOrientation);
    case 1:
      return font.lfWeight >= kBoldWeight ? 1 : 0;
    case 2:
      return font.lfItalic != 0 ? 1 : 0;
    case 3:
      return font.lfStrikeOut != 0 ? 1 : 0;
    case 4:
      return font.lfUnderline != 0 ? 1 : 0;
    case 5:
      return word(font_points_from_height(font.lfHeight));
    case 6:
      return pointer_value(runtime::make_text(face_of(font)));
    default:
      return 0;
  }
}

bool write_font_field(LOGFONTA& font, std::int32_t selector, std::uint64_t value) {
  const auto v = static_cast<std::int32_t>(value);
  switch (selector) {
    case 0:
      font.lfEscapement = font.lfOrientation = normal_angle(v);
      return true;
    case 1:
      font.lfWeight = v != 0 ? kBoldWeight : 0;
      return true;
    case 2:
      font.lfItalic = v != 0 ? 1 : 0;
      return true;
    case 3:
      font.lfStrikeOut = v != 0 ? 1 : 0;
      return true;
    case 4:
      font.lfUnderline = v != 0 ? 1 : 0;
      return true;
    case 5:
      font.lfHeight = font_height_from_points(v);
      return true;
    case 6: {
      std::string_view face =
          runtime::text_or_empty(reinterpret_cast<const char*>(static_cast<std::uintptr_t>(value)));
      // The field holds 31 bytes and a NUL: anything that doesn't fit, or nothing, is the default.
      if (face.empty() || face.size() >= sizeof font.lfFaceName) face = messages::kDefaultFaceName;
      set_face(font, face);
      return true;
    }
    default:
      return false;
  }
}

std::optional<LOGFONTA> logfont_from_record(const FontRecord* record) {
  if (record == nullptr) return std::nullopt;
  LOGFONTA font{};
  font.lfCharSet = DEFAULT_CHARSET;
  write_font_field(font, 0, word(record->angle));
  write_font_field(font, 1, word(record->bold));
  write_font_field(font, 2, word(record->italic));
  write_font_field(font, 3, word(record->strikeout));
  write_font_field(font, 4, word(record->underline));
  write_font_field(font, 5, word(record->size));
  // A whole record keeps an empty face; only a missing or over-long one is replaced.
  std::string_view face = record->face != nullptr ? std::string_view(record->face) : std::string_view{};
  if (record->face == nullptr || face.size() >= sizeof font.lfFaceName - 1) face = messages::kDefaultFaceName;
  set_face(font, face);
  return font;
}

}  // namespace ui
