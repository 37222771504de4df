#include "ui/listview/listview_type.h"

#include <array>
#include <cstring>
#include <string>

#include "platform/api/gdi.h"
#include "ui/listview/listview_properties.h"
#include "ui/listview/listview_unit.h"
#include "ui/units/property_descriptors.h"

namespace ui::listview {
namespace {

constexpr std::uint16_t kPlainFlags = 0;
constexpr std::uint16_t kLayoutFlags = 1;
constexpr std::uint16_t kRunTimeOnlyFlags = 4;

// Kinds of the own properties (index - 8), in index order.
constexpr std::array<std::uint16_t, 31> kOwnKinds = {
    kind::kChoice,  kind::kColour,  kind::kBackColour, kind::kBackColour, kind::kFont,      kind::kChoice,
    kind::kChoice,  kind::kLogical, kind::kLogical,    kind::kListData2,  kind::kLogical,   kind::kListData1,
    kind::kLogical, kind::kLogical, kind::kLogical,    kind::kLogical,    kind::kListData1, kind::kListData1,
    kind::kLogical, kind::kLogical, kind::kLogical,    kind::kLogical,    kind::kLogical,   kind::kChoice,
    kind::kLogical, kind::kLogical, kind::kLogical,    kind::kInteger,    kind::kLogical,   kind::kListData2,
    kind::kText,
};

constexpr std::uint16_t flags_of(std::size_t index) {
  if ((index >= 14 && index <= 23) || (index >= 27 && index <= 29)) return kLayoutFlags;
  if (index == 38) return kRunTimeOnlyFlags;
  return kPlainFlags;
}

constexpr auto make_properties() {
  auto all = control_properties(kOwnKinds);
  for (std::size_t i = 8; i < all.size(); ++i) all[i].flags = flags_of(i);
  return all;
}

constexpr auto kProperties = make_properties();
static_assert(kProperties.size() == kListViewPropertyCount);

ListViewUnit* unit_of(void* unit) {
  return static_cast<ListViewUnit*>(static_cast<Unit*>(unit));
}

void* create(const UnitCreateArgs& args) {
  return static_cast<Unit*>(ListViewUnit::create(args));
}

int set(void* unit, std::int32_t own_index, const PropertyPair& value) {
  return unit != nullptr ? unit_of(unit)->set_property(own_index, value) : 0;
}

bool serialize(void* unit, std::vector<std::uint8_t>* out) {
  if (unit == nullptr || out == nullptr) return false;
  *out = unit_of(unit)->serialize();
  return true;
}

int get(void* unit, std::int32_t own_index, PropertyPair* value) {
  return unit != nullptr ? unit_of(unit)->get_property(own_index, value) : 0;
}

int enumerate_texts(std::span<const std::uint8_t> block, TextVisitor visit, void* context) {
  std::optional<ListViewProperties> p = ListViewProperties::parse(block);
  if (!p) return -1;
  int count = 0;
  auto emit = [&](const std::string& text) {
    if (visit != nullptr) visit(text.c_str(), context);
    ++count;
  };
  if (p->font.size() == sizeof(LOGFONTA)) {
    LOGFONTA font{};
    std::memcpy(&font, p->font.data(), sizeof font);
    emit(std::string(font.lfFaceName, strnlen(font.lfFaceName, LF_FACESIZE)));
  }
  for (const ColumnRecord& c : decode_columns(p->columns)) emit(c.title);
  for (const ItemRecord& i : decode_items(p->items)) {
    emit(i.text);
    emit(i.tip);
  }
  return count;
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
    case kEnumerateTextsOp:
      return reinterpret_cast<void*>(static_cast<EnumerateTextsOp>(&enumerate_texts));
    default:
      return nullptr;
  }
}

}  // namespace

const runtime::UnitTypeDescriptor& list_view_unit_type() {
  static const runtime::UnitTypeDescriptor type = {
      .name = "\xB3\xAC\xBC\xB6\xC1\xD0\xB1\xED\xBF\xF2",  // 超级列表框
      .english_name = "ListView",
      .explanation = nullptr,
      .command_count = 0,
      .command_indexes = nullptr,
      .state_bits = 0x40,
      .reserved = 0,
      .event_count = 0,
      .events = nullptr,
      .property_count = kListViewPropertyCount,
      .properties = kProperties.data(),
      .interface_query = &interface_query,
      .element_count = 0,
      .elements = nullptr,
  };
  return type;
}

}  // namespace ui::listview
