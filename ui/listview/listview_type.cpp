#include "ui/listview/listview_type.h"

#include <array>
#include <cstring>
#include <string>

#include "platform/api/gdi.h"
#include "ui/listview/listview_properties.h"
#include "ui/listview/listview_unit.h"
#include "ui/units/property_descriptors.h"
#include "ui/units/unit_type_support.h"

namespace ui::listview {
namespace {

constexpr std::uint16_t kPlainFlags = 0;
constexpr std::uint16_t kLayoutFlags = 1;
constexpr std::uint16_t kRunTimeOnlyFlags = 4;

// Properties that only some views, or hot tracking, make use of are layout properties.
constexpr std::uint16_t flags_of(std::int32_t own) {
  namespace lp = list_view_property;
  if ((own >= lp::kAlignment && own <= lp::kHeaderDragDrop) ||
      (own >= lp::kHandCursor && own <= lp::kUnderlineCold))
    return kLayoutFlags;
  if (own == lp::kEditedText) return kRunTimeOnlyFlags;
  return kPlainFlags;
}

constexpr auto make_properties() {
  auto all = descriptors(kListViewPropertyTable);
  for (std::size_t i = 8; i < all.size(); ++i) all[i].flags = flags_of(static_cast<std::int32_t>(i - 8));
  return all;
}

constexpr auto kProperties = make_properties();
static_assert(kProperties.size() == kListViewPropertyCount);

using Operations = UnitOperations<ListViewUnit, &ListViewUnit::set_property, &ListViewUnit::get_property>;

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
  if (code == kEnumerateTextsOp) return operation_pointer<EnumerateTextsOp>(&enumerate_texts);
  return Operations::query(code);
}

}  // namespace

const runtime::UnitTypeDescriptor& list_view_unit_type() {
  static const runtime::UnitTypeDescriptor type =
      unit_type_descriptor("\xB3\xAC\xBC\xB6\xC1\xD0\xB1\xED\xBF\xF2",  // 超级列表框
                           "ListView", 0x40, kProperties, &interface_query);
  return type;
}

}  // namespace ui::listview
