#include "ui/events/pre_translate.h"

#include "platform/api/input.h"
#include "platform/api/user.h"
#include "ui/access/owner_thread.h"
#include "ui/events/common_events.h"
#include "ui/events/keyboard_interface.h"
#include "ui/events/window_context.h"
#include "ui/templates/window_collection.h"
#include "ui/windows/window_builder.h"

namespace ui {
namespace {

constexpr UINT kFirstKeyMessage = 0x0100;
constexpr UINT kLastKeyMessage = 0x0108;

bool is_keyboard(UINT message) {
  return message >= kFirstKeyMessage && message <= kLastKeyMessage;
}

bool is_window_unit(const Unit* unit) {
  return unit != nullptr && (unit->unit_id() >> 24) == 0x06;
}

bool is_child(HWND native) {
  return (static_cast<DWORD>(GetWindowLongA(native, GWL_STYLE)) & WS_CHILD) != 0;
}

// The cursor held for the unit of `cursor_window`; the window's own only over its client area.
bool set_slot_cursor(const WindowContext& window, HWND cursor_window, UINT hit_test) {
  const int unit = unit_holding(window, cursor_window);
  if (unit < 0) return false;
  Unit* holder = live_unit(window.index, static_cast<std::size_t>(unit));
  if (holder == nullptr || holder->hwnd() != cursor_window) return false;
  if (unit == 0 && hit_test != HTCLIENT) return false;
  const templates::WindowSlots& slots = templates::window_collection().slots(window.index);
  if (static_cast<std::size_t>(unit) >= slots.cursors.size()) return false;
  HCURSOR cursor = slots.cursors[static_cast<std::size_t>(unit)];
  if (cursor == nullptr) return false;
  SetCursor(cursor);
  return true;
}

// A left press that moves the window: on its client area or on a unit that drags it.
bool drag_window(const WindowContext& window, const MSG& message, int unit) {
  if (message.message != WM_LBUTTONDOWN || !window.switches.drag_by_client) return false;
  const runtime::UnitTypeDescriptor* type = unit_type_of(window.index, static_cast<std::size_t>(unit));
  const bool drags = unit == 0 || (type != nullptr && (type->state_bits & kTypeDragsWindow) != 0);
  if (!drags) return false;
  POINT at{static_cast<short>(LOWORD(message.lParam)), static_cast<short>(HIWORD(message.lParam))};
  ClientToScreen(message.hwnd, &at);
  ReleaseCapture();
  PostMessageA(window.native, WM_NCLBUTTONDOWN, static_cast<WPARAM>(HTCAPTION), MAKELPARAM(at.x, at.y));
  return true;
}

bool window_pre_translate(const WindowContext& window, MSG& message) {
  if (is_keyboard(message.message) && !IsWindowEnabled(message.hwnd)) return false;
  HACCEL accelerators = templates::window_collection().slots(window.index).accelerators;
  if (is_keyboard(message.message) && accelerators != nullptr &&
      TranslateAcceleratorA(window.native, accelerators, &message) != 0)
    return true;
  const int owner = window_index_of_native(message.hwnd);
  if (owner >= 0 && static_cast<std::size_t>(owner) != window.index) return false;
  if (message.message == WM_SETCURSOR &&
      set_slot_cursor(window, reinterpret_cast<HWND>(message.wParam), LOWORD(message.lParam)))
    return true;
  if (keyboard_interface(window, message)) return true;

  bool handled = false;
  Unit* target = Unit::from_window(message.hwnd);
  if (target != nullptr && target->window_id() == window.id) {
    handled = raise_common_event(*target, message);
    if (!handled) {
      const int unit = unit_index_of(window.index, target->unit_id());
      if (unit >= 0) handled = drag_window(window, message, unit);
    }
  }
  return handled || !IsWindow(window.native);
}

}  // namespace

bool pre_translate(MSG* message) {
  if (message == nullptr || message->hwnd == nullptr) return false;
  prepare_owner_relay();
  for (HWND h = message->hwnd; h != nullptr && IsWindow(h); h = GetParent(h)) {
    Unit* unit = Unit::from_window(h);
    WindowContext window;
    if (is_window_unit(unit) && window_context(unit, &window) && window_pre_translate(window, *message))
      return true;
    if (!is_child(h)) break;
  }
  return false;
}

bool apply_unit_cursor(HWND window, HWND cursor_window, UINT hit_test) {
  for (HWND h = window; h != nullptr && IsWindow(h); h = GetParent(h)) {
    Unit* unit = Unit::from_window(h);
    WindowContext window_of_unit;
    if (is_window_unit(unit) && window_context(unit, &window_of_unit))
      return set_slot_cursor(window_of_unit, cursor_window, hit_test);
    if (!is_child(h)) break;
  }
  return false;
}

}  // namespace ui
