#include "ui/windows/unit_recreation.h"

#include <mutex>
#include <vector>

#include "platform/api/user.h"
#include "ui/templates/window_collection.h"
#include "ui/units/unit_interface.h"
#include "ui/windows/unit_operations.h"
#include "ui/windows/unit_slots.h"
#include "ui/windows/window_builder.h"
#include "ui/windows/z_order.h"

namespace ui {
namespace {

struct Recreating {
  std::size_t window_index;
  std::uint32_t unit_id;
};

// The old unit's window may be destroyed on its owner thread while another thread re-creates it.
struct RecreatingUnits {
  std::mutex mutex;
  std::vector<Recreating> units;
};

RecreatingUnits& recreating() {
  static RecreatingUnits units;
  return units;
}

class RecreationMark {
 public:
  RecreationMark(std::size_t window_index, std::uint32_t unit_id)
      : window_index_(window_index), unit_id_(unit_id) {
    std::lock_guard lock(recreating().mutex);
    recreating().units.push_back({window_index, unit_id});
  }
  ~RecreationMark() {
    std::lock_guard lock(recreating().mutex);
    auto& units = recreating().units;
    for (auto it = units.begin(); it != units.end(); ++it) {
      if (it->window_index == window_index_ && it->unit_id == unit_id_) {
        units.erase(it);
        break;
      }
    }
  }
  RecreationMark(const RecreationMark&) = delete;
  RecreationMark& operator=(const RecreationMark&) = delete;

 private:
  std::size_t window_index_;
  std::uint32_t unit_id_;
};

// The unit's rectangle in its parent's client coordinates.
RECT rectangle_in_parent(HWND native) {
  RECT r{};
  GetWindowRect(native, &r);
  POINT corners[2] = {{r.left, r.top}, {r.right, r.bottom}};
  MapWindowPoints(nullptr, GetParent(native), corners, 2);
  return RECT{corners[0].x, corners[0].y, corners[1].x, corners[1].y};
}

void adopt_children(HWND from, HWND to) {
  // Last child first, so that the adopted children keep their stacking.
  for (HWND child = GetWindow(GetWindow(from, GW_CHILD), GW_HWNDLAST); child != nullptr;) {
    HWND previous = GetWindow(child, GW_HWNDPREV);
    SetParent(child, to);
    child = previous;
  }
}

}  // namespace

bool recreation_in_progress(std::size_t window_index, std::uint32_t unit_id) {
  std::lock_guard lock(recreating().mutex);
  for (const Recreating& r : recreating().units) {
    if (r.window_index == window_index && r.unit_id == unit_id) return true;
  }
  return false;
}

void recreate_unit(std::size_t window_index, std::size_t unit_index) {
  templates::WindowCollection& collection = templates::window_collection();
  if (window_index >= collection.size()) return;
  const templates::WindowTemplate& window = collection.window(window_index);
  if (unit_index >= window.units.size() || window.units[unit_index].is_menu()) return;
  const templates::UnitRecord& record = window.units[unit_index];
  const runtime::UnitTypeDescriptor* type = unit_type_of(record);
  const std::uint32_t bits = type_state_bits(type);
  if (type == nullptr || (bits & kTypeNotRecreatable) != 0) return;
  Unit* old_unit = live_unit(window_index, unit_index);
  auto serialize = unit_operation<SerializeOp>(type, kSerializeOp);
  auto create = unit_operation<CreateOp>(type, kCreateOp);
  if (old_unit == nullptr || serialize == nullptr || create == nullptr) return;

  HWND old_native = old_unit->hwnd();
  HWND noted_focus = GetFocus();
  const bool had_focus = noted_focus == old_native;
  std::vector<std::uint8_t> block;
  if (!serialize(old_unit, &block)) return;

  const RECT rect = rectangle_in_parent(old_native);
  const LONG old_style = GetWindowLongA(old_native, GWL_STYLE);
  UnitCreateArgs args;
  args.parent = GetParent(old_native);
  args.properties = block;
  // The tab stop came from the record when the unit was built; it is not part of the block.
  args.extra_styles = (IsWindowEnabled(old_native) ? 0 : WS_DISABLED) | (old_style & WS_TABSTOP);
  args.control_id = static_cast<UINT>(GetDlgCtrlID(old_native));
  args.left = rect.left;
  args.top = rect.top;
  args.width = rect.right - rect.left;
  args.height = rect.bottom - rect.top;
  args.window_id = window.id;
  args.unit_id = record.id;

  RecreationMark mark(window_index, record.id);
  auto* created = static_cast<Unit*>(create(args));
  if (created == nullptr) return;
  HWND new_native = created->hwnd();
  if (new_native == nullptr || !IsWindow(new_native)) {
    // Keep the unit we have rather than lose it.
    created->destroy();
    return;
  }
  if (bits & kTypeAdoptsChildren) adopt_children(old_native, new_native);
  store_unit_object(window_index, unit_index, created);
  place_in_z_order(window_index, unit_index);
  SendMessageA(new_native, kMsgRereadData, 0, 0);
  SendMessageA(new_native, kMsgPageSetup, 0, 0);
  if (bits & kTypeRelayoutParent) SendMessageA(GetParent(new_native), kMsgLayout, 0, 0);
  if (old_style & WS_VISIBLE) ShowWindow(new_native, SW_SHOWNA);

  old_unit->destroy();
  if (had_focus) {
    SetFocus(new_native);
  } else if (GetFocus() != noted_focus && noted_focus != nullptr && IsWindow(noted_focus)) {
    SetFocus(noted_focus);
  }
}

}  // namespace ui
