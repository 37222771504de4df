#include "app/core_library.h"

#include <array>

#include "automation/automation_commands.h"
#include "commands/core_commands.h"
#include "ui/core/core_library.h"

namespace app {
namespace {

constexpr std::size_t kObjectType = 48;
constexpr std::size_t kVariantType = 49;

// The order of the program image's table; rows 4-12 are the automation commands.
constexpr std::array<runtime::CommandRoutine, kCoreCommandCount> kCommands = {
    &commands::run_program_command,       &commands::to_text_command,
    &commands::message_box_command,       &automation::com_object_create,
    &automation::com_object_method,       &automation::com_object_read_property,
    &automation::variant_to_byte_set,     &automation::variant_clear,
    &automation::com_object_clear,        &automation::com_object_write_property,
    &automation::variant_assign,          &automation::com_object_text_method,
    &commands::split_text_command,        &commands::text_length_command,
    &commands::find_text_command,         &commands::mid_text_command,
    &commands::get_run_directory_command, &commands::popup_menu_command,
};

const std::array<runtime::UnitTypeDescriptor, ui::kCoreTypeSlots>& type_table() {
  static const std::array<runtime::UnitTypeDescriptor, ui::kCoreTypeSlots> table = [] {
    std::array<runtime::UnitTypeDescriptor, ui::kCoreTypeSlots> t{};
    const std::span<const runtime::UnitTypeDescriptor> units = ui::core_unit_types();
    for (std::size_t i = 0; i < t.size() && i < units.size(); ++i) t[i] = units[i];
    t[kObjectType - 1] = automation::com_object_type_descriptor();
    t[kVariantType - 1] = automation::variant_type_descriptor();
    return t;
  }();
  return table;
}

}  // namespace

std::span<const runtime::CommandRoutine> core_commands() {
  return kCommands;
}

std::span<const runtime::UnitTypeDescriptor> core_types() {
  return type_table();
}

std::intptr_t core_library_notify(std::int32_t code, std::intptr_t arg1, std::intptr_t) {
  if (code != runtime::notify::kStart) return -1;
  const auto callback = reinterpret_cast<runtime::RuntimeCallback>(arg1);
  commands::attach_runtime(callback);
  automation::attach_runtime(callback);
  return 0;
}

const runtime::LibraryRecord& core_library_record() {
  static const runtime::LibraryRecord record = [] {
    // The basic units' record supplies the identity words; the commands and types are ours.
    runtime::LibraryRecord r = ui::core_library_record();
    r.types = type_table().data();
    r.type_count = ui::kCoreTypeSlots;
    r.command_count = kCoreCommandCount;
    r.commands = kCommands.data();
    r.notify = &core_library_notify;
    return r;
  }();
  return record;
}

}  // namespace app
