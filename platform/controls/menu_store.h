// The menu handle table: every live menu with its items, guarded by one mutex. Callers lock,
// look menus up, change them and unlock; nothing here sends messages, so no callback can run
// while the lock is held.
#pragma once

#include <cstddef>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/api.h"
#include "platform/api/menu.h"

namespace platform::controls::menu {

struct Item {
  UINT type = MFT_STRING;  // MFT_* bits
  UINT state = 0;          // MF_GRAYED, MF_DISABLED, MF_CHECKED, MF_HILITE, MF_DEFAULT
  UINT id = 0;
  HMENU submenu = nullptr;
  std::string text;  // GB18030; "&x" mnemonic, "\t" before the shortcut text
  ULONG_PTR data = 0;

  bool separator() const { return (type & MFT_SEPARATOR) != 0; }
  bool owner_drawn() const { return (type & MFT_OWNERDRAW) != 0; }
  bool disabled() const { return (state & (MF_GRAYED | MF_DISABLED)) != 0; }
  bool grayed() const { return (state & MF_GRAYED) != 0; }
  bool checked() const { return (state & MF_CHECKED) != 0; }
  // An item the user can move the selection onto.
  bool selectable() const { return !separator() && !disabled(); }
};

struct Menu {
  bool popup = false;
  bool system = false;  // a window's system menu: choices arrive as WM_SYSCOMMAND
  std::vector<Item> items;
};

struct ItemRef {
  HMENU menu = nullptr;
  std::size_t index = 0;
};

class Table {
 public:
  static Table& get();

  std::unique_lock<std::mutex> lock() { return std::unique_lock(mutex_); }

  // All of these expect the lock to be held.
  HMENU add_locked(bool popup);
  Menu* find_locked(HMENU menu);
  // Forgets the menu and, recursively, its sub-menus.
  void destroy_locked(HMENU menu);
  // By position in `menu`, or by command id searched depth first through the sub-menus.
  std::optional<ItemRef> item_locked(HMENU menu, UINT item, bool by_position);

 private:
  struct Entry {
    HMENU handle;
    Menu menu;
  };
  std::optional<ItemRef> by_command_locked(HMENU menu, UINT id, int depth);

  std::mutex mutex_;
  std::vector<Entry> entries_;
  UINT_PTR next_ = 0;
};

// Marks a window's system menu: its choices arrive as WM_SYSCOMMAND.
void mark_system(HMENU menu);

// A copy of a menu for drawing and tracking; nullopt for a bad handle.
std::optional<Menu> snapshot(HMENU menu);

// Sets ERROR_INVALID_MENU_HANDLE and returns `result`.
template <class T>
T refuse(T result) {
  SetLastError(ERROR_INVALID_MENU_HANDLE);
  return result;
}

}  // namespace platform::controls::menu
