#include "ui/events/pre_translate.h"

#include "platform/api/input.h"
#include "platform/api/user.h"
#include "ui/access/owner_thread.h"
#include "ui/events/common_events.h"
#include "ui/events/keyboard_interface.h"
#include "ui/events/window_context.h"
#include "ui/state/window_lookups.h"
#include "ui/templates/window_collection.h"
#include "ui/units/unit_cursor.h"

namespace ui {
namespace {

constexpr UINT kFirstKeyMessage = 0x0100;
constexpr UINT kLastKeyMessage = 0x0108;

bool is_keyboard(UINT message) {
  return message >= kFirstKeyMessage && message <= kLastKeyMessage;
}

bool is_child(HWND native) {
  return (static_cast<DWORD>(GetWindowLongA(native, GWL_STYLE)) & WS_CHILD) != 0;
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
      set_slot_cursor(window.index, window.id, reinterpret_cast<HWND>(message.wParam),
                      LOWORD(message.lParam)))
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
    if (unit != nullptr && unit->is_window_unit() && window_context(unit, &window) &&
        window_pre_translate(window, *message))
      return true;
    if (!is_child(h)) break;
  }
  return false;
}

}  // namespace ui
