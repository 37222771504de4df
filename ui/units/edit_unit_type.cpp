// The edit box unit type (1,5): descriptor, property descriptors and unit operations.
#include <array>

#include "runtime/image.h"
#include "ui/units/edit_unit.h"
#include "ui/units/property_descriptors.h"
#include "ui/units/unit_interface.h"
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

EditUnit* as_edit(void* unit) {
  return static_cast<EditUnit*>(static_cast<Unit*>(unit));
}

void* create(const UnitCreateArgs& args) {
  return static_cast<Unit*>(EditUnit::create(args));
}

int set(void* unit, std::int32_t own_index, const PropertyPair& value) {
  return unit != nullptr ? as_edit(unit)->set(own_index, value) : 0;
}

int get(void* unit, std::int32_t own_index, PropertyPair* value) {
  return unit != nullptr && value != nullptr ? as_edit(unit)->get(own_index, value) : 0;
}

bool serialize(void* unit, std::vector<std::uint8_t>* out) {
  if (unit == nullptr || out == nullptr) return false;
  *out = as_edit(unit)->serialize();
  return true;
}

int wants_key(void* unit, std::uint32_t key) {
  return unit != nullptr && as_edit(unit)->wants_key(key) ? 1 : 0;
}

void* interface_query(std::int32_t code) {
  switch (code) {
    case kCreateOp:
      return reinterpret_cast<void*>(static_cast<CreateOp>(&create));
    case kSetOp:
      return reinterpret_cast<void*>(static_cast<SetOp>(&set));
    case kSerializeOp:
      return reinterpret_cast<void*>(static_cast<SerializeOp>(&serialize));
    case kGetOp:
      return reinterpret_cast<void*>(static_cast<GetOp>(&get));
    case kWantsKeyOp:
      return reinterpret_cast<void*>(static_cast<WantsKeyOp>(&wants_key));
    default:
      return nullptr;
  }
}

}  // namespace

const runtime::UnitTypeDescriptor& edit_unit_type() {
  static const runtime::UnitTypeDescriptor type = {
      .name = "\xB1\xE0\xBC\xAD\xBF\xF2",  // 编辑框
      .english_name = "EditBox",
      .explanation = nullptr,
      .command_count = 0,
      .command_indexes = nullptr,
      .state_bits = 0x80000040,
      .reserved = 0,
      .event_count = 0,
      .events = nullptr,
      .property_count = kEditProperties.size(),
      .properties = kEditProperties.data(),
      .interface_query = &interface_query,
      .element_count = 0,
      .elements = nullptr,
  };
  return type;
}

}  // namespace ui
