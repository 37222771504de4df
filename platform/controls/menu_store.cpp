// The menu handle table.
#include "platform/controls/menu_store.h"

#include <algorithm>

namespace platform::controls::menu {
namespace {

// Menus nest only as deep as a person can follow; a deeper chain is a cycle.
constexpr int kMaxDepth = 32;
// Menu handles live in a range of their own, 4 apart, never reused.
constexpr UINT_PTR kHandleBase = 0x00C0'0000;

}  // namespace

Table& Table::get() {
  static Table table;
  return table;
}

HMENU Table::add_locked(bool popup) {
  HMENU handle = reinterpret_cast<HMENU>(kHandleBase + 4 * ++next_);
  Entry e{handle, {}};
  e.menu.popup = popup;
  entries_.push_back(std::move(e));
  return handle;
}

Menu* Table::find_locked(HMENU menu) {
  if (!menu) return nullptr;
  for (auto& e : entries_)
    if (e.handle == menu) return &e.menu;
  return nullptr;
}

void Table::destroy_locked(HMENU menu) {
  std::vector<HMENU> pending{menu};
  while (!pending.empty()) {
    HMENU h = pending.back();
    pending.pop_back();
    auto it = std::find_if(entries_.begin(), entries_.end(), [h](const Entry& e) { return e.handle == h; });
    if (it == entries_.end()) continue;  // already gone (shared or cyclic sub-menu)
    for (const auto& item : it->menu.items)
      if (item.submenu) pending.push_back(item.submenu);
    entries_.erase(it);
  }
}

std::optional<ItemRef> Table::item_locked(HMENU menu, UINT item, bool by_position) {
  Menu* m = find_locked(menu);
  if (!m) return std::nullopt;
  if (by_position) {
    if (item >= m->items.size()) return std::nullopt;
    return ItemRef{menu, item};
  }
  return by_command_locked(menu, item, 0);
}

std::optional<ItemRef> Table::by_command_locked(HMENU menu, UINT id, int depth) {
  Menu* m = find_locked(menu);
  if (!m || depth > kMaxDepth) return std::nullopt;
  for (std::size_t i = 0; i < m->items.size(); ++i) {
    const Item& it = m->items[i];
    if (it.submenu) {
      if (auto found = by_command_locked(it.submenu, id, depth + 1)) return found;
    } else if (it.id == id) {
      return ItemRef{menu, i};
    }
  }
  return std::nullopt;
}

void mark_system(HMENU menu) {
  Table& t = Table::get();
  auto guard = t.lock();
  if (Menu* m = t.find_locked(menu)) m->system = true;
}

std::optional<Menu> snapshot(HMENU menu) {
  Table& t = Table::get();
  auto guard = t.lock();
  Menu* m = t.find_locked(menu);
  if (!m) return std::nullopt;
  return *m;
}

}  // namespace platform::controls::menu
