// The window unit type (1,1): its descriptor, property kinds and interface query.
#include <array>

#include "ui/units/property_descriptors.h"
#include "ui/units/unit_type_support.h"
#include "ui/units/unit_types.h"
#include "ui/units/window_properties.h"
#include "ui/units/window_unit.h"

namespace ui {
namespace {

using Operations = UnitOperations<WindowUnit>;

void switches(void* unit, WindowSwitches* out) {
  if (unit != nullptr && out != nullptr) *out = Operations::of(unit)->switches();
}

void* interface_query(std::int32_t code) {
  if (code == kWindowSwitchesOp) return operation_pointer<WindowSwitchesOp>(&switches);
  return Operations::query(code);
}

}  // namespace

const runtime::UnitTypeDescriptor& window_unit_type() {
  static const runtime::UnitTypeDescriptor type =
      unit_type_descriptor("\xB4\xB0\xBF\xDA",  // GBK
                           "window", 0x800000D0, kDescriptorsOf<kWindowPropertyTable>, &interface_query);
  return type;
}

}  // namespace ui
