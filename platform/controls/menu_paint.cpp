// Drawing pop-up menus and menu bars in the classic look: raised frame, highlight bar, etched
// grey text for grayed items, check marks and sub-menu arrows.
#include <algorithm>

#include "platform/controls/control_common.h"
#include "platform/controls/menu_look.h"

namespace platform::controls::menu {
namespace {

void line(HDC dc, int x0, int y0, int x1, int y1) {
  MoveToEx(dc, x0, y0, nullptr);
  LineTo(dc, x1, y1);
}

void draw_text(HDC dc, const std::string& text, RECT r, UINT align, COLORREF colour) {
  if (text.empty()) return;
  SetTextColor(dc, colour);
  DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, align | DT_SINGLELINE | DT_VCENTER);
}

// Grayed text is etched: a white copy one pixel down and right under the shadow-coloured text.
void draw_item_text(HDC dc, const std::string& text, const RECT& r, UINT align, bool grayed, bool selected) {
  if (grayed && !selected) {
    RECT shifted = r;
    OffsetRect(&shifted, 1, 1);
    draw_text(dc, text, shifted, align, GetSysColor(COLOR_3DHILIGHT));
    draw_text(dc, text, r, align, GetSysColor(COLOR_3DSHADOW));
  } else if (grayed) {
    draw_text(dc, text, r, align, GetSysColor(COLOR_GRAYTEXT));
  } else {
    draw_text(dc, text, r, align, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
  }
}

void draw_check(HDC dc, const RECT& item, bool radio, COLORREF colour) {
  int cx = item.left + kCheckColumn / 2, cy = (item.top + item.bottom) / 2;
  OwnedGdiObject pen(CreatePen(PS_SOLID, 1, colour));
  ScopedSelect with_pen(dc, pen.get());
  if (radio) {
    OwnedGdiObject brush(CreateSolidBrush(colour));
    ScopedSelect with_brush(dc, brush.get());
    Ellipse(dc, cx - 3, cy - 3, cx + 3, cy + 3);
    return;
  }
  for (int d = 0; d < 3; ++d) {  // a three-pixel-thick tick
    line(dc, cx - 3, cy - 1 + d, cx - 1, cy + 1 + d);
    line(dc, cx - 1, cy + 1 + d, cx + 4, cy - 4 + d);
  }
}

void draw_arrow(HDC dc, const RECT& item, COLORREF colour) {
  int x = item.right - kArrowColumn / 2 - 2, cy = (item.top + item.bottom) / 2;
  OwnedGdiObject pen(CreatePen(PS_SOLID, 1, colour));
  ScopedSelect with_pen(dc, pen.get());
  for (int i = 0; i < 4; ++i) line(dc, x + i, cy - 3 + i, x + i, cy + 4 - i);
}

void draw_owner_item(HWND owner, HDC dc, HMENU handle, const Item& it, const RECT& r, bool selected) {
  if (!owner) return;
  UINT state = (selected ? ODS_SELECTED : 0) | (it.grayed() ? ODS_GRAYED : 0) |
               ((it.state & MF_DISABLED) ? ODS_DISABLED : 0) | (it.checked() ? ODS_CHECKED : 0);
  DRAWITEMSTRUCT dis{ODT_MENU, 0, it.id,  ODA_DRAWENTIRE, state, reinterpret_cast<HWND>(handle),
                     dc,       r, it.data};
  ScopedDcState keep(dc);
  SendMessageA(owner, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis));
}

}  // namespace

void paint_popup(HDC dc, HMENU handle, const Menu& menu, const PopupLayout& layout, int selected,
                 HWND owner) {
  ScopedDcState keep(dc);
  RECT whole{0, 0, layout.size.cx, layout.size.cy};
  FillRect(dc, &whole, GetSysColorBrush(COLOR_MENU));
  DrawEdge(dc, &whole, EDGE_RAISED, BF_RECT);
  SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  SetBkMode(dc, TRANSPARENT);
  for (std::size_t i = 0; i < menu.items.size() && i < layout.items.size(); ++i) {
    const Item& it = menu.items[i];
    const RECT& r = layout.items[i];
    bool sel = static_cast<int>(i) == selected && !it.separator();
    if (it.separator()) {
      int y = (r.top + r.bottom) / 2 - 1;
      fill_rect(dc, {r.left + 1, y, r.right - 1, y + 1}, GetSysColor(COLOR_3DSHADOW));
      fill_rect(dc, {r.left + 1, y + 1, r.right - 1, y + 2}, GetSysColor(COLOR_3DHILIGHT));
      continue;
    }
    if (it.owner_drawn()) {
      draw_owner_item(owner, dc, handle, it, r, sel);
      continue;
    }
    if (sel) FillRect(dc, &r, GetSysColorBrush(COLOR_HIGHLIGHT));
    COLORREF ink = GetSysColor(it.grayed() ? COLOR_GRAYTEXT : sel ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT);
    if (it.checked()) draw_check(dc, r, (it.type & MFT_RADIOCHECK) != 0, ink);
    SplitText t = split_caption(it.text);
    RECT text{r.left + kCheckColumn, r.top, r.right - kArrowColumn, r.bottom};
    draw_item_text(dc, t.caption, text, DT_LEFT, it.grayed(), sel);
    draw_item_text(dc, t.shortcut, text, DT_RIGHT, it.grayed(), sel);
    if (it.submenu) draw_arrow(dc, r, ink);
  }
}

void paint_bar(HDC dc, HMENU handle, const Menu& menu, const BarLayout& layout, const RECT& bar, int selected,
               HWND owner) {
  ScopedDcState keep(dc);
  RECT whole{bar.left, bar.top, bar.right, bar.bottom + 1};
  FillRect(dc, &whole, GetSysColorBrush(COLOR_MENU));
  IntersectClipRect(dc, whole.left, whole.top, whole.right, whole.bottom);
  SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  SetBkMode(dc, TRANSPARENT);
  for (std::size_t i = 0; i < menu.items.size() && i < layout.items.size(); ++i) {
    const Item& it = menu.items[i];
    const RECT& r = layout.items[i];
    if (it.separator()) continue;
    bool sel = static_cast<int>(i) == selected;
    if (it.owner_drawn()) {
      draw_owner_item(owner, dc, handle, it, r, sel);
      continue;
    }
    if (sel) FillRect(dc, &r, GetSysColorBrush(COLOR_HIGHLIGHT));
    draw_item_text(dc, split_caption(it.text).caption, r, DT_CENTER, it.grayed(), sel);
  }
}

}  // namespace platform::controls::menu
