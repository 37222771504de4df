#include "ui/units/unit_values.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "platform/api/user.h"

namespace ui {

COLORREF resolve_colour(COLORREF colour) {
  return colour == kDefaultColour ? GetSysColor(COLOR_BTNFACE) : colour;
}

UnitFont::UnitFont(std::span<const std::uint8_t> logfont_bytes) {
  if (logfont_bytes.size() != sizeof(LOGFONTA)) return;
  LOGFONTA lf{};
  std::memcpy(&lf, logfont_bytes.data(), sizeof lf);
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfOutPrecision = 0;
  lf.lfClipPrecision = 0;
  lf.lfQuality = PROOF_QUALITY;
  lf.lfPitchAndFamily = 0;
  // The face name may arrive without a terminator.
  lf.lfFaceName[LF_FACESIZE - 1] = '\0';
  owned_ = CreateFontIndirectA(&lf);
}

UnitFont::~UnitFont() {
  if (owned_ != nullptr) DeleteObject(owned_);
}

UnitFont::UnitFont(UnitFont&& other) noexcept : owned_(std::exchange(other.owned_, nullptr)) {}

UnitFont& UnitFont::operator=(UnitFont&& other) noexcept {
  if (this != &other) {
    if (owned_ != nullptr) DeleteObject(owned_);
    owned_ = std::exchange(other.owned_, nullptr);
  }
  return *this;
}

HFONT UnitFont::handle() const {
  return owned_ != nullptr ? owned_ : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

DWORD border_ex_style(std::int32_t style) {
  switch (style) {
    case 1:
      return WS_EX_CLIENTEDGE;
    case 2:
      return WS_EX_DLGMODALFRAME;
    case 3:
      return WS_EX_STATICEDGE;
    case 4:
      return WS_EX_CLIENTEDGE | WS_EX_DLGMODALFRAME;
    default:
      return 0;
  }
}

DWORD border_style_bits(std::int32_t style) {
  return style == 5 ? WS_BORDER : 0;
}

void apply_border_style(HWND hwnd, std::int32_t style) {
  if (hwnd == nullptr) return;
  constexpr DWORD kExMask = WS_EX_DLGMODALFRAME | WS_EX_CLIENTEDGE | WS_EX_STATICEDGE;
  const auto ex = static_cast<DWORD>(GetWindowLongA(hwnd, GWL_EXSTYLE));
  const auto bits = static_cast<DWORD>(GetWindowLongA(hwnd, GWL_STYLE));
  SetWindowLongA(hwnd, GWL_EXSTYLE, static_cast<LONG>((ex & ~kExMask) | border_ex_style(style)));
  SetWindowLongA(hwnd, GWL_STYLE, static_cast<LONG>((bits & ~WS_BORDER) | border_style_bits(style)));
  SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

std::int32_t clamp_choice(std::int32_t value, std::int32_t low, std::int32_t high) {
  return std::clamp(value, low, high);
}

bool PropertyReader::field(std::int32_t& out) {
  auto v = i32();
  if (v) out = *v;
  return v.has_value();
}

bool PropertyReader::field(std::uint32_t& out) {
  auto v = u32();
  if (v) out = *v;
  return v.has_value();
}

bool PropertyReader::field(bool& out) {
  auto v = u32();
  if (v) out = *v != 0;
  return v.has_value();
}

bool PropertyReader::field(std::string& out) {
  auto v = counted_text();
  if (v) out = std::move(*v);
  return v.has_value();
}

bool PropertyReader::field(std::uint16_t& out) {
  auto v = u16();
  if (v) out = *v;
  return v.has_value();
}

bool PropertyReader::field(std::vector<std::uint8_t>& out) {
  auto v = counted_bytes();
  if (v) out = std::move(*v);
  return v.has_value();
}

}  // namespace ui
