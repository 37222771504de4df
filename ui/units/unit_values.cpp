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

std::optional<std::uint32_t> PropertyReader::u32() {
  if (remaining() < 4) return std::nullopt;
  const std::uint8_t* p = bytes_.data() + pos_;
  pos_ += 4;
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

std::optional<std::int32_t> PropertyReader::i32() {
  auto v = u32();
  if (!v) return std::nullopt;
  return static_cast<std::int32_t>(*v);
}

std::optional<std::uint16_t> PropertyReader::u16() {
  if (remaining() < 2) return std::nullopt;
  const std::uint8_t* p = bytes_.data() + pos_;
  pos_ += 2;
  return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

std::optional<std::vector<std::uint8_t>> PropertyReader::bytes() {
  const std::size_t start = pos_;
  auto length = u32();
  if (!length) return std::nullopt;
  if (*length > remaining()) {
    pos_ = start;
    return std::nullopt;
  }
  const std::uint8_t* p = bytes_.data() + pos_;
  pos_ += *length;
  return std::vector<std::uint8_t>(p, p + *length);
}

std::optional<std::string> PropertyReader::text() {
  auto raw = bytes();
  if (!raw) return std::nullopt;
  return std::string(raw->begin(), raw->end());
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
  auto v = text();
  if (v) out = std::move(*v);
  return v.has_value();
}

bool PropertyReader::field(std::vector<std::uint8_t>& out) {
  auto v = bytes();
  if (v) out = std::move(*v);
  return v.has_value();
}

void PropertyWriter::u32(std::uint32_t v) {
  for (int shift = 0; shift < 32; shift += 8) out_.push_back(static_cast<std::uint8_t>(v >> shift));
}

void PropertyWriter::u16(std::uint16_t v) {
  out_.push_back(static_cast<std::uint8_t>(v));
  out_.push_back(static_cast<std::uint8_t>(v >> 8));
}

void PropertyWriter::text(std::string_view s) {
  u32(static_cast<std::uint32_t>(s.size()));
  out_.insert(out_.end(), s.begin(), s.end());
}

void PropertyWriter::bytes(std::span<const std::uint8_t> b) {
  u32(static_cast<std::uint32_t>(b.size()));
  out_.insert(out_.end(), b.begin(), b.end());
}

}  // namespace ui
