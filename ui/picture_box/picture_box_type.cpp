// The picture box unit type (1,6): descriptor, property descriptors and unit operations.
#include <array>

#include "runtime/abi/image.h"
#include "ui/picture_box/picture_box.h"
#include "ui/picture_box/picture_box_properties.h"
#include "ui/units/property_descriptors.h"
#include "ui/units/unit_type_support.h"
#include "ui/units/unit_types.h"

namespace ui {

const runtime::UnitTypeDescriptor& picture_box_unit_type() {
  static const runtime::UnitTypeDescriptor type = unit_type_descriptor(
      "\xCD\xBC\xC6\xAC\xBF\xF2",  // 图片框
      "PicBox", 0x840100C0, kDescriptorsOf<kPictureBoxPropertyTable>, &UnitOperations<PictureBox>::query);
  return type;
}

}  // namespace ui
