#include "ui/units/button_unit.h"

#include <algorithm>
#include <array>

#include "platform/api/controls.h"
#include "platform/api/gdi.h"
#include "platform/api/input.h"
#include "platform/api/user.h"

namespace ui {
namespace {

constexpr std::array<DWORD, 3> kHorizontal = {BS_LEFT, BS_CENTER, BS_RIGHT};
constexpr std::array<DWORD, 3> kVertical = {BS_TOP, BS_VCENTER, BS_BOTTOM};
constexpr DWORD kLayoutMask = BS_TYPEMASK | BS_CENTER | BS_VCENTER;

bool same_bytes(std::span<const std::uint8_t> a, std::span<const std::uint8_t> b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end());
}

}  // namespace

ButtonUnit::ButtonUnit(std::uint32_t window_id, std::uint32_t unit_id, ButtonProperties properties)
    : Unit(window_id, unit_id), properties_(std::move(properties)), font_(properties_.font) {}

DWORD ButtonUnit::layout_style() const {
  return (properties_.type == 1 ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) |
         kHorizontal[static_cast<std::size_t>(properties_.horizontal_alignment)] |
         kVertical[static_cast<std::size_t>(properties_.vertical_alignment)];
}

ButtonUnit* ButtonUnit::create(const UnitCreateArgs& args) {
  std::optional<ButtonProperties> properties = ButtonProperties::parse(args.properties);
  if (!properties) return nullptr;
  auto unit = std::make_unique<ButtonUnit>(args.window_id, args.unit_id, std::move(*properties));
  unit->picture_.set_bytes(unit->properties_.picture, false);
  const lyr::picture::RenderedPicture* image = unit->picture_.rendered(kDefaultColour);
  DWORD style = WS_CHILD | WS_CLIPSIBLINGS | BS_MULTILINE | unit->layout_style() | args.extra_styles;
  if (image != nullptr) style |= image->icon() != nullptr ? BS_ICON : BS_BITMAP;

  HWND hwnd = create_unit_window(args, "BUTTON", unit->properties_.caption.c_str(), style);
  if (hwnd == nullptr) return nullptr;
  ButtonUnit* button = unit.release();  // owned by its native window from here on
  button->attach(hwnd);
  SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(button->font_.handle()), FALSE);
  if (image != nullptr) {
    if (image->icon() != nullptr)
      SendMessageA(hwnd, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(image->icon()));
    else
      SendMessageA(hwnd, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(image->bitmap()));
  }
  return button;
}

void ButtonUnit::restyle() {
  const auto style = static_cast<DWORD>(GetWindowLongA(hwnd(), GWL_STYLE));
  const DWORD wanted = (style & ~kLayoutMask) | layout_style();
  if (wanted != style) SetWindowLongA(hwnd(), GWL_STYLE, static_cast<LONG>(wanted));
  InvalidateRect(hwnd(), nullptr, TRUE);
}

bool ButtonUnit::is_default_button() const {
  return (static_cast<DWORD>(GetWindowLongA(hwnd(), GWL_STYLE)) & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
}

int ButtonUnit::set(std::int32_t own_index, const PropertyPair& value) {
  namespace bp = button_property;
  if (own_index == bp::kPicture && same_bytes(pair_bytes(value), properties_.picture)) return 0;
  const auto* row = set_property(kButtonPropertyTable, properties_, own_index, value);
  if (row == nullptr) return 0;
  switch (row->own_index) {
    case bp::kType:
    case bp::kHorizontalAlignment:
    case bp::kVerticalAlignment:
      properties_.clamp();
      restyle();
      break;
    case bp::kCaption:
      SetWindowTextA(hwnd(), properties_.caption.c_str());
      break;
    case bp::kFont:
      font_ = UnitFont(properties_.font);
      SendMessageA(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font_.handle()), TRUE);
      break;
    default:
      break;
  }
  return row->recreates ? 1 : 0;
}

int ButtonUnit::get(std::int32_t own_index, PropertyPair* value) const {
  return get_property(kButtonPropertyTable, properties_, own_index, value) ? 1 : 0;
}

LRESULT ButtonUnit::handle_message(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_SETFOCUS || msg == WM_KILLFOCUS) {
    const LRESULT result = call_previous(msg, wp, lp);
    raise(msg == WM_SETFOCUS ? -7 : -8);
    return result;
  }
  return call_previous(msg, wp, lp);
}

bool ButtonUnit::on_reflected(UINT msg, WPARAM wp, LPARAM, LRESULT* result) {
  if (msg != WM_COMMAND || HIWORD(wp) != BN_CLICKED) return false;
  *result = 0;
  raise(0);
  return true;
}

}  // namespace ui
