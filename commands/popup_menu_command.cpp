#include "commands/popup_menu_command.h"

#include "commands/arguments.h"
#include "platform/api/input.h"
#include "platform/api/menu.h"
#include "runtime/callback.h"
#include "ui/templates/window_collection.h"
#include "ui/state/menu_builder.h"

namespace commands {
namespace {

constexpr int kCursorOffset = 3;

using ui::templates::WindowCollection;
using ui::templates::WindowTemplate;

// True when the record at `unit` is a menu record and the next menu record lies deeper.
bool has_sub_items(const WindowTemplate& window, std::size_t unit) {
  if (!window.units[unit].is_menu()) return false;
  const std::uint32_t level = window.units[unit].menu().level;
  for (std::size_t i = unit + 1; i < window.units.size(); ++i) {
    if (window.units[i].is_menu()) return window.units[i].menu().level > level;
  }
  return false;
}

// Every item becomes owner-drawn, keeping its state, with its command id as item data.
void make_owner_drawn(HMENU menu) {
  const int items = GetMenuItemCount(menu);
  for (int i = 0; i < items; ++i) {
    const auto pos = static_cast<UINT>(i);
    const UINT state =
        GetMenuState(menu, pos, MF_BYPOSITION) & (MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_SEPARATOR);
    if (HMENU sub = GetSubMenu(menu, i)) {
      make_owner_drawn(sub);
      ModifyMenuA(menu, pos, MF_BYPOSITION | MF_OWNERDRAW | MF_POPUP | state, reinterpret_cast<UINT_PTR>(sub),
                  nullptr);
      continue;
    }
    const UINT id = GetMenuItemID(menu, i);
    ModifyMenuA(menu, pos, MF_BYPOSITION | MF_OWNERDRAW | state, id,
                reinterpret_cast<LPCSTR>(static_cast<UINT_PTR>(id)));
  }
}

}  // namespace

POINT popup_position(POINT cursor, const runtime::ArgRecord* args, std::int32_t count) {
  const Arguments a(count, args);
  POINT at{cursor.x + kCursorOffset, cursor.y + kCursorOffset};
  if (a.given(3)) at.x = a.integer(3, at.x);
  if (a.given(4)) at.y = a.integer(4, at.y);
  return at;
}

void popup_menu_command(runtime::ArgRecord*, std::int32_t count, runtime::ArgRecord* args) {
  const Arguments a(count, args);
  const std::uint32_t window_id = a.given(1) ? a.record(1).lo : 0;
  // Does not return when the window is not loaded.
  call_runtime(runtime::callback::kFindUnitOrFail, window_id, 0);
  if (!a.given(2) || a.record(2).lo != window_id) return;

  auto* collection =
      reinterpret_cast<WindowCollection*>(call_runtime(runtime::callback::kWindowCollection, 0, 0));
  if (collection == nullptr) return;
  const int window_index = collection->find(window_id);
  if (window_index < 0) return;
  const WindowTemplate& window = collection->window(static_cast<std::size_t>(window_index));
  const int unit = window.find_unit(a.record(2).hi);
  if (unit < 0 || !has_sub_items(window, static_cast<std::size_t>(unit))) return;

  HMENU popup = ui::build_popup_menu(static_cast<std::size_t>(window_index), static_cast<std::size_t>(unit));
  if (popup == nullptr) return;
  if (GetMenuItemCount(popup) > 0) {
    if (!window.units.empty() && !window.units[0].is_menu() &&
        (window.units[0].control().state_flags & ui::templates::kOwnerDrawnPopups) != 0) {
      make_owner_drawn(popup);
    }
    POINT cursor{};
    GetCursorPos(&cursor);
    const POINT at = popup_position(cursor, args, count);
    auto owner = reinterpret_cast<HWND>(call_runtime(runtime::callback::kWindowHandle, window_id, 0));
    TrackPopupMenu(popup, TPM_RIGHTBUTTON, at.x, at.y, 0, owner, nullptr);
  }
  DestroyMenu(popup);
}

}  // namespace commands
