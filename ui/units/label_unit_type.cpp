// The label unit type (1,10): its descriptor, property kinds and interface query.
#include <array>

#include "ui/units/label_unit.h"
#include "ui/units/property_descriptors.h"
#include "ui/units/unit_types.h"

namespace ui {
namespace {

constexpr std::array<std::uint16_t, 21> kOwnKinds = {
    kind::kText,    kind::kChoice,     kind::kChoice,     kind::kInteger,    kind::kColour2, kind::kColour2,
    kind::kColour2, kind::kFont,       kind::kColour,     kind::kBackColour, kind::kPicture, kind::kChoice,
    kind::kChoice,  kind::kColour2,    kind::kColour2,    kind::kColour2,    kind::kChoice,  kind::kLogical,
    kind::kChoice,  kind::kDataSource, kind::kDataColumn,
};
static_assert(kOwnKinds.size() == label_property::kCount);

constexpr auto kProperties = control_properties(kOwnKinds);

LabelUnit* unit_of(void* object) {
  return static_cast<LabelUnit*>(static_cast<Unit*>(object));
}

void* create(const UnitCreateArgs& args) {
  return static_cast<Unit*>(LabelUnit::create(args));
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
    default:
      return nullptr;
  }
}

}  // namespace

const runtime::UnitTypeDescriptor& label_unit_type() {
  static const runtime::UnitTypeDescriptor type = {
      .name = "\xB1\xEA\xC7\xA9",  // GBK
      .english_name = "Label",
      .explanation = nullptr,
      .command_count = 0,
      .command_indexes = nullptr,
      .state_bits = 0x84012040,
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
