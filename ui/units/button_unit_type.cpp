// The button unit type (1,11): descriptor, property descriptors and unit operations.
#include <array>

#include "runtime/abi/image.h"
#include "ui/units/button_unit.h"
#include "ui/units/property_descriptors.h"
#include "ui/units/unit_type_support.h"
#include "ui/units/unit_types.h"

namespace ui {
namespace {

using Operations = UnitOperations<ButtonUnit>;

int default_button(void* unit) {
  return unit != nullptr && Operations::of(unit)->is_default_button() ? 1 : 0;
}

void* interface_query(std::int32_t code) {
  if (code == kDefaultButtonOp) return operation_pointer<DefaultButtonOp>(&default_button);
  return Operations::query(code);
}

}  // namespace

const runtime::UnitTypeDescriptor& button_unit_type() {
  static const runtime::UnitTypeDescriptor type =
      unit_type_descriptor("\xB0\xB4\xC5\xA5",  // 按钮
                           "Button", 0x80000840, kDescriptorsOf<kButtonPropertyTable>, &interface_query);
  return type;
}

}  // namespace ui
