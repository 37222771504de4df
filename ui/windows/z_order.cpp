#include "ui/windows/z_order.h"

#include "platform/api/user.h"
#include "ui/templates/window_collection.h"

namespace ui {

void place_in_z_order(std::size_t window_index, std::size_t unit_index) {
  templates::WindowCollection& collection = templates::window_collection();
  if (window_index >= collection.size()) return;
  const templates::WindowTemplate& window = collection.window(window_index);
  const templates::WindowSlots& slots = collection.slots(window_index);
  if (unit_index == 0 || unit_index >= window.units.size() || window.units[unit_index].is_menu()) return;
  HWND native = slots.unit_natives[unit_index].load();
  if (native == nullptr) return;

  const std::uint32_t parent = window.units[unit_index].control().parent_id;
  HWND after = HWND_TOP;
  for (std::size_t j = unit_index; j-- > 1;) {
    const templates::UnitRecord& sibling = window.units[j];
    if (sibling.is_menu() || sibling.control().parent_id != parent) continue;
    HWND sibling_native = slots.unit_natives[j].load();
    if (sibling_native == nullptr || !IsWindow(sibling_native)) continue;
    after = sibling_native;
    break;
  }
  SetWindowPos(native, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

}  // namespace ui
