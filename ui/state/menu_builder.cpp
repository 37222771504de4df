#include "ui/state/menu_builder.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "platform/api/input.h"
#include "platform/api/menu.h"
#include "runtime/abi/event_request.h"
#include "runtime/callback.h"
#include "ui/state/hotkeys.h"
#include "ui/templates/window_collection.h"

namespace ui {
namespace {

using templates::MenuRecord;

struct MenuItem {
  std::size_t unit_index;
  UINT command;
  const MenuRecord* record;
};

std::vector<MenuItem> menu_items(const templates::WindowTemplate& window) {
  std::vector<MenuItem> items;
  for (std::size_t i = 0; i < window.units.size(); ++i) {
    if (!window.units[i].is_menu()) continue;
    items.push_back({i, static_cast<UINT>(kFirstMenuCommand + items.size()), &window.units[i].menu()});
  }
  return items;
}

// One past the last record that belongs under item `i` (every following record of deeper level).
std::size_t subtree_end(const std::vector<MenuItem>& items, std::size_t i) {
  std::size_t j = i + 1;
  while (j < items.size() && items[j].record->level > items[i].record->level) ++j;
  return j;
}

// True when the record at `unit` is a menu record and the next menu record lies deeper.
bool has_sub_items(const templates::WindowTemplate& window, std::size_t unit) {
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

std::string item_text(const MenuRecord& record) {
  std::string name = hotkey_name(record.hotkey);
  return name.empty() ? record.caption : record.caption + "\t" + name;
}

class MenuWriter {
 public:
  MenuWriter(const std::vector<MenuItem>& items, std::vector<HMENU>* popups, std::vector<ACCEL>* accelerators)
      : items_(items), popups_(popups), accelerators_(accelerators) {}

  // Appends the items of [begin, end) that are direct children, each with its own subtree.
  void append_children(HMENU menu, std::size_t begin, std::size_t end, bool always_popup) {
    std::size_t k = begin;
    while (k < end) {
      const std::size_t last = subtree_end(items_, k);
      append_item(menu, k, k + 1, last, always_popup);
      k = last;
    }
  }

  HMENU popup_of(std::size_t begin, std::size_t end) {
    HMENU popup = CreatePopupMenu();
    if (popup != nullptr) append_children(popup, begin, end, false);
    return popup;
  }

 private:
  void append_item(HMENU menu, std::size_t k, std::size_t child_begin, std::size_t child_end,
                   bool always_popup) {
    const MenuItem& item = items_[k];
    const MenuRecord& r = *item.record;
    if (r.flags & templates::kMenuHidden) return;
    const UINT grayed = (r.flags & templates::kMenuDisabled) ? MF_GRAYED : 0;
    const std::string text = item_text(r);
    if (always_popup || child_begin < child_end) {
      HMENU popup = popup_of(child_begin, child_end);
      if (popup == nullptr) return;
      if (popups_ != nullptr) (*popups_)[item.unit_index] = popup;
      AppendMenuA(menu, MF_POPUP | MF_STRING | grayed, reinterpret_cast<UINT_PTR>(popup), text.c_str());
    } else if (r.caption == "-") {
      AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    } else {
      const UINT checked = (r.flags & templates::kMenuChecked) ? MF_CHECKED : 0;
      AppendMenuA(menu, MF_STRING | grayed | checked, item.command, text.c_str());
    }
    if (accelerators_ == nullptr) return;
    if (std::optional<Hotkey> key = hotkey_for_code(r.hotkey)) {
      accelerators_->push_back(ACCEL{key->flags, key->key, static_cast<WORD>(item.command)});
    }
  }

  const std::vector<MenuItem>& items_;
  std::vector<HMENU>* popups_;
  std::vector<ACCEL>* accelerators_;
};

}  // namespace

BuiltMenu build_menu_bar(std::size_t window_index) {
  templates::WindowCollection& collection = templates::window_collection();
  if (window_index >= collection.size()) return {};
  templates::WindowSlots& slots = collection.slots(window_index);
  const std::vector<MenuItem> items = menu_items(collection.window(window_index));
  std::fill(slots.menu_handles.begin(), slots.menu_handles.end(), nullptr);
  if (items.empty()) return {};

  BuiltMenu built;
  std::vector<ACCEL> accelerators;
  built.bar = CreateMenu();
  if (built.bar == nullptr) return {};
  MenuWriter(items, &slots.menu_handles, &accelerators).append_children(built.bar, 0, items.size(), true);
  if (GetMenuItemCount(built.bar) <= 0) {
    DestroyMenu(built.bar);
    built.bar = nullptr;
  }
  if (!accelerators.empty()) {
    built.accelerators = CreateAcceleratorTableA(accelerators.data(), static_cast<int>(accelerators.size()));
  }
  return built;
}

void destroy_built_menu(BuiltMenu& menu) {
  if (menu.bar != nullptr) DestroyMenu(menu.bar);
  if (menu.accelerators != nullptr) DestroyAcceleratorTable(menu.accelerators);
  menu = {};
}

HMENU build_popup_menu(std::size_t window_index, std::size_t menu_unit_index) {
  templates::WindowCollection& collection = templates::window_collection();
  if (window_index >= collection.size()) return nullptr;
  const std::vector<MenuItem> items = menu_items(collection.window(window_index));
  for (std::size_t k = 0; k < items.size(); ++k) {
    if (items[k].unit_index != menu_unit_index) continue;
    return MenuWriter(items, nullptr, nullptr).popup_of(k + 1, subtree_end(items, k));
  }
  return nullptr;
}

HMENU build_unit_popup_menu(std::uint32_t window_id, std::uint32_t menu_unit_id) {
  templates::WindowCollection& collection = templates::window_collection();
  const int window_index = collection.find(window_id);
  if (window_index < 0) return nullptr;
  const templates::WindowTemplate& window = collection.window(static_cast<std::size_t>(window_index));
  const int unit = window.find_unit(menu_unit_id);
  if (unit < 0 || !has_sub_items(window, static_cast<std::size_t>(unit))) return nullptr;
  HMENU popup = build_popup_menu(static_cast<std::size_t>(window_index), static_cast<std::size_t>(unit));
  if (popup != nullptr && !window.units.empty() && !window.units[0].is_menu() &&
      (window.units[0].control().state_flags & templates::kOwnerDrawnPopups) != 0) {
    make_owner_drawn(popup);
  }
  return popup;
}

UINT menu_command_id(std::size_t window_index, std::size_t unit_index) {
  templates::WindowCollection& collection = templates::window_collection();
  if (window_index >= collection.size()) return 0;
  for (const MenuItem& item : menu_items(collection.window(window_index))) {
    if (item.unit_index == unit_index) return item.command;
  }
  return 0;
}

bool dispatch_menu_command(std::size_t window_index, UINT command_id) {
  templates::WindowCollection& collection = templates::window_collection();
  if (window_index >= collection.size() || command_id < kFirstMenuCommand) return false;
  const templates::WindowTemplate& window = collection.window(window_index);
  for (const MenuItem& item : menu_items(window)) {
    if (item.command != command_id) continue;
    runtime::SimpleEventRequest request{};
    request.window_id = window.id;
    request.unit_id = window.units[item.unit_index].id;
    request.event = 0;
    runtime::runtime_callback(runtime::callback::kRaiseEvent, reinterpret_cast<std::intptr_t>(&request), 0);
    return true;
  }
  return false;
}

}  // namespace ui
