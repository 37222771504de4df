// The edit box unit type (1,5): descriptor, property descriptors and unit operations.
#include <array>

#include "runtime/abi/image.h"
#include "ui/units/edit_properties.h"
#include "ui/units/edit_unit.h"
#include "ui/units/property_descriptors.h"
#include "ui/units/unit_type_support.h"
#include "ui/units/unit_types.h"

namespace ui {
namespace {

using Operations = UnitOperations<EditUnit>;

int wants_key(void* unit, std::uint32_t key) {
  return unit != nullptr && Operations::of(unit)->wants_key(key) ? 1 : 0;
}

void* interface_query(std::int32_t code) {
  if (code == kWantsKeyOp) return operation_pointer<WantsKeyOp>(&wants_key);
  return Operations::query(code);
}

}  // namespace

const runtime::UnitTypeDescriptor& edit_unit_type() {
  static const runtime::UnitTypeDescriptor type =
      unit_type_descriptor("\xB1\xE0\xBC\xAD\xBF\xF2",  // 编辑框
                           "EditBox", 0x80000040, kDescriptorsOf<kEditPropertyTable>, &interface_query);
  return type;
}

}  // namespace ui
