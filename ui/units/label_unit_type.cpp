// The label unit type (1,10): its descriptor, property kinds and interface query.
#include <array>

#include "ui/units/label_properties.h"
#include "ui/units/label_unit.h"
#include "ui/units/property_descriptors.h"
#include "ui/units/unit_type_support.h"
#include "ui/units/unit_types.h"

namespace ui {

const runtime::UnitTypeDescriptor& label_unit_type() {
  static const runtime::UnitTypeDescriptor type = unit_type_descriptor(
      "\xB1\xEA\xC7\xA9",  // GBK
      "Label", 0x84012040, kDescriptorsOf<kLabelPropertyTable>, &UnitOperations<LabelUnit>::query);
  return type;
}

}  // namespace ui
