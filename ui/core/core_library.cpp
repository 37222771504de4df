#include "ui/core/core_library.h"

#include <array>

#include "ui/units/property_descriptors.h"
#include "ui/units/unit_type_support.h"
#include "ui/units/unit_types.h"

namespace ui {
namespace {

constexpr std::array<runtime::PropertyDescriptor, 4> kMenuProperties = {
    property(kind::kText), property(kind::kLogical), property(kind::kLogical), property(kind::kLogical)};

const std::array<runtime::UnitTypeDescriptor, kCoreTypeSlots>& type_table() {
  static const std::array<runtime::UnitTypeDescriptor, kCoreTypeSlots> table = [] {
    std::array<runtime::UnitTypeDescriptor, kCoreTypeSlots> t{};
    t[0] = window_unit_type();
    t[2] = menu_unit_type();
    t[4] = edit_unit_type();
    t[5] = picture_box_unit_type();
    t[8] = group_box_unit_type();
    t[9] = label_unit_type();
    t[10] = button_unit_type();
    return t;
  }();
  return table;
}

}  // namespace

const runtime::UnitTypeDescriptor& menu_unit_type() {
  static const runtime::UnitTypeDescriptor type =
      unit_type_descriptor("\xB2\xCB\xB5\xA5",  // 菜单
                           "menu", 0x80000004, kMenuProperties, nullptr);
  return type;
}

std::span<const runtime::UnitTypeDescriptor> core_unit_types() {
  return type_table();
}

const runtime::LibraryRecord& core_library_record() {
  static const runtime::LibraryRecord record = [] {
    runtime::LibraryRecord r{};
    r.format_mark = runtime::kLibraryRecordMark;
    r.guid = "4528e648988072292038f7b470f6cd94";
    const std::uint32_t descriptive[7] = {5, 2, 64, 3, 7, 3, 7};
    for (int i = 0; i < 7; ++i) r.descriptive[i] = descriptive[i];
    r.name = "\xCF\xB5\xCD\xB3\xBA\xCB\xD0\xC4\xD6\xA7\xB3\xD6\xBF\xE2";  // 系统核心支持库
    r.descriptive_one = 1;
    r.flags = 0xC0000001;
    r.type_count = kCoreTypeSlots;
    r.types = type_table().data();
    return r;
  }();
  return record;
}

}  // namespace ui
