// Value conventions shared by the unit types: colours with their default, fonts from 60-byte
// LOGFONTA blobs, border styles, and the reading and writing of property data blocks.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/api/gdi.h"
#include "platform/api/types.h"
#include "ui/bytes/byte_reader.h"
#include "ui/bytes/byte_writer.h"
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

// Reads a property data block: a u32 version, then fields, through the shared bounds-checked
// reader; blocks are written with lyr::ByteWriter (counted texts and byte runs).
class PropertyReader : public lyr::ByteReader {
 public:
  explicit PropertyReader(std::span<const std::uint8_t> block) : lyr::ByteReader(block) {}

  // The reads into a field: false (field untouched) when the block ends first. A logical
  // field takes any non-zero word as true.
  bool field(std::int32_t& out);
  bool field(std::uint32_t& out);
  bool field(bool& out);
  bool field(std::string& out);
  bool field(std::vector<std::uint8_t>& out);
  bool field(std::uint16_t& out);
  template <std::size_t N>
  bool field(std::array<std::uint32_t, N>& out) {
    for (std::uint32_t& v : out)
      if (!field(v)) return false;
    return true;
  }
};

// The writing side of PropertyReader::field, so that one list of a set's fields in stored order
// can drive both the reading and the writing of its block.
class PropertyWriter : public lyr::ByteWriter {
 public:
  void field(std::int32_t v) { i32(v); }
  void field(std::uint32_t v) { u32(v); }
  void field(bool v) { u32(v ? 1 : 0); }
  void field(std::string_view v) { counted_text(v); }
  void field(std::span<const std::uint8_t> v) { counted(v); }
  void field(std::uint16_t v) { u16(v); }
  template <std::size_t N>
  void field(const std::array<std::uint32_t, N>& v) {
    for (std::uint32_t x : v) u32(x);
  }
};

// A property set's block: its version word, then the fields `fields(set, each, version)` hands
// to `each` in stored order, stopping at the first one `each` answers false for. Fields a later
// version added are listed only from that version on, so an older block is read as it was
// written; the newest version is always written.
template <class Set, class Fields>
std::optional<Set> read_block(std::span<const std::uint8_t> block, std::uint32_t newest, Fields fields) {
  PropertyReader r(block);
  const auto version = r.u32();
  if (!version || *version > newest) return std::nullopt;
  Set set;
  if (!fields(
          set, [&](auto& field) { return r.field(field); }, *version))
    return std::nullopt;
  return set;
}

template <class Set, class Fields>
std::vector<std::uint8_t> write_block(const Set& set, std::uint32_t version, Fields fields) {
  PropertyWriter w;
  w.u32(version);
  fields(
      set,
      [&](const auto& field) {
        w.field(field);
        return true;
      },
      version);
  return w.take();
}

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
