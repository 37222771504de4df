#include "ui/listview/extended_library.h"

#include <array>

#include "ui/listview/listview_commands.h"
#include "ui/listview/listview_type.h"

namespace ui::listview {
namespace {

constinit runtime::RuntimeLink runtime_link;

const std::array<runtime::UnitTypeDescriptor, kExtendedTypeSlots>& type_table() {
  static const std::array<runtime::UnitTypeDescriptor, kExtendedTypeSlots> table = [] {
    std::array<runtime::UnitTypeDescriptor, kExtendedTypeSlots> t{};
    t[(kListViewType & 0xFFFF) - 1] = list_view_unit_type();
    return t;
  }();
  return table;
}

constexpr std::array<runtime::CommandRoutine, kExtendedCommandCount> kCommands = {
    &delete_all_items_command,
    &insert_item_command,
    &set_item_text_command,
    &get_item_text_command,
};

}  // namespace

std::span<const runtime::UnitTypeDescriptor> extended_unit_types() {
  return type_table();
}

std::span<const runtime::CommandRoutine> extended_commands() {
  return kCommands;
}

std::intptr_t extended_library_notify(std::int32_t code, std::intptr_t arg1, std::intptr_t) {
  if (code != runtime::notify::kStart) return -1;
  runtime_link.attach(reinterpret_cast<runtime::RuntimeCallback>(arg1));
  return 0;
}

const runtime::RuntimeLink& extended_library_link() {
  return runtime_link;
}

const runtime::LibraryRecord& extended_library_record() {
  static const runtime::LibraryRecord record = [] {
    runtime::LibraryRecord r{};
    r.format_mark = runtime::kLibraryRecordMark;
    r.guid = "9db1a0f6c4e2437b8a5d6e0f1c2b3a47";
    const std::uint32_t descriptive[7] = {2, 0, 3, 3, 0, 3, 0};
    for (int i = 0; i < 7; ++i) r.descriptive[i] = descriptive[i];
    r.name = "\xC0\xA9\xD5\xB9\xBD\xE7\xC3\xE6\xD6\xA7\xB3\xD6\xBF\xE2\xD2\xBB";  // 扩展界面支持库一
    r.descriptive_one = 1;
    r.flags = 0;
    r.type_count = kExtendedTypeSlots;
    r.types = type_table().data();
    r.command_count = kExtendedCommandCount;
    r.commands = kCommands.data();
    r.notify = &extended_library_notify;
    return r;
  }();
  return record;
}

}  // namespace ui::listview
