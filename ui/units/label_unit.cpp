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
  std::optional<LabelProperties> parsed = LabelProperties::parse(args.properties);
  if (!parsed || !ensure_unit_class(kLabelClass)) return nullptr;
  const DWORD style =
      WS_CHILD | WS_CLIPSIBLINGS | args.extra_styles | border_style_bits(parsed->border_style);
  HWND hwnd = create_unit_window(args, kLabelClass, parsed->caption.c_str(), style,
                                 border_ex_style(parsed->border_style), GetModuleHandleA(nullptr));
  if (hwnd == nullptr) return nullptr;
  auto* unit = new LabelUnit(args.window_id, args.unit_id, std::move(*parsed));
  unit->attach(hwnd);
  return unit;
}

int LabelUnit::get(std::int32_t own, PropertyPair* value) {
  return get_property(kLabelPropertyTable, properties_, own, value) ? 1 : 0;
}

int LabelUnit::set(std::int32_t own, const PropertyPair& value) {
  namespace lp = label_property;
  LabelProperties& p = properties_;
  if (own == lp::kBackgroundPicture) {
    replace_background_picture(p.background_picture, background_, value);
  } else {
    const auto* row = set_property(kLabelPropertyTable, p, own, value);
    if (row == nullptr) return 0;
    switch (row->own_index) {
      case lp::kCaption:
        SetWindowTextA(hwnd(), p.caption.c_str());
        break;
      case lp::kBorderStyle:
        apply_border_style(hwnd(), clamp_choice(p.border_style, 0, kLabelPaintedFrame));
        break;
      case lp::kFrameWidth:
        p.frame_width = std::max(p.frame_width, kLabelMinimumFrameWidth);
        break;
      case lp::kFont:
        font_ = UnitFont(p.font);
        break;
      case lp::kDataSource:
      case lp::kDataColumn:
        return 0;
      default:
        break;
    }
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
