// What the message pre-translation of one window works with: the window's index and id, its
// native window and own unit, its keyboard switches, and the unit objects of its units.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/api/types.h"
#include "runtime/abi/image.h"
#include "ui/units/unit.h"
#include "ui/units/unit_interface.h"

namespace ui {

struct WindowContext {
  std::size_t index = 0;
  std::uint32_t id = 0;
  HWND native = nullptr;
  Unit* window_unit = nullptr;
  WindowSwitches switches;
};

// The context of a window whose own unit is `window_unit`; false when that window isn't loaded.
bool window_context(Unit* window_unit, WindowContext* out);

// The type descriptor of a unit, or null.
const runtime::UnitTypeDescriptor* unit_type_of(std::size_t window_index, std::size_t unit_index);
// An operation of a unit's type (interface query `code`), or null.
void* unit_operation(std::size_t window_index, std::size_t unit_index, std::int32_t code);
// The unit of this window that holds `native` or one of its ancestors; -1 when none.
int unit_holding(const WindowContext& window, HWND native);
// Modifier bits of the common events: bit 0 Ctrl, bit 1 Shift, bit 2 Alt.
std::uint32_t modifier_bits();

}  // namespace ui
