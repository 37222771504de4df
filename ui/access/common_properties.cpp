#include <algorithm>
#include <string_view>

#include "platform/api/input.h"
#include "platform/api/user.h"
#include "runtime/values.h"
#include "runtime/window_system.h"
#include "ui/access/access_parts.h"
#include "ui/access/owner_thread.h"
#include "ui/access/property_kinds.h"
#include "ui/state/window_lookups.h"
#include "ui/templates/window_collection.h"
#include "ui/units/unit.h"
#include "ui/units/unit_interface.h"
#include "ui/windows/cursor_selector.h"

namespace ui {
namespace {

enum CommonProperty : std::int32_t { kLeft, kTop, kWidth, kHeight, kTag, kVisible, kDisabled, kCursor };

// Positions and sizes stay inside what the window system's 16-bit coordinates hold safely.
constexpr std::int32_t kCoordinateLimit = 32627;

std::uint64_t word(std::int32_t v) {
  return static_cast<std::uint32_t>(v);
}

std::uint64_t pointer_value(const void* p) {
  return reinterpret_cast<std::uintptr_t>(p);
}

// The native window's rectangle in its parent's client coordinates (screen for a top-level one).
RECT placed_rect(HWND native) {
  RECT r{};
  GetWindowRect(native, &r);
  if ((static_cast<DWORD>(GetWindowLongA(native, GWL_STYLE)) & WS_CHILD) != 0) {
    if (HWND parent = GetParent(native)) MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  }
  return r;
}

const runtime::UnitTypeDescriptor* type_of(const templates::UnitRecord& record) {
  return runtime::unit_type(record.type_reference);
}

// A unit on a page of a page container stays hidden unless that page is showing. The showing
// page is the one with a visible unit on it (the first page when none is).
bool on_hidden_page(const AccessTarget& target) {
  const std::uint32_t parent_id = target.record->control().parent_id;
  if (parent_id == 0) return false;
  const templates::WindowTemplate& window = templates::window_collection().window(target.window);
  const int parent_index = window.find_unit(parent_id);
  if (parent_index < 0 || window.units[parent_index].is_menu()) return false;
  const runtime::UnitTypeDescriptor* parent_type = type_of(window.units[parent_index]);
  if (parent_type == nullptr || (parent_type->state_bits & kTypePageContainer) == 0) return false;

  int my_page = -1;
  int showing_page = -1;
  int page = 0;
  for (std::uint32_t child : window.units[parent_index].control().child_ids) {
    if (child == 0) {
      ++page;
      continue;
    }
    if (child == target.record->id) {
      my_page = page;
      continue;
    }
    const int index = window.find_unit(child);
    Unit* unit = index >= 0 ? live_unit(target.window, static_cast<std::size_t>(index)) : nullptr;
    if (showing_page < 0 && unit != nullptr && IsWindowVisible(unit->hwnd())) showing_page = page;
  }
  if (my_page < 0) return false;
  return my_page != std::max(showing_page, 0);
}

void write_visible(const AccessTarget& target, bool visible) {
  templates::ControlRecord& record = target.record->control();
  record.state_flags =
      visible ? record.state_flags | templates::kVisible : record.state_flags & ~templates::kVisible;
  Unit* unit = live_unit(target.window, target.unit);
  if (unit == nullptr) return;
  HWND native = unit->hwnd();
  if (!visible) {
    run_on_owner(native, [native] { ShowWindow(native, SW_HIDE); });
    return;
  }
  if (target.unit == 0) {
    run_on_owner(native, [native] { ShowWindow(native, SW_SHOW); });
    return;
  }
  const runtime::UnitTypeDescriptor* type = type_of(*target.record);
  if (type != nullptr && (type->state_bits & kTypeStartsHidden) != 0) return;
  if (on_hidden_page(target)) return;
  run_on_owner(native, [native] { ShowWindow(native, SW_SHOWNA); });
}

void write_cursor(const AccessTarget& target, std::uint64_t value) {
  const void* set = reinterpret_cast<const void*>(static_cast<std::uintptr_t>(value));
  std::vector<std::uint8_t> stored = cursor_bytes_for_storing(runtime::byte_set_bytes(set));
  Unit* unit = live_unit(target.window, target.unit);
  HWND native = unit != nullptr ? unit->hwnd() : window_native(target.window);
  run_on_owner(native, [&] {
    set_unit_cursor(target.window, target.unit, stored);
    target.record->control().cursor_selector = stored;
    if (unit != nullptr) {
      // Shows the new cursor at once: the window system asks for it again on the next move.
      POINT at{};
      if (GetCursorPos(&at)) SetCursorPos(at.x, at.y);
    }
  });
}

}  // namespace

std::uint64_t read_common_property(const AccessTarget& target, std::int32_t index) {
  const templates::ControlRecord& record = target.record->control();
  Unit* unit = live_unit(target.window, target.unit);
  HWND native = unit != nullptr ? unit->hwnd() : nullptr;
  switch (index) {
    case kLeft:
    case kTop:
    case kWidth:
    case kHeight: {
      if (native == nullptr) {
        const std::int32_t stored[] = {record.left, record.top, record.width, record.height};
        return word(stored[index]);
      }
      const RECT r = placed_rect(native);
      const std::int32_t live[] = {r.left, r.top, r.right - r.left, r.bottom - r.top};
      return word(live[index]);
    }
    case kTag:
      return pointer_value(runtime::make_text(record.tag));
    case kVisible:
      if (native != nullptr) return IsWindowVisible(native) ? 1 : 0;
      return (record.state_flags & templates::kVisible) != 0 ? 1 : 0;
    case kDisabled:
      if (native != nullptr) return IsWindowEnabled(native) ? 0 : 1;
      return (record.state_flags & templates::kDisabled) != 0 ? 1 : 0;
    case kCursor: {
      std::vector<std::uint8_t> bytes = cursor_bytes_for_reading(record.cursor_selector);
      return pointer_value(runtime::make_byte_set(bytes.data(), bytes.size()));
    }
    default:
      return 0;
  }
}

void write_common_property(const AccessTarget& target, std::int32_t index, std::uint64_t value) {
  templates::ControlRecord& record = target.record->control();
  const auto v = static_cast<std::int32_t>(value);
  switch (index) {
    case kLeft:
    case kTop: {
      const std::int32_t clamped = std::clamp(v, -kCoordinateLimit, kCoordinateLimit);
      (index == kLeft ? record.left : record.top) = clamped;
      if (Unit* unit = live_unit(target.window, target.unit)) {
        HWND native = unit->hwnd();
        run_on_owner(native, [native, index, clamped] {
          const RECT r = placed_rect(native);
          const int x = index == kLeft ? clamped : r.left;
          const int y = index == kTop ? clamped : r.top;
          MoveWindow(native, x, y, r.right - r.left, r.bottom - r.top, TRUE);
        });
      }
      return;
    }
    case kWidth:
    case kHeight: {
      const std::int32_t clamped = std::clamp(v, 0, kCoordinateLimit);
      (index == kWidth ? record.width : record.height) = clamped;
      if (Unit* unit = live_unit(target.window, target.unit)) {
        HWND native = unit->hwnd();
        run_on_owner(native, [native, index, clamped] {
          RECT r{};
          GetWindowRect(native, &r);
          const int width = index == kWidth ? clamped : r.right - r.left;
          const int height = index == kHeight ? clamped : r.bottom - r.top;
          SetWindowPos(native, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        });
      }
      return;
    }
    case kTag:
      record.tag.assign(
          runtime::text_or_empty(reinterpret_cast<const char*>(static_cast<std::uintptr_t>(value))));
      return;
    case kVisible:
      write_visible(target, static_cast<std::uint32_t>(value) != 0);
      return;
    case kDisabled: {
      const bool disabled = static_cast<std::uint32_t>(value) != 0;
      record.state_flags =
          disabled ? record.state_flags | templates::kDisabled : record.state_flags & ~templates::kDisabled;
      if (Unit* unit = live_unit(target.window, target.unit)) {
        HWND native = unit->hwnd();
        run_on_owner(native, [native, disabled] { EnableWindow(native, disabled ? FALSE : TRUE); });
      }
      return;
    }
    case kCursor:
      write_cursor(target, value);
      return;
    default:
      return;
  }
}

}  // namespace ui
