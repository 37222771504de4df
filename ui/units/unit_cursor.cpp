#include "ui/units/unit_cursor.h"

#include "platform/api/input.h"
#include "platform/api/user.h"
#include "ui/state/window_lookups.h"
#include "ui/templates/window_collection.h"
#include "ui/units/unit.h"

namespace ui {
namespace {

bool is_child(HWND native) {
  return (static_cast<DWORD>(GetWindowLongA(native, GWL_STYLE)) & WS_CHILD) != 0;
}

}  // namespace

int unit_holding(std::size_t window_index, std::uint32_t window_id, HWND native) {
  for (HWND h = native; h != nullptr; h = GetParent(h)) {
    Unit* unit = Unit::from_window(h);
    if (unit != nullptr && unit->window_id() == window_id)
      return unit_index_of(window_index, unit->unit_id());
    if (!is_child(h)) break;
  }
  return -1;
}

bool set_slot_cursor(std::size_t window_index, std::uint32_t window_id, HWND cursor_window, UINT hit_test) {
  const int unit = unit_holding(window_index, window_id, cursor_window);
  if (unit < 0) return false;
  const auto unit_index = static_cast<std::size_t>(unit);
  Unit* holder = live_unit(window_index, unit_index);
  if (holder == nullptr || holder->hwnd() != cursor_window) return false;
  if (unit == 0 && hit_test != HTCLIENT) return false;
  const templates::WindowSlots& slots = templates::window_collection().slots(window_index);
  if (unit_index >= slots.cursors.size() || slots.cursors[unit_index] == nullptr) return false;
  SetCursor(slots.cursors[unit_index]);
  return true;
}

bool apply_unit_cursor(HWND window, HWND cursor_window, UINT hit_test) {
  for (HWND h = window; h != nullptr && IsWindow(h); h = GetParent(h)) {
    Unit* unit = Unit::from_window(h);
    if (unit != nullptr && unit->is_window_unit()) {
      const int index = window_index_of(unit->window_id());
      if (index >= 0)
        return set_slot_cursor(static_cast<std::size_t>(index), unit->window_id(), cursor_window, hit_test);
    }
    if (!is_child(h)) break;
  }
  return false;
}

}  // namespace ui
