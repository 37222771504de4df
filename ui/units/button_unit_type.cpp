// The button unit type (1,11): descriptor, property descriptors and unit operations.
#include <array>

#include "runtime/image.h"
#include "ui/units/button_unit.h"
#include "ui/units/property_descriptors.h"
#include "ui/units/unit_interface.h"
#include "ui/units/unit_types.h"

namespace ui {
namespace {

constexpr auto kButtonProperties = control_properties(std::array<std::uint16_t, 6>{
    kind::kPicture,  // 8 picture
    kind::kChoice,   // 9 type
    kind::kText,     // 10 caption
    kind::kChoice,   // 11 horizontal alignment
    kind::kChoice,   // 12 vertical alignment
    kind::kFont,     // 13 font
});

ButtonUnit* as_button(void* unit) {
  return static_cast<ButtonUnit*>(static_cast<Unit*>(unit));
}

void* create(const UnitCreateArgs& args) {
  return static_cast<Unit*>(ButtonUnit::create(args));
}

int set(void* unit, std::int32_t own_index, const PropertyPair& value) {
  return unit != nullptr ? as_button(unit)->set(own_index, value) : 0;
}

int get(void* unit, std::int32_t own_index, PropertyPair* value) {
  return unit != nullptr && value != nullptr ? as_button(unit)->get(own_index, value) : 0;
}

bool serialize(void* unit, std::vector<std::uint8_t>* out) {
  if (unit == nullptr || out == nullptr) return false;
  *out = as_button(unit)->serialize();
  return true;
}

int default_button(void* unit) {
  return unit != nullptr && as_button(unit)->is_default_button() ? 1 : 0;
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
    case kDefaultButtonOp:
      return reinterpret_cast<void*>(static_cast<DefaultButtonOp>(&default_button));
    default:
      return nullptr;
  }
}

}  // namespace

const runtime::UnitTypeDescriptor& button_unit_type() {
  static const runtime::UnitTypeDescriptor type = {
      .name = "\xB0\xB4\xC5\xA5",  // 按钮
      .english_name = "Button",
      .explanation = nullptr,
      .command_count = 0,
      .command_indexes = nullptr,
      .state_bits = 0x80000840,
      .reserved = 0,
      .event_count = 0,
      .events = nullptr,
      .property_count = kButtonProperties.size(),
      .properties = kButtonProperties.data(),
      .interface_query = &interface_query,
      .element_count = 0,
      .elements = nullptr,
  };
  return type;
}

}  // namespace ui
