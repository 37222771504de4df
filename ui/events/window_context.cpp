#include "ui/events/window_context.h"

#include "platform/api/input.h"
#include "platform/api/user.h"
#include "runtime/window_system.h"
#include "ui/state/window_lookups.h"
#include "ui/templates/window_collection.h"
#include "ui/units/unit_cursor.h"

namespace ui {

bool window_context(Unit* window_unit, WindowContext* out) {
  const int index = window_index_of(window_unit->window_id());
  if (index < 0) return false;
  out->index = static_cast<std::size_t>(index);
  out->id = window_unit->window_id();
  out->native = window_unit->hwnd();
  out->window_unit = window_unit;
  out->switches = WindowSwitches{};
  if (auto op = reinterpret_cast<WindowSwitchesOp>(unit_operation(out->index, 0, kWindowSwitchesOp)))
    op(window_unit, &out->switches);
  return true;
}

const runtime::UnitTypeDescriptor* unit_type_of(std::size_t window_index, std::size_t unit_index) {
  const templates::WindowTemplate& window = templates::window_collection().window(window_index);
  if (unit_index >= window.units.size()) return nullptr;
  return runtime::unit_type(window.units[unit_index].type_reference);
}

void* unit_operation(std::size_t window_index, std::size_t unit_index, std::int32_t code) {
  const runtime::UnitTypeDescriptor* type = unit_type_of(window_index, unit_index);
  if (type == nullptr || type->interface_query == nullptr) return nullptr;
  return type->interface_query(code);
}

int unit_holding(const WindowContext& window, HWND native) {
  return unit_holding(window.index, window.id, native);
}

std::uint32_t modifier_bits() {
  std::uint32_t bits = 0;
  if (GetKeyState(VK_CONTROL) < 0) bits |= 1;
  if (GetKeyState(VK_SHIFT) < 0) bits |= 2;
  if (GetKeyState(VK_MENU) < 0) bits |= 4;
  return bits;
}

}  // namespace ui
