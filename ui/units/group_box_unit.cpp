#include "ui/units/group_box_unit.h"

#include <array>
#include <memory>

#include "platform/api/controls.h"
#include "platform/api/gdi.h"
#include "platform/api/user.h"

namespace ui {
namespace {

constexpr std::array<DWORD, 3> kAlignment = {BS_LEFT, BS_CENTER, BS_RIGHT};
constexpr DWORD kAlignmentMask = BS_CENTER;

DWORD alignment_style(std::int32_t alignment) {
  return kAlignment[static_cast<std::size_t>(clamp_choice(alignment, 0, 2))];
}

}  // namespace

GroupBoxUnit::GroupBoxUnit(std::uint32_t window_id, std::uint32_t unit_id, GroupBoxProperties properties)
    : Unit(window_id, unit_id), properties_(std::move(properties)), font_(properties_.font) {
  make_brush();
}

GroupBoxUnit::~GroupBoxUnit() {
  if (brush_ != nullptr) DeleteObject(brush_);
}

void GroupBoxUnit::make_brush() {
  if (brush_ != nullptr) DeleteObject(brush_);
  brush_ = CreateSolidBrush(resolve_colour(properties_.background));
}

GroupBoxUnit* GroupBoxUnit::create(const UnitCreateArgs& args) {
  std::optional<GroupBoxProperties> properties = GroupBoxProperties::parse(args.properties);
  if (!properties) return nullptr;
  auto unit = std::make_unique<GroupBoxUnit>(args.window_id, args.unit_id, std::move(*properties));
  const DWORD style = WS_CHILD | WS_CLIPSIBLINGS | BS_GROUPBOX |
                      alignment_style(unit->properties_.alignment) | args.extra_styles;
  HWND hwnd = create_unit_window(args, "BUTTON", unit->properties_.caption.c_str(), style);
  if (hwnd == nullptr) return nullptr;
  GroupBoxUnit* box = unit.release();  // owned by its native window from here on
  box->attach(hwnd);
  SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(box->font_.handle()), FALSE);
  return box;
}

int GroupBoxUnit::set(std::int32_t own_index, const PropertyPair& value) {
  namespace gp = group_box_property;
  const auto* row = set_property(kGroupBoxPropertyTable, properties_, own_index, value);
  if (row == nullptr) return 0;
  switch (row->own_index) {
    case gp::kCaption:
      SetWindowTextA(hwnd(), properties_.caption.c_str());
      return 0;
    case gp::kAlignment: {
      properties_.alignment = clamp_choice(properties_.alignment, 0, 2);
      const auto style = static_cast<DWORD>(GetWindowLongA(hwnd(), GWL_STYLE));
      SetWindowLongA(hwnd(), GWL_STYLE,
                     static_cast<LONG>((style & ~kAlignmentMask) | alignment_style(properties_.alignment)));
      break;
    }
    case gp::kBackground:
      make_brush();
      break;
    case gp::kFont:
      font_ = UnitFont(properties_.font);
      SendMessageA(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font_.handle()), TRUE);
      return 0;
    default:
      break;
  }
  InvalidateRect(hwnd(), nullptr, TRUE);
  return row->recreates ? 1 : 0;
}

int GroupBoxUnit::get(std::int32_t own_index, PropertyPair* value) const {
  return get_property(kGroupBoxPropertyTable, properties_, own_index, value) ? 1 : 0;
}

bool GroupBoxUnit::on_reflected(UINT msg, WPARAM wp, LPARAM, LRESULT* result) {
  if (msg != WM_CTLCOLORSTATIC && msg != WM_CTLCOLORBTN) return false;
  HDC dc = reinterpret_cast<HDC>(wp);
  SetTextColor(dc, properties_.text_colour);
  SetBkColor(dc, resolve_colour(properties_.background));
  *result = reinterpret_cast<LRESULT>(brush_);
  return true;
}

}  // namespace ui
