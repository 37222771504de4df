#include "ui/units/label_unit.h"

#include <algorithm>

#include "platform/api/gdi.h"
#include "platform/api/kernel.h"
#include "platform/api/messages.h"
#include "platform/api/user.h"
#include "ui/units/label_painter.h"
#include "ui/units/property_pair_values.h"
#include "ui/units/window_class.h"

namespace ui {
LabelUnit::LabelUnit(std::uint32_t window_id, std::uint32_t unit_id, LabelProperties properties)
    : Unit(window_id, unit_id), properties_(std::move(properties)), font_(properties_.font) {
  background_.set_bytes(properties_.background_picture, false);
}

LabelUnit* LabelUnit::create(const UnitCreateArgs& args) {
  std::optional<LabelProperties> parsed = parse_label_properties(args.properties);
  if (!parsed || !ensure_unit_class(kLabelClass)) return nullptr;
  const DWORD style =
      WS_CHILD | WS_CLIPSIBLINGS | args.extra_styles | border_style_bits(parsed->border_style);
  HWND hwnd = CreateWindowExA(border_ex_style(parsed->border_style), kLabelClass, parsed->caption.c_str(),
                              style, args.left, args.top, args.width, args.height, args.parent,
                              reinterpret_cast<HMENU>(static_cast<std::uintptr_t>(args.control_id)),
                              GetModuleHandleA(nullptr), nullptr);
  if (hwnd == nullptr) return nullptr;
  auto* unit = new LabelUnit(args.window_id, args.unit_id, std::move(*parsed));
  unit->attach(hwnd);
  return unit;
}

int LabelUnit::get(std::int32_t own, PropertyPair* value) {
  namespace lp = label_property;
  const LabelProperties& p = properties_;
  if (own >= lp::kFrameColour1 && own < lp::kFrameColour1 + 3) {
    *value = int_pair(static_cast<std::int32_t>(p.frame_colours[own - lp::kFrameColour1]));
    return 1;
  }
  if (own >= lp::kGradientColour1 && own < lp::kGradientColour1 + 3) {
    *value = int_pair(static_cast<std::int32_t>(p.gradient_colours[own - lp::kGradientColour1]));
    return 1;
  }
  switch (own) {
    case lp::kCaption:
      *value = text_pair(p.caption);
      break;
    case lp::kTextEffect:
      *value = int_pair(p.text_effect);
      break;
    case lp::kBorderStyle:
      *value = int_pair(p.border_style);
      break;
    case lp::kFrameWidth:
      *value = int_pair(p.frame_width);
      break;
    case lp::kFont:
      *value = bytes_pair(p.font);
      break;
    case lp::kTextColour:
      *value = int_pair(static_cast<std::int32_t>(p.text_colour));
      break;
    case lp::kBackground:
      *value = int_pair(static_cast<std::int32_t>(p.background));
      break;
    case lp::kBackgroundPicture:
      *value = bytes_pair(p.background_picture);
      break;
    case lp::kPictureMode:
      *value = int_pair(p.picture_mode);
      break;
    case lp::kGradientMode:
      *value = int_pair(p.gradient_mode);
      break;
    case lp::kAlignment:
      *value = int_pair(p.alignment);
      break;
    case lp::kWordWrap:
      *value = int_pair(p.word_wrap);
      break;
    case lp::kVerticalAlignment:
      *value = int_pair(p.vertical_alignment);
      break;
    case lp::kDataSource:
      *value = text_pair(p.data_source);
      break;
    case lp::kDataColumn:
      *value = text_pair(p.data_column);
      break;
    default:
      return 0;
  }
  return 1;
}

int LabelUnit::set(std::int32_t own, const PropertyPair& value) {
  namespace lp = label_property;
  LabelProperties& p = properties_;
  const std::int32_t v = pair_int(value);
  if (own >= lp::kFrameColour1 && own < lp::kFrameColour1 + 3) {
    p.frame_colours[own - lp::kFrameColour1] = static_cast<COLORREF>(v);
    repaint();
    return 0;
  }
  if (own >= lp::kGradientColour1 && own < lp::kGradientColour1 + 3) {
    p.gradient_colours[own - lp::kGradientColour1] = static_cast<COLORREF>(v);
    repaint();
    return 0;
  }
  switch (own) {
    case lp::kCaption:
      p.caption = std::string(pair_text(value));
      SetWindowTextA(hwnd(), p.caption.c_str());
      break;
    case lp::kTextEffect:
      p.text_effect = v;
      break;
    case lp::kBorderStyle:
      p.border_style = v;
      apply_border_style(hwnd(), clamp_choice(v, 0, kLabelPaintedFrame));
      break;
    case lp::kFrameWidth:
      p.frame_width = std::max(v, kLabelMinimumFrameWidth);
      break;
    case lp::kFont:
      p.font = copy_bytes(value);
      font_ = UnitFont(p.font);
      break;
    case lp::kTextColour:
      p.text_colour = static_cast<COLORREF>(v);
      break;
    case lp::kBackground:
      p.background = static_cast<COLORREF>(v);
      break;
    case lp::kBackgroundPicture:
      replace_background_picture(p.background_picture, background_, value);
      break;
    case lp::kPictureMode:
      p.picture_mode = v;
      break;
    case lp::kGradientMode:
      p.gradient_mode = v;
      break;
    case lp::kAlignment:
      p.alignment = v;
      break;
    case lp::kWordWrap:
      p.word_wrap = v != 0;
      break;
    case lp::kVerticalAlignment:
      p.vertical_alignment = v;
      break;
    case lp::kDataSource:
      p.data_source = std::string(pair_text(value));
      return 0;
    case lp::kDataColumn:
      p.data_column = std::string(pair_text(value));
      return 0;
    default:
      return 0;
  }
  clamp_choices(p);
  repaint();
  return 0;
}

void LabelUnit::repaint() {
  if (hwnd() != nullptr) InvalidateRect(hwnd(), nullptr, TRUE);
}

void LabelUnit::paint() {
  PAINTSTRUCT ps{};
  HDC dc = BeginPaint(hwnd(), &ps);
  if (dc == nullptr) return;
  RECT client{};
  GetClientRect(hwnd(), &client);
  paint_label(dc, client, properties_, font_.handle(), background_);
  EndPaint(hwnd(), &ps);
}

LRESULT LabelUnit::handle_message(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;  // WM_PAINT covers the whole client area
    case WM_PAINT:
      paint();
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(font_.handle());
    default:
      return call_previous(msg, wp, lp);
  }
}

}  // namespace ui
