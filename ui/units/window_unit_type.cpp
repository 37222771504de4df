// The window unit type (1,1): its descriptor, property kinds and interface query.
#include <array>

#include "ui/units/property_descriptors.h"
#include "ui/units/unit_types.h"
#include "ui/units/window_unit.h"

namespace ui {
namespace {

constexpr std::array<std::uint16_t, 24> kOwnKinds = {
    kind::kText,    kind::kChoice,  kind::kBackColour, kind::kPicture, kind::kChoice,  kind::kSound,
    kind::kChoice,  kind::kLogical, kind::kLogical,    kind::kLogical, kind::kChoice,  kind::kLogical,
    kind::kIcon,    kind::kLogical, kind::kLogical,    kind::kLogical, kind::kText2,   kind::kInteger,
    kind::kLogical, kind::kLogical, kind::kChoice,     kind::kLogical, kind::kLogical, kind::kText,
};
static_assert(kOwnKinds.size() == window_property::kCount);

constexpr auto kProperties = control_properties(kOwnKinds);

WindowUnit* unit_of(void* object) {
  return static_cast<WindowUnit*>(static_cast<Unit*>(object));
}

void* create(const UnitCreateArgs& args) {
  return static_cast<Unit*>(WindowUnit::create(args));
}

int set(void* object, std::int32_t own, const PropertyPair& value) {
  return unit_of(object)->set(own, value);
}

bool serialize_unit(void* object, std::vector<std::uint8_t>* out) {
  *out = serialize(unit_of(object)->properties());
  return true;
}

int get(void* object, std::int32_t own, PropertyPair* value) {
  return unit_of(object)->get(own, value);
}

void switches(void* object, WindowSwitches* out) {
  *out = unit_of(object)->switches();
}

void* interface_query(std::int32_t code) {
  switch (code) {
    case kCreateOp:
      return reinterpret_cast<void*>(static_cast<CreateOp>(&create));
    case kSetOp:
      return reinterpret_cast<void*>(static_cast<SetOp>(&set));
    case kSerializeOp:
      return reinterpret_cast<void*>(static_cast<SerializeOp>(&serialize_unit));
    case kGetOp:
      return reinterpret_cast<void*>(static_cast<GetOp>(&get));
    case kWindowSwitchesOp:
      return reinterpret_cast<void*>(static_cast<WindowSwitchesOp>(&switches));
    default:
      return nullptr;
  }
}

}  // namespace

const runtime::UnitTypeDescriptor& window_unit_type() {
  static const runtime::UnitTypeDescriptor type = {
      .name = "\xB4\xB0\xBF\xDA",  // GBK
      .english_name = "window",
      .explanation = nullptr,
      .command_count = 0,
      .command_indexes = nullptr,
      .state_bits = 0x800000D0,
      .reserved = 0,
      .event_count = 0,
      .events = nullptr,
      .property_count = kProperties.size(),
      .properties = kProperties.data(),
      .interface_query = &interface_query,
      .element_count = 0,
      .elements = nullptr,
  };
  return type;
}

}  // namespace ui
