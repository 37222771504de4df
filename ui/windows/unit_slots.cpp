#include "ui/windows/unit_slots.h"

#include <algorithm>

#include "ui/templates/window_collection.h"

namespace ui {

void store_unit_object(std::size_t window_index, std::size_t unit_index, Unit* unit) {
  templates::WindowCollection& collection = templates::window_collection();
  if (window_index >= collection.size()) return;
  templates::WindowSlots& slots = collection.slots(window_index);
  if (unit_index >= slots.unit_objects.size()) return;
  HWND native = unit != nullptr ? unit->hwnd() : nullptr;
  // The native slot first: a reader that finds the object also finds its window.
  slots.unit_natives[unit_index] = native;
  slots.unit_objects[unit_index] = static_cast<void*>(unit);
  if (unit_index == 0) slots.native = native;
}

void reset_window_slots(std::size_t window_index) {
  templates::WindowCollection& collection = templates::window_collection();
  if (window_index >= collection.size()) return;
  templates::WindowSlots& slots = collection.slots(window_index);
  slots.native = nullptr;
  for (auto& object : slots.unit_objects) object = nullptr;
  for (auto& native : slots.unit_natives) native = nullptr;
  std::fill(slots.menu_handles.begin(), slots.menu_handles.end(), nullptr);
  slots.menu_bar = nullptr;
  slots.accelerators = nullptr;
  slots.created = false;
}

}  // namespace ui
