// The menu bar, the accelerator table and popup menus of a window, built from its menu records.
// Contract:
// - Command ids are 20000 + the record's position among the window's menu records (template
//   order); items left out as hidden still use up their id.
// - build_menu_bar: a top-level record becomes a popup on the bar holding the records of deeper
//   level that follow it; a hidden record is left out with its whole subtree; disabled items are
//   grayed, checked ones checked, the caption "-" is a separator, and an item with a hotkey shows
//   caption + "\t" + the hotkey's name. Every item left on the bar with a hotkey gives an
//   accelerator. `bar` is null when no item is left on it (the window then has no menu bar);
//   `accelerators` null when there is no hotkey. The caller owns both. The popups are noted in
//   the window's menu-handle slots by the unit index of their record.
// - rebuild_menu (window_builder.h) installs a fresh bar and table and destroys the old ones.
// - build_popup_menu builds a popup of one record's sub-items (the record's own hidden flag
//   does not matter); null when the window or record is unknown. The caller destroys it.
// - build_unit_popup_menu is the same for a window id and unit id (Window.PopupMenu, runtime
//   callback 2036): null unless the unit is a menu record with sub-items; its items are
//   owner-drawn (item data = command id) when the window unit's state flags ask for it.
// - dispatch_menu_command raises the selection event (0) of the menu record a WM_COMMAND id
//   names; false when the id names no record of the window.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/api/types.h"

namespace ui {

inline constexpr UINT kFirstMenuCommand = 20000;

struct BuiltMenu {
  HMENU bar = nullptr;
  HACCEL accelerators = nullptr;
};

BuiltMenu build_menu_bar(std::size_t window_index);
// Destroys a bar and table as build_menu_bar made them (either may be null).
void destroy_built_menu(BuiltMenu& menu);

HMENU build_popup_menu(std::size_t window_index, std::size_t menu_unit_index);
HMENU build_unit_popup_menu(std::uint32_t window_id, std::uint32_t menu_unit_id);
bool dispatch_menu_command(std::size_t window_index, UINT command_id);

// The command id of a menu record, or 0 when the unit is not a menu record of the window.
UINT menu_command_id(std::size_t window_index, std::size_t unit_index);

}  // namespace ui
