#include "ui/system/window_system_table.h"

#include "platform/api/input.h"
#include "platform/api/menu.h"
#include "platform/api/user.h"
#include "ui/access/property_access.h"
#include "ui/events/event_dispatch.h"
#include "ui/events/pre_translate.h"
#include "ui/state/menu_builder.h"
#include "ui/state/modal.h"
#include "ui/templates/window_collection.h"
#include "ui/windows/cursor_selector.h"
#include "ui/windows/unit_recreation.h"
#include "ui/windows/unit_slots.h"
#include "ui/windows/window_builder.h"
#include "ui/windows/window_idle.h"

namespace ui {
namespace {

bool load_templates(std::span<const std::uint8_t> block, const runtime::CodeBase* code_base) {
  return templates::load_templates(block, code_base);
}

bool load_start_window(std::uint32_t window_id) {
  return load_window(window_id);
}

bool any_window_alive() {
  const std::size_t count = templates::window_collection().size();
  for (std::size_t i = 0; i < count; ++i) {
    HWND native = window_native(i);
    if (native != nullptr && IsWindow(native)) return true;
  }
  return false;
}

void unload_all() {
  const std::size_t count = templates::window_collection().size();
  for (std::size_t i = 0; i < count; ++i) {
    HWND native = window_native(i);
    if (native != nullptr && IsWindow(native)) DestroyWindow(native);
  }
}

// The window's own native window is gone: what it owned goes with it.
void window_gone(std::size_t window_index) {
  templates::WindowCollection& collection = templates::window_collection();
  templates::WindowSlots& slots = collection.slots(window_index);
  end_modal(window_index);
  if (slots.accelerators != nullptr) DestroyAcceleratorTable(slots.accelerators);
  if (slots.menu_bar != nullptr) DestroyMenu(slots.menu_bar);
  for (std::size_t k = 0; k < slots.cursors.size(); ++k) release_unit_cursor(window_index, k);
  reset_window_slots(window_index);
  if (!slots.built_units.empty()) {
    collection.window(window_index).units = std::move(slots.built_units);
    slots.built_units.clear();
  }
}

bool unit_gone(std::uint32_t window_id, std::uint32_t unit_id) {
  const int window_index = window_index_of(window_id);
  if (window_index < 0) return false;
  const auto w = static_cast<std::size_t>(window_index);
  if (recreation_in_progress(w, unit_id)) return false;
  const templates::WindowTemplate& window = templates::window_collection().window(w);
  if (unit_id == 0 || (!window.units.empty() && unit_id == window.units[0].id)) {
    window_gone(w);
    return true;
  }
  const int unit_index = unit_index_of(w, unit_id);
  if (unit_index <= 0) return false;
  release_unit_cursor(w, static_cast<std::size_t>(unit_index));
  store_unit_object(w, static_cast<std::size_t>(unit_index), nullptr);
  return false;
}

void* find_unit(std::uint32_t window_id, std::uint32_t unit_id) {
  const int window_index = window_index_of(window_id);
  if (window_index < 0) return nullptr;
  const int unit_index = unit_index_of(static_cast<std::size_t>(window_index), unit_id);
  if (unit_index < 0) return nullptr;
  const templates::WindowTemplate& window =
      templates::window_collection().window(static_cast<std::size_t>(window_index));
  if (window.units[static_cast<std::size_t>(unit_index)].is_menu()) return nullptr;
  return live_unit(static_cast<std::size_t>(window_index), static_cast<std::size_t>(unit_index));
}

bool owns_window(HWND window) {
  return window_index_of_native(window) >= 0;
}

HWND window_handle(std::uint32_t window_id) {
  const int window_index = window_index_of(window_id);
  if (window_index < 0) return nullptr;
  HWND native = window_native(static_cast<std::size_t>(window_index));
  return native != nullptr && IsWindow(native) ? native : nullptr;
}

void* collection() {
  return &templates::window_collection();
}

runtime::WindowSystem make_operations() {
  runtime::WindowSystem ops;
  ops.load_templates = load_templates;
  ops.load_start_window = load_start_window;
  ops.any_window_alive = any_window_alive;
  ops.unload_all = unload_all;
  ops.read_property = read_unit_property;
  ops.write_property = write_unit_property;
  ops.read_object_property = read_object_property;
  ops.write_object_property = write_object_property;
  ops.raise_event = raise_event;
  ops.unit_gone = unit_gone;
  ops.find_unit = find_unit;
  ops.owns_window = owns_window;
  ops.window_handle = window_handle;
  ops.window_collection = collection;
  ops.popup_menu = build_unit_popup_menu;
  ops.pre_translate = pre_translate;
  ops.idle = idle_windows;
  return ops;
}

}  // namespace

const runtime::WindowSystem& window_system_operations() {
  static const runtime::WindowSystem operations = make_operations();
  return operations;
}

void install_window_system() {
  runtime::install_window_system(&window_system_operations());
}

}  // namespace ui
