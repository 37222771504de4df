// The group box unit type (1,9): descriptor, property descriptors and unit operations.
#include <array>

#include "runtime/abi/image.h"
#include "ui/units/group_box_properties.h"
#include "ui/units/group_box_unit.h"
#include "ui/units/property_descriptors.h"
#include "ui/units/unit_type_support.h"
#include "ui/units/unit_types.h"

namespace ui {

const runtime::UnitTypeDescriptor& group_box_unit_type() {
  static const runtime::UnitTypeDescriptor type = unit_type_descriptor(
      "\xB7\xD6\xD7\xE9\xBF\xF2",  // 分组框
      "GroupBox", 0x840140C0, kDescriptorsOf<kGroupBoxPropertyTable>, &UnitOperations<GroupBoxUnit>::query);
  return type;
}

}  // namespace ui
