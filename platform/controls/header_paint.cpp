// Drawing the header: button-face items with 3-D edges, titles, images, sort marks, drag ghost.
#include <algorithm>

#include "platform/controls/header_control.h"

namespace platform::controls::header {

namespace {

constexpr int kPad = 6;
constexpr int kSortMark = 8;

UINT align_of(int fmt) {
  switch (fmt & HDF_JUSTIFYMASK) {
    case HDF_RIGHT:
      return DT_RIGHT;
    case HDF_CENTER:
      return DT_CENTER;
    default:
      return DT_LEFT;
  }
}

void draw_sort_mark(HDC dc, const RECT& r, bool up) {
  const int cx = r.right - kPad - kSortMark / 2;
  const int cy = (r.top + r.bottom) / 2;
  HBRUSH brush = GetSysColorBrush(COLOR_BTNSHADOW);
  for (int i = 0; i < kSortMark / 2; ++i) {
    const int y = up ? cy - 2 + i : cy + 2 - i;
    RECT line{cx - i, y, cx + i + 1, y + 1};
    FillRect(dc, &line, brush);
  }
}

void draw_item(State& st, HDC dc, int index, RECT r, bool pressed) {
  const Item& item = st.items[static_cast<std::size_t>(index)];
  FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
  RECT edge = r;
  if (pressed)
    DrawEdge(dc, &edge, BDR_SUNKENOUTER, BF_RECT | BF_FLAT);
  else
    DrawEdge(dc, &edge, EDGE_RAISED, BF_RECT);
  RECT content{r.left + kPad, r.top + 1, r.right - kPad, r.bottom - 1};
  if (pressed) OffsetRect(&content, 1, 1);
  if (item.fmt & (HDF_SORTUP | HDF_SORTDOWN)) {
    draw_sort_mark(dc, content, (item.fmt & HDF_SORTUP) != 0);
    content.right -= kSortMark + 2;
  }
  int cx = 0;
  int cy = 0;
  if ((item.fmt & HDF_IMAGE) && item.image >= 0 && st.images && ImageList_GetIconSize(st.images, &cx, &cy) &&
      content.right - content.left >= cx) {
    const int y = content.top + (static_cast<int>(content.bottom - content.top) - cy) / 2;
    if (item.fmt & HDF_BITMAP_ON_RIGHT) {
      ImageList_Draw(st.images, item.image, dc, content.right - cx, y, ILD_TRANSPARENT);
      content.right -= cx + 2;
    } else {
      ImageList_Draw(st.images, item.image, dc, content.left, y, ILD_TRANSPARENT);
      content.left += cx + 2;
    }
  }
  if (content.right > content.left && !item.text.empty()) {
    SetTextColor(dc, GetSysColor(IsWindowEnabled(st.hwnd) ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
    DrawTextA(dc, item.text.c_str(), static_cast<int>(item.text.size()), &content,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS | align_of(item.fmt));
  }
}

}  // namespace

void paint(State& st, HDC dc) {
  RECT client{};
  GetClientRect(st.hwnd, &client);
  HGDIOBJ old_font = SelectObject(dc, st.font);
  SetBkMode(dc, TRANSPARENT);
  const bool buttons = (GetWindowLongA(st.hwnd, GWL_STYLE) & HDS_BUTTONS) != 0;
  int x = 0;
  for (int k : st.order) {
    const int w = st.items[static_cast<std::size_t>(k)].width;
    if (w > 0) {
      const bool pressed = buttons && st.mode == Mode::press && st.item == k && st.inside;
      draw_item(st, dc, k, RECT{x, 0, x + w, client.bottom}, pressed);
    }
    x += w;
  }
  if (x < client.right) {
    RECT rest{x, 0, client.right, client.bottom};
    FillRect(dc, &rest, GetSysColorBrush(COLOR_BTNFACE));
    DrawEdge(dc, &rest, EDGE_RAISED, BF_RECT);
  }
  if (st.mode == Mode::drag && st.item >= 0 && static_cast<std::size_t>(st.item) < st.items.size()) {
    // The dragged title floats under the mouse, sunken, over the others.
    const RECT home = item_rect(st, st.item);
    RECT ghost = home;
    OffsetRect(&ghost, st.drag_x - st.start_x, 0);
    draw_item(st, dc, st.item, ghost, true);
  }
  SelectObject(dc, old_font);
}

}  // namespace platform::controls::header
