// The edit box unit type (1,5): descriptor, property descriptors and unit operations.
#include <array>

#include "runtime/image.h"
#include "ui/units/edit_unit.h"
#include "ui/units/property_descriptors.h"
#include "ui/units/unit_type_support.h"
#include "ui/units/unit_types.h"

namespace ui {
namespace {

constexpr auto kEditProperties = control_properties(std::array<std::uint16_t, 21>{
    kind::kText,        // 8 content
    kind::kChoice,      // 9 border style
    kind::kColour,      // 10 text colour
    kind::kBackColour,  // 11 background colour
    kind::kFont,        // 12 font
    kind::kLogical,     // 13 hide selection
    kind::kInteger,     // 14 maximum length
    kind::kLogical,     // 15 multi-line
    kind::kChoice,      // 16 scroll bars
    kind::kChoice,      // 17 alignment
    kind::kChoice,      // 18 input mode
    kind::kText,        // 19 password character
    kind::kChoice,      // 20 case conversion
    kind::kChoice,      // 21 adjuster
    kind::kInteger,     // 22 adjuster minimum
    kind::kInteger,     // 23 adjuster maximum
    kind::kInteger,     // 24 selection start
    kind::kInteger,     // 25 selection length
    kind::kText,        // 26 selected text
    kind::kDataSource,  // 27 data source
    kind::kDataColumn,  // 28 data column
});

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
                           "EditBox", 0x80000040, kEditProperties, &interface_query);
  return type;
}

}  // namespace ui
