// Menus: menu bars, pop-up menus and the per-window system menu.
//
// Contract:
// - A menu is a list of items; an item is a string, a separator or an owner-drawn entry, may open
//   a sub-menu (MF_POPUP) and carries a command id, a state (grayed, checked) and item data.
// - Every HMENU argument is validated: a handle that was never created or was destroyed is
//   refused (FALSE, -1, 0 or NULL as each function documents) with ERROR_INVALID_MENU_HANDLE.
//   Handle values are never reused.
// - DestroyMenu destroys the sub-menus too. A menu that is the menu bar of a window must be
//   taken off it (SetMenu(hwnd, NULL)) before it is destroyed; a window's bar that was
//   destroyed is simply not drawn.
// - Items are found by command id (MF_BYCOMMAND, searched depth first through sub-menus) or by
//   zero-based position (MF_BYPOSITION). A missing item makes the call fail.
// - TrackPopupMenu shows the menu in a WS_POPUP window of class "#32768" at a screen point, kept
//   on screen, and runs its own modal loop on the calling thread until an item is chosen or the
//   menu is dismissed (Esc, a click outside, EndMenu). A click outside only closes the menu; it
//   is not passed on to the window under it. The chosen command is posted to the owner as
//   WM_COMMAND (WM_SYSCOMMAND for items of a system menu) unless TPM_RETURNCMD asks for it as
//   the return value; TPM_NONOTIFY sends and posts nothing to the owner (WM_ENTERIDLE aside).
// - A menu bar title without a sub-menu is a command itself: clicking it (or Enter, or its
//   mnemonic) chooses it.
// - Text is GB18030 bytes; "&x" marks the mnemonic x; "\t" separates the caption from the
//   shortcut text, which is drawn right-aligned.
#pragma once

#include "platform/api/gdi.h"
#include "platform/api/types.h"

inline constexpr UINT MF_INSERT = 0x00000000;
inline constexpr UINT MF_CHANGE = 0x00000080;
inline constexpr UINT MF_APPEND = 0x00000100;
inline constexpr UINT MF_DELETE = 0x00000200;
inline constexpr UINT MF_REMOVE = 0x00001000;
inline constexpr UINT MF_BYCOMMAND = 0x00000000;
inline constexpr UINT MF_BYPOSITION = 0x00000400;
inline constexpr UINT MF_SEPARATOR = 0x00000800;
inline constexpr UINT MF_ENABLED = 0x00000000;
inline constexpr UINT MF_GRAYED = 0x00000001;
inline constexpr UINT MF_DISABLED = 0x00000002;
inline constexpr UINT MF_UNCHECKED = 0x00000000;
inline constexpr UINT MF_CHECKED = 0x00000008;
inline constexpr UINT MF_USECHECKBITMAPS = 0x00000200;
inline constexpr UINT MF_STRING = 0x00000000;
inline constexpr UINT MF_BITMAP = 0x00000004;
inline constexpr UINT MF_OWNERDRAW = 0x00000100;
inline constexpr UINT MF_POPUP = 0x00000010;
inline constexpr UINT MF_MENUBARBREAK = 0x00000020;
inline constexpr UINT MF_MENUBREAK = 0x00000040;
inline constexpr UINT MF_UNHILITE = 0x00000000;
inline constexpr UINT MF_HILITE = 0x00000080;
inline constexpr UINT MF_DEFAULT = 0x00001000;
inline constexpr UINT MF_SYSMENU = 0x00002000;
inline constexpr UINT MF_HELP = 0x00004000;
inline constexpr UINT MF_RIGHTJUSTIFY = 0x00004000;
inline constexpr UINT MF_MOUSESELECT = 0x00008000;

inline constexpr UINT MFT_STRING = MF_STRING;
inline constexpr UINT MFT_BITMAP = MF_BITMAP;
inline constexpr UINT MFT_MENUBARBREAK = MF_MENUBARBREAK;
inline constexpr UINT MFT_MENUBREAK = MF_MENUBREAK;
inline constexpr UINT MFT_OWNERDRAW = MF_OWNERDRAW;
inline constexpr UINT MFT_RADIOCHECK = 0x00000200;
inline constexpr UINT MFT_SEPARATOR = MF_SEPARATOR;
inline constexpr UINT MFT_RIGHTORDER = 0x00002000;
inline constexpr UINT MFT_RIGHTJUSTIFY = MF_RIGHTJUSTIFY;

inline constexpr UINT MFS_GRAYED = 0x00000003;
inline constexpr UINT MFS_DISABLED = MFS_GRAYED;
inline constexpr UINT MFS_CHECKED = MF_CHECKED;
inline constexpr UINT MFS_HILITE = MF_HILITE;
inline constexpr UINT MFS_ENABLED = MF_ENABLED;
inline constexpr UINT MFS_UNCHECKED = MF_UNCHECKED;
inline constexpr UINT MFS_UNHILITE = MF_UNHILITE;
inline constexpr UINT MFS_DEFAULT = MF_DEFAULT;

inline constexpr UINT MIIM_STATE = 0x00000001;
inline constexpr UINT MIIM_ID = 0x00000002;
inline constexpr UINT MIIM_SUBMENU = 0x00000004;
inline constexpr UINT MIIM_CHECKMARKS = 0x00000008;
inline constexpr UINT MIIM_TYPE = 0x00000010;
inline constexpr UINT MIIM_DATA = 0x00000020;
inline constexpr UINT MIIM_STRING = 0x00000040;
inline constexpr UINT MIIM_BITMAP = 0x00000080;
inline constexpr UINT MIIM_FTYPE = 0x00000100;

inline constexpr UINT TPM_LEFTBUTTON = 0x0000;
inline constexpr UINT TPM_RIGHTBUTTON = 0x0002;
inline constexpr UINT TPM_LEFTALIGN = 0x0000;
inline constexpr UINT TPM_CENTERALIGN = 0x0004;
inline constexpr UINT TPM_RIGHTALIGN = 0x0008;
inline constexpr UINT TPM_TOPALIGN = 0x0000;
inline constexpr UINT TPM_VCENTERALIGN = 0x0010;
inline constexpr UINT TPM_BOTTOMALIGN = 0x0020;
inline constexpr UINT TPM_HORIZONTAL = 0x0000;
inline constexpr UINT TPM_VERTICAL = 0x0040;
inline constexpr UINT TPM_NONOTIFY = 0x0080;
inline constexpr UINT TPM_RETURNCMD = 0x0100;

// wParam of WM_ENTERIDLE while a menu waits for input.
inline constexpr WPARAM MSGF_MENU = 2;

inline constexpr DWORD ERROR_INVALID_MENU_HANDLE = 1401;

// The window class of pop-up menu windows.
inline constexpr const char* kPopupMenuClass = "#32768";

struct MENUITEMINFOA {
  UINT cbSize;
  UINT fMask;
  UINT fType;
  UINT fState;
  UINT wID;
  HMENU hSubMenu;
  HBITMAP hbmpChecked;
  HBITMAP hbmpUnchecked;
  ULONG_PTR dwItemData;
  LPSTR dwTypeData;
  UINT cch;
  HBITMAP hbmpItem;
};
using LPMENUITEMINFOA = MENUITEMINFOA*;
using LPCMENUITEMINFOA = const MENUITEMINFOA*;

struct TPMPARAMS {
  UINT cbSize;
  RECT rcExclude;
};
using LPTPMPARAMS = TPMPARAMS*;

extern "C" {

HMENU CreateMenu();
HMENU CreatePopupMenu();
BOOL DestroyMenu(HMENU menu);
BOOL IsMenu(HMENU menu);

// `item` is the command id, or the sub-menu handle with MF_POPUP; `content` the text (MF_STRING)
// or the item data (MF_OWNERDRAW).
BOOL AppendMenuA(HMENU menu, UINT flags, UINT_PTR item, LPCSTR content);
BOOL InsertMenuA(HMENU menu, UINT position, UINT flags, UINT_PTR item, LPCSTR content);
BOOL ModifyMenuA(HMENU menu, UINT position, UINT flags, UINT_PTR item, LPCSTR content);
BOOL InsertMenuItemA(HMENU menu, UINT item, BOOL by_position, LPCMENUITEMINFOA info);
BOOL SetMenuItemInfoA(HMENU menu, UINT item, BOOL by_position, LPCMENUITEMINFOA info);
BOOL GetMenuItemInfoA(HMENU menu, UINT item, BOOL by_position, LPMENUITEMINFOA info);
// DeleteMenu destroys an item's sub-menu; RemoveMenu leaves it alive for the caller.
BOOL DeleteMenu(HMENU menu, UINT position, UINT flags);
BOOL RemoveMenu(HMENU menu, UINT position, UINT flags);

int GetMenuItemCount(HMENU menu);              // -1 for a bad handle
UINT GetMenuItemID(HMENU menu, int position);  // -1 for sub-menus and missing items
HMENU GetSubMenu(HMENU menu, int position);    // NULL when the item opens none
int GetMenuStringA(HMENU menu, UINT item, LPSTR buffer, int size, UINT flags);
// MF_* state bits; for an item that opens a sub-menu also MF_POPUP and the sub-menu's item
// count in the high byte of the low word; -1 for a missing item.
UINT GetMenuState(HMENU menu, UINT item, UINT flags);
// Both answer the previous state (MF_CHECKED / MF_GRAYED|MF_DISABLED bits), -1 when missing.
DWORD CheckMenuItem(HMENU menu, UINT item, UINT check);
BOOL EnableMenuItem(HMENU menu, UINT item, UINT enable);
BOOL CheckMenuRadioItem(HMENU menu, UINT first, UINT last, UINT check, UINT flags);

// The menu bar of a top-level window (a child window's menu slot is its id: never a menu).
BOOL SetMenu(HWND hwnd, HMENU menu);
HMENU GetMenu(HWND hwnd);
BOOL DrawMenuBar(HWND hwnd);

// Returns the chosen command with TPM_RETURNCMD (0 when none), otherwise TRUE when the menu
// was shown. A bad menu or owner fails with 0 and shows nothing.
BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int reserved, HWND owner, const RECT* ignored);
BOOL TrackPopupMenuEx(HMENU menu, UINT flags, int x, int y, HWND owner, LPTPMPARAMS params);
// Ends the menu the calling thread is tracking, as if dismissed.
BOOL EndMenu();

// The window's own copy of the system menu (created on first use); `revert` TRUE throws the
// copy away and answers NULL.
HMENU GetSystemMenu(HWND hwnd, BOOL revert);

}  // extern "C"
