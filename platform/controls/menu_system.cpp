// GetSystemMenu: each window gets its own copy of the standard system menu on first use.
#include "platform/controls/menu_system.h"

#include <map>
#include <mutex>

#include "platform/api/menu.h"
#include "platform/controls/menu_store.h"
#include "platform/kernel/codepage.h"

namespace platform::controls::menu {
namespace {

struct SystemMenus {
  std::mutex mutex;
  std::map<HWND, HMENU> menus;
};

SystemMenus& system_menus() {
  static SystemMenus s;
  return s;
}

HMENU build_system_menu() {
  struct Entry {
    UINT id;
    const char* utf8;
  };
  static constexpr Entry kEntries[] = {{SC_RESTORE, "还原(&R)"},      {SC_MOVE, "移动(&M)"},
                                       {SC_SIZE, "大小(&S)"},         {SC_MINIMIZE, "最小化(&N)"},
                                       {SC_MAXIMIZE, "最大化(&X)"},   {0, nullptr},
                                       {SC_CLOSE, "关闭(&C)\tAlt+F4"}};
  HMENU menu = CreatePopupMenu();
  for (const Entry& e : kEntries) {
    if (!e.utf8) {
      AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
      continue;
    }
    std::string text = codepage::utf8_to_ansi(e.utf8);
    AppendMenuA(menu, MF_STRING, e.id, text.c_str());
  }
  return menu;
}

}  // namespace

bool system_command_allowed(HWND hwnd, UINT command) {
  HMENU menu = nullptr;
  {
    std::lock_guard guard(system_menus().mutex);
    auto it = system_menus().menus.find(hwnd);
    if (it == system_menus().menus.end()) return true;
    menu = it->second;
  }
  UINT state = GetMenuState(menu, command & 0xFFF0, MF_BYCOMMAND);
  return state != static_cast<UINT>(-1) && !(state & MF_GRAYED);
}

}  // namespace platform::controls::menu

using namespace platform::controls::menu;

extern "C" HMENU GetSystemMenu(HWND hwnd, BOOL revert) {
  if (!IsWindow(hwnd)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  std::lock_guard guard(system_menus().mutex);
  auto& all = system_menus().menus;
  // Copies of windows that are gone are thrown away here, as no one else will ask for them.
  for (auto it = all.begin(); it != all.end();) {
    if (IsWindow(it->first)) {
      ++it;
    } else {
      DestroyMenu(it->second);
      it = all.erase(it);
    }
  }
  auto it = all.find(hwnd);
  if (revert) {
    if (it != all.end()) {
      DestroyMenu(it->second);
      all.erase(it);
    }
    return nullptr;
  }
  if (it != all.end() && IsMenu(it->second)) return it->second;
  HMENU menu = build_system_menu();
  mark_system(menu);
  all[hwnd] = menu;
  return menu;
}
