// The picture box unit type (1,6): descriptor, property descriptors and unit operations.
#include <array>

#include "runtime/image.h"
#include "ui/picture/box/picture_box.h"
#include "ui/units/property_descriptors.h"
#include "ui/units/unit_interface.h"
#include "ui/units/unit_types.h"

namespace ui {
namespace {

constexpr auto kPictureBoxProperties = control_properties(std::array<std::uint16_t, 7>{
    kind::kChoice,      // 8 border style
    kind::kBackColour,  // 9 background colour
    kind::kPicture,     // 10 picture
    kind::kChoice,      // 11 display mode
    kind::kLogical,     // 12 play animation
    kind::kDataSource,  // 13 data source
    kind::kDataColumn,  // 14 data column
});

PictureBox* as_box(void* unit) {
  return static_cast<PictureBox*>(static_cast<Unit*>(unit));
}

void* create(const UnitCreateArgs& args) {
  return static_cast<Unit*>(PictureBox::create(args));
}

int set(void* unit, std::int32_t own_index, const PropertyPair& value) {
  return unit != nullptr ? as_box(unit)->set(own_index, value) : 0;
}

int get(void* unit, std::int32_t own_index, PropertyPair* value) {
  return unit != nullptr ? as_box(unit)->get(own_index, value) : 0;
}

bool serialize(void* unit, std::vector<std::uint8_t>* out) {
  if (unit == nullptr || out == nullptr) return false;
  *out = as_box(unit)->serialize();
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

const runtime::UnitTypeDescriptor& picture_box_unit_type() {
  static const runtime::UnitTypeDescriptor type = {
      .name = "\xCD\xBC\xC6\xAC\xBF\xF2",  // 图片框
      .english_name = "PicBox",
      .explanation = nullptr,
      .command_count = 0,
      .command_indexes = nullptr,
      .state_bits = 0x840100C0,
      .reserved = 0,
      .event_count = 0,
      .events = nullptr,
      .property_count = kPictureBoxProperties.size(),
      .properties = kPictureBoxProperties.data(),
      .interface_query = &interface_query,
      .element_count = 0,
      .elements = nullptr,
  };
  return type;
}

}  // namespace ui
