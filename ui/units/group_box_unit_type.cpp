// The group box unit type (1,9): descriptor, property descriptors and unit operations.
#include <array>

#include "runtime/image.h"
#include "ui/units/group_box_unit.h"
#include "ui/units/property_descriptors.h"
#include "ui/units/unit_interface.h"
#include "ui/units/unit_types.h"

namespace ui {
namespace {

constexpr auto kGroupBoxProperties = control_properties(std::array<std::uint16_t, 5>{
    kind::kText,        // 8 caption
    kind::kChoice,      // 9 caption alignment
    kind::kColour,      // 10 text colour
    kind::kBackColour,  // 11 background colour
    kind::kFont,        // 12 font
});

GroupBoxUnit* as_group_box(void* unit) {
  return static_cast<GroupBoxUnit*>(static_cast<Unit*>(unit));
}

void* create(const UnitCreateArgs& args) {
  return static_cast<Unit*>(GroupBoxUnit::create(args));
}

int set(void* unit, std::int32_t own_index, const PropertyPair& value) {
  return unit != nullptr ? as_group_box(unit)->set(own_index, value) : 0;
}

int get(void* unit, std::int32_t own_index, PropertyPair* value) {
  return unit != nullptr && value != nullptr ? as_group_box(unit)->get(own_index, value) : 0;
}

bool serialize(void* unit, std::vector<std::uint8_t>* out) {
  if (unit == nullptr || out == nullptr) return false;
  *out = as_group_box(unit)->serialize();
  return true;
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
    default:
      return nullptr;
  }
}

}  // namespace

const runtime::UnitTypeDescriptor& group_box_unit_type() {
  static const runtime::UnitTypeDescriptor type = {
      .name = "\xB7\xD6\xD7\xE9\xBF\xF2",  // 分组框
      .english_name = "GroupBox",
      .explanation = nullptr,
      .command_count = 0,
      .command_indexes = nullptr,
      .state_bits = 0x840140C0,
      .reserved = 0,
      .event_count = 0,
      .events = nullptr,
      .property_count = kGroupBoxProperties.size(),
      .properties = kGroupBoxProperties.data(),
      .interface_query = &interface_query,
      .element_count = 0,
      .elements = nullptr,
  };
  return type;
}

}  // namespace ui
