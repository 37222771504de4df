// Value conventions shared by the unit types: colours with their default, fonts from 60-byte
// LOGFONTA blobs, border styles, and the reading and writing of property data blocks.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/api/gdi.h"
#include "platform/api/types.h"
#include "ui/units/unit_interface.h"

namespace ui {

inline constexpr COLORREF kDefaultColour = 0xFF000000;
// The colour to draw: the default colour is the system's COLOR_BTNFACE.
COLORREF resolve_colour(COLORREF colour);

// A font made from a property value: exactly 60 bytes of LOGFONTA (copied with lfCharSet
// DEFAULT_CHARSET, precisions 0, PROOF_QUALITY, pitch and family 0), else the stock
// DEFAULT_GUI_FONT. Owns the font it created; the stock font is never deleted.
class UnitFont {
 public:
  UnitFont() = default;
  explicit UnitFont(std::span<const std::uint8_t> logfont_bytes);
  ~UnitFont();
  UnitFont(UnitFont&& other) noexcept;
  UnitFont& operator=(UnitFont&& other) noexcept;
  UnitFont(const UnitFont&) = delete;
  UnitFont& operator=(const UnitFont&) = delete;
  HFONT handle() const;  // never null

 private:
  HFONT owned_ = nullptr;
};

// Applies a shared border style 0-5 (anything else: none) to a native window: replaces
// WS_EX_DLGMODALFRAME | WS_EX_CLIENTEDGE | WS_EX_STATICEDGE and WS_BORDER, then SWP_FRAMECHANGED.
void apply_border_style(HWND hwnd, std::int32_t style);
// The extended style and style bits of a border style (for creation).
DWORD border_ex_style(std::int32_t style);
DWORD border_style_bits(std::int32_t style);

// Clamps a choice value into [low, high].
std::int32_t clamp_choice(std::int32_t value, std::int32_t low, std::int32_t high);

// Reads a property data block: a u32 version, then fields. Every read fails (nullopt) instead
// of running past the block.
class PropertyReader {
 public:
  explicit PropertyReader(std::span<const std::uint8_t> block) : bytes_(block) {}
  std::optional<std::uint32_t> u32();
  std::optional<std::int32_t> i32();
  std::optional<std::uint16_t> u16();
  std::optional<std::string> text();                 // u32 length + bytes
  std::optional<std::vector<std::uint8_t>> bytes();  // u32 length + bytes
  std::size_t remaining() const { return bytes_.size() - pos_; }

  // The same reads into a field: false (field untouched) when the block ends first. A logical
  // field takes any non-zero word as true.
  bool field(std::int32_t& out);
  bool field(std::uint32_t& out);
  bool field(bool& out);
  bool field(std::string& out);
  bool field(std::vector<std::uint8_t>& out);

 private:
  std::span<const std::uint8_t> bytes_;
  std::size_t pos_ = 0;
};

class PropertyWriter {
 public:
  void u32(std::uint32_t v);
  void i32(std::int32_t v) { u32(static_cast<std::uint32_t>(v)); }
  void u16(std::uint16_t v);
  void text(std::string_view s);
  void bytes(std::span<const std::uint8_t> b);
  std::vector<std::uint8_t> take() { return std::move(out_); }

 private:
  std::vector<std::uint8_t> out_;
};

// Property pairs of the common value shapes.
inline PropertyPair int_pair(std::int32_t v) {
  return {static_cast<std::intptr_t>(v), 0};
}
inline PropertyPair data_pair(const void* data, std::size_t size) {
  return {reinterpret_cast<std::intptr_t>(data), static_cast<std::intptr_t>(size)};
}
inline std::int32_t pair_int(const PropertyPair& p) {
  return static_cast<std::int32_t>(p.first);
}
// The bytes of a data pair (empty for a null pointer).
inline std::span<const std::uint8_t> pair_bytes(const PropertyPair& p) {
  if (p.first == 0 || p.second <= 0) return {};
  return {reinterpret_cast<const std::uint8_t*>(p.first), static_cast<std::size_t>(p.second)};
}
// A text pair holds a NUL-terminated pointer (null: empty).
inline std::string_view pair_text(const PropertyPair& p) {
  return p.first == 0 ? std::string_view{} : std::string_view(reinterpret_cast<const char*>(p.first));
}

}  // namespace ui
