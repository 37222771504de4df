#include "ui/access/property_access.h"

#include "platform/api/user.h"
#include "runtime/message_loop.h"
#include "runtime/messages.h"
#include "runtime/runtime_error.h"
#include "runtime/window_system.h"
#include "ui/access/access_parts.h"
#include "ui/access/owner_thread.h"
#include "ui/state/messages.h"
#include "ui/templates/window_collection.h"
#include "ui/windows/window_builder.h"

namespace ui {
namespace {

constexpr std::int32_t kCommonCount = 8;

// The unit's own native window, or the runtime error for a type's own property of a dead unit.
Unit* live_or_fail(const AccessTarget& target) {
  Unit* unit = live_unit(target.window, target.unit);
  if (unit == nullptr) runtime::report_gone(messages::kUnitNotLive);
  return unit;
}

// A setter that changed what the native window was created with: build it again, with nothing
// delivered to the application meanwhile.
void recreate(const AccessTarget& target) {
  runtime::pump_pending_messages();
  runtime::block_events();
  recreate_unit(target.window, target.unit);
  runtime::pump_pending_messages();
  runtime::unblock_events();
}

}  // namespace

AccessTarget find_access_target(std::uint32_t window_id, std::uint32_t unit_id) {
  const int window = window_index_of(window_id);
  if (window < 0) runtime::report_gone(messages::kAccessWindowNotLoaded);
  const int unit = unit_index_of(static_cast<std::size_t>(window), unit_id);
  if (unit < 0) runtime::report_gone(runtime::messages::kUnitNotLoaded);
  AccessTarget target;
  target.window = static_cast<std::size_t>(window);
  target.unit = static_cast<std::size_t>(unit);
  target.record = &templates::window_collection().window(target.window).units[target.unit];
  return target;
}

std::uint64_t read_unit_property(std::uint32_t window_id, std::uint32_t unit_id, std::int32_t index,
                                 std::int32_t selector) {
  const AccessTarget target = find_access_target(window_id, unit_id);
  if (target.record->is_menu()) return read_menu_property(target.record->menu(), index);
  if (index < 0) return 0;
  if (index < kCommonCount) return read_common_property(target, index);

  Unit* unit = live_or_fail(target);
  const runtime::UnitTypeDescriptor* type = runtime::unit_type(target.record->type_reference);
  if (type == nullptr) return 0;
  std::uint64_t value = 0;
  run_on_owner(unit->hwnd(), [&] {
    // The unit may have gone while the request waited for its thread.
    if (Unit* now = live_unit(target.window, target.unit))
      value = read_own_property(*type, now, index, kUnitFirstOwn, selector);
  });
  return value;
}

void write_unit_property(std::uint32_t window_id, std::uint32_t unit_id, std::int32_t index,
                         std::int32_t selector, std::uint64_t value) {
  const AccessTarget target = find_access_target(window_id, unit_id);
  if (target.record->is_menu()) {
    write_menu_property(target, index, value);
    return;
  }
  if (index < 0) return;
  if (index < kCommonCount) {
    write_common_property(target, index, value);
    return;
  }

  Unit* unit = live_or_fail(target);
  const runtime::UnitTypeDescriptor* type = runtime::unit_type(target.record->type_reference);
  if (type == nullptr) return;
  run_on_owner(unit->hwnd(), [&] {
    Unit* now = live_unit(target.window, target.unit);
    if (now == nullptr) return;
    const int answer = write_own_property(*type, now, index, kUnitFirstOwn, selector, value);
    if (answer == 1 && live_unit(target.window, target.unit) != nullptr) recreate(target);
  });
}

std::uint64_t read_object_property(std::uint32_t type_reference, void* object, std::int32_t index,
                                   std::int32_t selector) {
  const runtime::UnitTypeDescriptor* type = runtime::unit_type(type_reference);
  if (type == nullptr || object == nullptr) return 0;
  return read_own_property(*type, object, index, kObjectFirstOwn, selector);
}

void write_object_property(std::uint32_t type_reference, void* object, std::int32_t index,
                           std::int32_t selector, std::uint64_t value) {
  const runtime::UnitTypeDescriptor* type = runtime::unit_type(type_reference);
  if (type == nullptr || object == nullptr) return;
  write_own_property(*type, object, index, kObjectFirstOwn, selector, value);
}

}  // namespace ui
