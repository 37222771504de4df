#include "ui/state/window_lookups.h"

#include "platform/api/user.h"
#include "ui/templates/window_collection.h"

namespace ui {
namespace {

const templates::WindowSlots* slots_of(std::size_t window_index) {
  const templates::WindowCollection& collection = templates::window_collection();
  return window_index < collection.size() ? &collection.slots(window_index) : nullptr;
}

}  // namespace

int window_index_of(std::uint32_t window_id) {
  return templates::window_collection().find(window_id);
}

int unit_index_of(std::size_t window_index, std::uint32_t unit_id) {
  const templates::WindowCollection& collection = templates::window_collection();
  if (window_index >= collection.size()) return -1;
  if (unit_id == 0) return 0;
  return collection.window(window_index).find_unit(unit_id);
}

int unit_index_of_native(std::size_t window_index, HWND native) {
  const templates::WindowSlots* slots = slots_of(window_index);
  if (slots == nullptr || native == nullptr) return -1;
  for (std::size_t i = 0; i < slots->unit_natives.size(); ++i) {
    if (slots->unit_natives[i].load() == native) return static_cast<int>(i);
  }
  return -1;
}

int window_index_of_native(HWND native) {
  if (native == nullptr) return -1;
  const std::size_t count = templates::window_collection().size();
  for (std::size_t i = 0; i < count; ++i) {
    if (unit_index_of_native(i, native) >= 0) return static_cast<int>(i);
  }
  return -1;
}

void* unit_object(std::size_t window_index, std::size_t unit_index) {
  const templates::WindowSlots* slots = slots_of(window_index);
  if (slots == nullptr || unit_index >= slots->unit_objects.size()) return nullptr;
  return slots->unit_objects[unit_index].load();
}

Unit* live_unit(std::size_t window_index, std::size_t unit_index) {
  const templates::WindowSlots* slots = slots_of(window_index);
  if (slots == nullptr || unit_index >= slots->unit_objects.size()) return nullptr;
  void* object = slots->unit_objects[unit_index].load();
  HWND native = slots->unit_natives[unit_index].load();
  if (object == nullptr || native == nullptr || !IsWindow(native)) return nullptr;
  return static_cast<Unit*>(object);  // only units are stored in object slots
}

HWND window_native(std::size_t window_index) {
  const templates::WindowSlots* slots = slots_of(window_index);
  return slots != nullptr ? slots->native.load() : nullptr;
}

}  // namespace ui
