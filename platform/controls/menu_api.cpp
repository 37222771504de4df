// Building and querying menus: creation, items by flags or by MENUITEMINFOA, states, strings.
#include <algorithm>
#include <cstring>

#include "platform/controls/menu_store.h"

namespace platform::controls::menu {
namespace {

constexpr UINT kStateBits = MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_HILITE | MF_DEFAULT;
constexpr UINT kTypeBits = MF_SEPARATOR | MF_OWNERDRAW | MF_BITMAP | MF_MENUBREAK | MF_MENUBARBREAK |
                           MF_RIGHTJUSTIFY | MFT_RADIOCHECK;

bool by_position(UINT flags) {
  return (flags & MF_BYPOSITION) != 0;
}

// An item from the classic flag form (AppendMenuA, InsertMenuA, ModifyMenuA).
std::optional<Item> item_from_flags(Table& t, UINT flags, UINT_PTR item, LPCSTR content) {
  Item it;
  it.type =
      flags & (MF_SEPARATOR | MF_OWNERDRAW | MF_BITMAP | MF_MENUBREAK | MF_MENUBARBREAK | MF_RIGHTJUSTIFY);
  it.state = flags & (MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_HILITE | MF_DEFAULT);
  if (flags & MF_POPUP) {
    HMENU sub = reinterpret_cast<HMENU>(item);
    if (!t.find_locked(sub)) return std::nullopt;
    it.submenu = sub;
    it.id = static_cast<UINT>(item);
  } else if (!(flags & MF_SEPARATOR)) {
    it.id = static_cast<UINT>(item);
  }
  if (flags & MF_OWNERDRAW)
    it.data = reinterpret_cast<ULONG_PTR>(content);
  else if (!(flags & (MF_SEPARATOR | MF_BITMAP)) && content)
    it.text = content;
  return it;
}

// Where a new item goes: before the item named by `position`, or at the end when there is none
// (as the platform does for InsertMenuA with -1 or a missing command).
std::optional<std::pair<HMENU, std::size_t>> insertion_point(Table& t, HMENU menu, UINT position,
                                                             bool by_pos) {
  Menu* m = t.find_locked(menu);
  if (!m) return std::nullopt;
  if (by_pos) return std::pair{menu, std::min<std::size_t>(position, m->items.size())};
  if (auto ref = t.item_locked(menu, position, false)) return std::pair{ref->menu, ref->index};
  return std::pair{menu, m->items.size()};
}

// Runs `use(table, item, where)` on item `item` (by position or by command) of `menu` with the
// table locked; answers `missing` when there is no such item, refused (with the last error set)
// when `menu` is not a menu.
template <class T, class Use>
T with_item(HMENU menu, UINT item, bool by_pos, T missing, Use use) {
  Table& t = Table::get();
  auto guard = t.lock();
  if (!t.find_locked(menu)) return refuse(missing);
  auto ref = t.item_locked(menu, item, by_pos);
  if (!ref) return missing;
  return use(t, t.find_locked(ref->menu)->items[ref->index], *ref);
}

BOOL insert(HMENU menu, UINT position, UINT flags, UINT_PTR item, LPCSTR content, bool append) {
  Table& t = Table::get();
  auto guard = t.lock();
  if (!t.find_locked(menu)) return refuse(FALSE);
  auto it = item_from_flags(t, flags, item, content);
  if (!it) return refuse(FALSE);
  if (it->submenu == menu) return refuse(FALSE);  // a menu cannot open itself
  auto at = append ? std::optional{std::pair{menu, t.find_locked(menu)->items.size()}}
                   : insertion_point(t, menu, position, by_position(flags));
  if (!at) return refuse(FALSE);
  auto& items = t.find_locked(at->first)->items;
  items.insert(items.begin() + static_cast<std::ptrdiff_t>(at->second), std::move(*it));
  return TRUE;
}

BOOL remove(HMENU menu, UINT position, UINT flags, bool destroy_sub) {
  return with_item(menu, position, by_position(flags), FALSE, [&](Table& t, Item& it, const auto& at) {
    HMENU sub = it.submenu;
    auto& items = t.find_locked(at.menu)->items;
    items.erase(items.begin() + static_cast<std::ptrdiff_t>(at.index));
    if (sub && destroy_sub) t.destroy_locked(sub);
    return TRUE;
  });
}

void copy_text(const std::string& text, LPSTR buffer, std::size_t size) {
  if (!buffer || size == 0) return;
  std::size_t n = std::min(text.size(), size - 1);
  std::memcpy(buffer, text.data(), n);
  buffer[n] = '\0';
}

bool info_ok(LPCMENUITEMINFOA info) {
  return info && info->cbSize >= offsetof(MENUITEMINFOA, hbmpItem);
}

// Applies the fields named by fMask to `it`; false when a named sub-menu is not a menu.
bool apply_info(Table& t, Item& it, const MENUITEMINFOA& info) {
  if (info.fMask & (MIIM_FTYPE | MIIM_TYPE)) it.type = info.fType & kTypeBits;
  if (info.fMask & MIIM_STATE) it.state = info.fState & kStateBits;
  if (info.fMask & MIIM_ID) it.id = info.wID;
  if (info.fMask & MIIM_SUBMENU) {
    if (info.hSubMenu && !t.find_locked(info.hSubMenu)) return false;
    it.submenu = info.hSubMenu;
  }
  if (info.fMask & MIIM_DATA) it.data = info.dwItemData;
  bool string_type = !(it.type & (MFT_SEPARATOR | MFT_BITMAP | MFT_OWNERDRAW));
  if ((info.fMask & MIIM_STRING) || ((info.fMask & MIIM_TYPE) && string_type))
    it.text = info.dwTypeData ? info.dwTypeData : "";
  if ((info.fMask & MIIM_TYPE) && (it.type & MFT_OWNERDRAW))
    it.data = reinterpret_cast<ULONG_PTR>(info.dwTypeData);
  return true;
}

}  // namespace
}  // namespace platform::controls::menu

using namespace platform::controls::menu;

extern "C" {

HMENU CreateMenu() {
  Table& t = Table::get();
  auto guard = t.lock();
  return t.add_locked(false);
}

HMENU CreatePopupMenu() {
  Table& t = Table::get();
  auto guard = t.lock();
  return t.add_locked(true);
}

BOOL DestroyMenu(HMENU menu) {
  Table& t = Table::get();
  auto guard = t.lock();
  if (!t.find_locked(menu)) return refuse(FALSE);
  t.destroy_locked(menu);
  return TRUE;
}

BOOL IsMenu(HMENU menu) {
  Table& t = Table::get();
  auto guard = t.lock();
  return t.find_locked(menu) ? TRUE : FALSE;
}

BOOL AppendMenuA(HMENU menu, UINT flags, UINT_PTR item, LPCSTR content) {
  return insert(menu, 0, flags, item, content, true);
}

BOOL InsertMenuA(HMENU menu, UINT position, UINT flags, UINT_PTR item, LPCSTR content) {
  return insert(menu, position, flags, item, content, false);
}

BOOL ModifyMenuA(HMENU menu, UINT position, UINT flags, UINT_PTR item, LPCSTR content) {
  return with_item(menu, position, by_position(flags), FALSE, [&](Table& t, Item& old, const auto& at) {
    auto it = item_from_flags(t, flags, item, content);
    if (!it || it->submenu == at.menu) return refuse(FALSE);
    // An owner-drawn change keeps the caption, so the item can still be found by its text.
    if ((flags & MF_OWNERDRAW) && it->text.empty()) it->text = old.text;
    HMENU old_sub = old.submenu;
    old = std::move(*it);
    if (old_sub && old_sub != old.submenu) t.destroy_locked(old_sub);
    return TRUE;
  });
}

BOOL InsertMenuItemA(HMENU menu, UINT item, BOOL by_pos, LPCMENUITEMINFOA info) {
  Table& t = Table::get();
  auto guard = t.lock();
  if (!t.find_locked(menu)) return refuse(FALSE);
  if (!info_ok(info)) return FALSE;
  Item it;
  if (!apply_info(t, it, *info) || it.submenu == menu) return refuse(FALSE);
  auto at = insertion_point(t, menu, item, by_pos != FALSE);
  auto& items = t.find_locked(at->first)->items;
  items.insert(items.begin() + static_cast<std::ptrdiff_t>(at->second), std::move(it));
  return TRUE;
}

BOOL SetMenuItemInfoA(HMENU menu, UINT item, BOOL by_pos, LPCMENUITEMINFOA info) {
  return with_item(menu, item, by_pos != FALSE, FALSE, [&](Table& t, Item& it, const auto& at) {
    if (!info_ok(info)) return FALSE;
    Item copy = it;
    if (!apply_info(t, copy, *info) || copy.submenu == at.menu) return refuse(FALSE);
    it = std::move(copy);
    return TRUE;
  });
}

BOOL GetMenuItemInfoA(HMENU menu, UINT item, BOOL by_pos, LPMENUITEMINFOA info) {
  return with_item(menu, item, by_pos != FALSE, FALSE, [&](Table&, const Item& it, const auto&) {
    if (!info_ok(info)) return FALSE;
    if (info->fMask & (MIIM_FTYPE | MIIM_TYPE)) info->fType = it.type;
    if (info->fMask & MIIM_STATE) info->fState = it.state;
    if (info->fMask & MIIM_ID) info->wID = it.id;
    if (info->fMask & MIIM_SUBMENU) info->hSubMenu = it.submenu;
    if (info->fMask & MIIM_DATA) info->dwItemData = it.data;
    if (info->fMask & (MIIM_STRING | MIIM_TYPE)) {
      if (info->dwTypeData && info->cch > 0) copy_text(it.text, info->dwTypeData, info->cch);
      info->cch = static_cast<UINT>(it.text.size());
    }
    return TRUE;
  });
}

BOOL DeleteMenu(HMENU menu, UINT position, UINT flags) {
  return remove(menu, position, flags, true);
}

BOOL RemoveMenu(HMENU menu, UINT position, UINT flags) {
  return remove(menu, position, flags, false);
}

int GetMenuItemCount(HMENU menu) {
  Table& t = Table::get();
  auto guard = t.lock();
  Menu* m = t.find_locked(menu);
  return m ? static_cast<int>(m->items.size()) : refuse(-1);
}

UINT GetMenuItemID(HMENU menu, int position) {
  Table& t = Table::get();
  auto guard = t.lock();
  Menu* m = t.find_locked(menu);
  if (!m) return refuse(static_cast<UINT>(-1));
  if (position < 0 || static_cast<std::size_t>(position) >= m->items.size()) return static_cast<UINT>(-1);
  const Item& it = m->items[static_cast<std::size_t>(position)];
  return it.submenu ? static_cast<UINT>(-1) : it.id;
}

HMENU GetSubMenu(HMENU menu, int position) {
  Table& t = Table::get();
  auto guard = t.lock();
  Menu* m = t.find_locked(menu);
  if (!m) return refuse<HMENU>(nullptr);
  if (position < 0 || static_cast<std::size_t>(position) >= m->items.size()) return nullptr;
  return m->items[static_cast<std::size_t>(position)].submenu;
}

int GetMenuStringA(HMENU menu, UINT item, LPSTR buffer, int size, UINT flags) {
  return with_item(menu, item, by_position(flags), 0, [&](Table&, const Item& it, const auto&) {
    if (!buffer || size <= 0) return static_cast<int>(it.text.size());
    copy_text(it.text, buffer, static_cast<std::size_t>(size));
    return static_cast<int>(std::min<std::size_t>(it.text.size(), static_cast<std::size_t>(size) - 1));
  });
}

UINT GetMenuState(HMENU menu, UINT item, UINT flags) {
  return with_item(
      menu, item, by_position(flags), static_cast<UINT>(-1), [](Table& t, const Item& it, const auto&) {
        UINT state = it.state | it.type;
        if (it.submenu) {
          Menu* sub = t.find_locked(it.submenu);
          UINT count = sub ? static_cast<UINT>(std::min<std::size_t>(sub->items.size(), 0xFF)) : 0;
          state = (state & 0xFF) | MF_POPUP | (count << 8);
        }
        return state;
      });
}

DWORD CheckMenuItem(HMENU menu, UINT item, UINT check) {
  return with_item(menu, item, by_position(check), static_cast<DWORD>(-1),
                   [&](Table&, Item& it, const auto&) {
                     DWORD before = it.state & MF_CHECKED;
                     it.state = (it.state & ~MF_CHECKED) | (check & MF_CHECKED);
                     return before;
                   });
}

BOOL EnableMenuItem(HMENU menu, UINT item, UINT enable) {
  return with_item(menu, item, by_position(enable), BOOL{-1}, [&](Table&, Item& it, const auto&) {
    BOOL before = static_cast<BOOL>(it.state & (MF_GRAYED | MF_DISABLED));
    it.state = (it.state & ~(MF_GRAYED | MF_DISABLED)) | (enable & (MF_GRAYED | MF_DISABLED));
    return before;
  });
}

BOOL CheckMenuRadioItem(HMENU menu, UINT first, UINT last, UINT check, UINT flags) {
  Table& t = Table::get();
  auto guard = t.lock();
  if (!t.find_locked(menu)) return refuse(FALSE);
  auto a = t.item_locked(menu, first, by_position(flags));
  auto b = t.item_locked(menu, last, by_position(flags));
  auto c = t.item_locked(menu, check, by_position(flags));
  if (!a || !b || !c || a->menu != b->menu || c->menu != a->menu) return FALSE;
  auto [lo, hi] = std::minmax(a->index, b->index);
  if (c->index < lo || c->index > hi) return FALSE;
  auto& items = t.find_locked(a->menu)->items;
  for (std::size_t i = lo; i <= hi; ++i) {
    bool on = i == c->index;
    items[i].state = on ? (items[i].state | MF_CHECKED) : (items[i].state & ~MF_CHECKED);
    if (on) items[i].type |= MFT_RADIOCHECK;
  }
  return TRUE;
}

}  // extern "C"
