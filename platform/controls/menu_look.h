// How menus look: item geometry of pop-up menus and menu bars, and their drawing. Owner-drawn
// items are measured and drawn by the owner window (WM_MEASUREITEM, WM_DRAWITEM with ODT_MENU).
#pragma once

#include <vector>

#include "platform/controls/menu_store.h"

namespace platform::controls::menu {

inline constexpr int kPopupFrame = 3;  // raised edge and a one-pixel gap
inline constexpr int kSeparatorHeight = 9;
inline constexpr int kCheckColumn = 18;  // check mark on the left
inline constexpr int kArrowColumn = 18;  // sub-menu arrow (and room) on the right
inline constexpr int kShortcutGap = 24;

struct PopupLayout {
  SIZE size{};              // the whole window
  std::vector<RECT> items;  // client coordinates, one per item
};

struct BarLayout {
  std::vector<RECT> items;  // window coordinates, one per item
};

// `owner` receives WM_MEASUREITEM for owner-drawn items (none when NULL).
PopupLayout layout_popup(const Menu& menu, HWND owner);
BarLayout layout_bar(const Menu& menu, HWND owner, const RECT& bar);

// `selected` is an item index or -1.
void paint_popup(HDC dc, HMENU handle, const Menu& menu, const PopupLayout& layout, int selected, HWND owner);
void paint_bar(HDC dc, HMENU handle, const Menu& menu, const BarLayout& layout, const RECT& bar, int selected,
               HWND owner);

// The caption before "\t" and the shortcut text after it.
struct SplitText {
  std::string caption;
  std::string shortcut;
};
SplitText split_caption(const std::string& text);
// The mnemonic character of "&x" (lower-cased), 0 when there is none.
char mnemonic(const std::string& text);

}  // namespace platform::controls::menu
