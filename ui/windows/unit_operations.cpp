#include "ui/windows/unit_operations.h"

#include "runtime/window_system.h"

namespace ui {

const runtime::UnitTypeDescriptor* unit_type_of(const templates::UnitRecord& unit) {
  return runtime::unit_type(unit.type_reference);
}

}  // namespace ui
