// Geometry of the four views: item rectangles, hit testing, scrolling and the header's place.
#include <algorithm>
#include <climits>

#include "platform/controls/listview_state.h"
#include "platform/controls/scrollbar_nc.h"

namespace platform::controls::listview {

namespace {

constexpr int kHorizontalLine = 12;
constexpr int kWheelLines = 3;
constexpr int kDefaultIcon = 32;
constexpr int kDefaultSmallIcon = 16;

SIZE icon_size(const State& st, int which, int fallback) {
  int cx = 0;
  int cy = 0;
  if (st.images[static_cast<std::size_t>(which)] &&
      ImageList_GetIconSize(st.images[static_cast<std::size_t>(which)], &cx, &cy))
    return SIZE{cx, cy};
  return SIZE{fallback, fallback};
}

bool has_images(const State& st, int which) {
  return st.images[static_cast<std::size_t>(which)] != nullptr;
}

struct Grid {
  int cell_w = 1;
  int cell_h = 1;
  bool column_major = true;
  int per_line = 1;
};

Grid grid(State& st) {
  Grid g;
  const RECT area = rows_area(st);
  const int area_w = std::max(0, static_cast<int>(area.right - area.left));
  const int area_h = std::max(0, static_cast<int>(area.bottom - area.top));
  const int view = view_of(st);
  if (view == LVS_ICON) {
    const SIZE icon = icon_size(st, LVSIL_NORMAL, kDefaultIcon);
    const bool wrap = !(style_of(st) & LVS_NOLABELWRAP);
    g.cell_w = std::max<int>(icon.cx + 16, 76);
    g.cell_h = icon.cy + 8 + st.text_height * (wrap ? 2 : 1) + 4;
  } else {
    g.cell_w = std::max(1, list_width(st));
    g.cell_h = std::max(1, st.row_height);
  }
  g.column_major = view == LVS_LIST || (style_of(st) & LVS_ALIGNLEFT);
  g.per_line = g.column_major ? std::max(1, area_h / g.cell_h) : std::max(1, area_w / g.cell_w);
  return g;
}

POINT cell_origin(State& st, const Grid& g, int i) {
  const RECT area = rows_area(st);
  const int line = i / g.per_line;
  const int k = i % g.per_line;
  const int x = g.column_major ? line * g.cell_w : k * g.cell_w;
  const int y = g.column_major ? k * g.cell_h : line * g.cell_h;
  return POINT{area.left + x - st.origin_x, area.top + y - st.origin_y};
}

// Content size in pixels of the non-report views.
SIZE content_size(State& st, const Grid& g) {
  const int n = static_cast<int>(st.rows.size());
  const int lines = (n + g.per_line - 1) / g.per_line;
  if (g.column_major) return SIZE{lines * g.cell_w, std::min(n, g.per_line) * g.cell_h};
  return SIZE{std::min(n, g.per_line) * g.cell_w, lines * g.cell_h};
}

// Parts of one item inside its cell (state icon, icon, label), for every view.
struct Parts {
  RECT bounds{};
  RECT state{};
  RECT icon{};
  RECT label{};
};

// The slot of a small image of list `which` at x in a row from top to bottom, clipped at
// `right` (empty when the list view has no such images); x moves past the image.
RECT image_slot(State& st, int which, int& x, int top, int bottom, int right = INT_MAX) {
  if (!has_images(st, which)) return RECT{x, top, x, bottom};
  const SIZE s = icon_size(st, which, kDefaultSmallIcon);
  const RECT slot{x, top, std::min<int>(x + s.cx, right), bottom};
  x += s.cx;
  return slot;
}

Parts report_parts(State& st, int i) {
  Parts p;
  const int y = header_space(st) + i * st.row_height - st.origin_y;
  const int x0 = -st.origin_x;
  p.bounds = RECT{x0, y, x0 + total_width(st), y + st.row_height};
  const int left = x0 + column_left(st, 0);
  const int right = st.columns.empty() ? left : left + st.columns[0].width;
  int x = left;
  p.state = image_slot(st, LVSIL_STATE, x, y, y + st.row_height, right);
  const SIZE small = icon_size(st, LVSIL_SMALL, kDefaultSmallIcon);
  x += st.rows[static_cast<std::size_t>(i)].indent * small.cx;
  x = std::min(x, right);
  p.icon = image_slot(st, LVSIL_SMALL, x, y, y + st.row_height, right);
  x = std::min(x, right);
  p.label = RECT{x, y, std::max(x, right), y + st.row_height};
  return p;
}

Parts grid_parts(State& st, int i) {
  Parts p;
  const Grid g = grid(st);
  const POINT o = cell_origin(st, g, i);
  p.bounds = RECT{o.x, o.y, o.x + g.cell_w, o.y + g.cell_h};
  if (view_of(st) == LVS_ICON) {
    const SIZE icon = icon_size(st, LVSIL_NORMAL, kDefaultIcon);
    const int ix = o.x + (g.cell_w - icon.cx) / 2;
    p.icon = RECT{ix, o.y + 2, ix + icon.cx, o.y + 2 + icon.cy};
    if (has_images(st, LVSIL_STATE)) {
      const SIZE s = icon_size(st, LVSIL_STATE, kDefaultSmallIcon);
      p.state = RECT{ix - s.cx, p.icon.bottom - s.cy, ix, p.icon.bottom};
    } else {
      p.state = RECT{ix, p.icon.top, ix, p.icon.top};
    }
    p.label = RECT{o.x, p.icon.bottom + 2, o.x + g.cell_w, o.y + g.cell_h};
    return p;
  }
  int x = o.x;
  const int bottom = o.y + g.cell_h;
  p.state = image_slot(st, LVSIL_STATE, x, o.y, bottom);
  p.icon = image_slot(st, LVSIL_SMALL, x, o.y, bottom);
  p.label = RECT{x, o.y, std::max<int>(x, o.x + g.cell_w), bottom};
  return p;
}

Parts parts(State& st, int i) {
  return view_of(st) == LVS_REPORT ? report_parts(st, i) : grid_parts(st, i);
}

bool inside(const RECT& r, POINT p) {
  return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

RECT united(const RECT& a, const RECT& b) {
  if (a.right <= a.left) return b;
  if (b.right <= b.left) return a;
  return RECT{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
              std::max(a.bottom, b.bottom)};
}

void set_bar(State& st, int bar, int max, int page, int pos) {
  SCROLLINFO si{sizeof(SCROLLINFO),
                SIF_RANGE | SIF_PAGE | SIF_POS,
                0,
                std::max(0, max),
                static_cast<UINT>(std::max(0, page)),
                pos,
                0};
  SetScrollInfo(st.hwnd, bar, &si, TRUE);
}

// Keeps the origin inside the content and returns the bars' parameters.
void clamp_and_apply(State& st) {
  const RECT area = rows_area(st);
  const int area_w = std::max(0, static_cast<int>(area.right - area.left));
  const int area_h = std::max(0, static_cast<int>(area.bottom - area.top));
  const int n = static_cast<int>(st.rows.size());
  const bool no_scroll = (style_of(st) & LVS_NOSCROLL) != 0;
  const int view = view_of(st);
  if (view == LVS_REPORT) {
    const int page = std::max(0, area_h / st.row_height);
    const int top = std::clamp(st.origin_y / st.row_height, 0, std::max(0, n - std::max(page, 1)));
    st.origin_y = top * st.row_height;
    const int total = total_width(st);
    st.origin_x = std::clamp(st.origin_x, 0, std::max(0, total - area_w));
    if (no_scroll) return;
    set_bar(st, SB_VERT, n - 1, page, top);
    set_bar(st, SB_HORZ, total - 1, area_w, st.origin_x);
    return;
  }
  const Grid g = grid(st);
  const SIZE content = content_size(st, g);
  if (view == LVS_LIST) {
    const int columns = (n + g.per_line - 1) / g.per_line;
    const int page = std::max(1, area_w / g.cell_w);
    const int first = std::clamp(st.origin_x / g.cell_w, 0, std::max(0, columns - page));
    st.origin_x = first * g.cell_w;
    st.origin_y = 0;
    if (no_scroll) return;
    set_bar(st, SB_HORZ, columns - 1, page, first);
    set_bar(st, SB_VERT, 0, 0, 0);
    return;
  }
  st.origin_x = std::clamp(st.origin_x, 0, std::max(0, static_cast<int>(content.cx) - area_w));
  st.origin_y = std::clamp(st.origin_y, 0, std::max(0, static_cast<int>(content.cy) - area_h));
  if (no_scroll) return;
  set_bar(st, SB_HORZ, content.cx - 1, area_w, st.origin_x);
  set_bar(st, SB_VERT, content.cy - 1, area_h, st.origin_y);
}

}  // namespace

void measure(State& st) {
  HDC dc = GetDC(st.hwnd);
  int em = 0;
  if (dc) {
    HGDIOBJ old = SelectObject(dc, st.font);
    TEXTMETRICA tm{};
    if (GetTextMetricsA(dc, &tm) && tm.tmHeight > 0) {
      st.text_height = tm.tmHeight;
      em = tm.tmHeight - tm.tmInternalLeading;
    }
    SelectObject(dc, old);
    ReleaseDC(st.hwnd, dc);
  }
  // A 12-pixel font gives 17-pixel rows, as on the platform.
  int h = std::max(st.text_height + 2, em + 5);
  if (has_images(st, LVSIL_SMALL)) h = std::max<int>(h, icon_size(st, LVSIL_SMALL, 0).cy + 1);
  if (has_images(st, LVSIL_STATE)) h = std::max<int>(h, icon_size(st, LVSIL_STATE, 0).cy + 1);
  st.row_height = std::max(h, 1);
  st.header_height = st.text_height + 5;
}

RECT client_rect(const State& st) {
  RECT r{};
  GetClientRect(st.hwnd, &r);
  return r;
}

int header_space(const State& st) {
  const DWORD style = static_cast<DWORD>(GetWindowLongA(st.hwnd, GWL_STYLE));
  if ((style & LVS_TYPEMASK) != LVS_REPORT || (style & LVS_NOCOLUMNHEADER) || !st.header) return 0;
  return st.header_height;
}

RECT rows_area(const State& st) {
  RECT r = client_rect(st);
  r.top = std::min(r.bottom, r.top + header_space(st));
  return r;
}

int per_page(const State& st) {
  State& s = const_cast<State&>(st);
  const RECT area = rows_area(st);
  const int view = view_of(st);
  if (view == LVS_REPORT) return std::max(0, static_cast<int>(area.bottom - area.top) / st.row_height);
  if (view == LVS_LIST) {
    const Grid g = grid(s);
    return g.per_line * std::max(1, static_cast<int>(area.right - area.left) / g.cell_w);
  }
  return static_cast<int>(st.rows.size());
}

int per_column(State& st) {
  return grid(st).per_line;
}

int list_width(State& st) {
  if (st.list_column_width > 0) return st.list_column_width;
  // The default column of list and small-icon views: room for an icon and about 16 characters.
  const int icon = has_images(st, LVSIL_SMALL) ? icon_size(st, LVSIL_SMALL, kDefaultSmallIcon).cx : 0;
  return icon + 4 + st.text_height * 8;
}

int top_index(const State& st) {
  const int view = view_of(st);
  if (view == LVS_REPORT) return st.origin_y / std::max(1, st.row_height);
  if (view == LVS_LIST) {
    State& s = const_cast<State&>(st);
    const Grid g = grid(s);
    return std::min(static_cast<int>(st.rows.size()), (st.origin_x / g.cell_w) * g.per_line);
  }
  return 0;
}

RECT item_rect(State& st, int i, int code) {
  if (!valid_item(st, i)) return RECT{};
  const Parts p = parts(st, i);
  switch (code) {
    case LVIR_ICON:
      return p.icon;
    case LVIR_LABEL:
      return p.label;
    case LVIR_SELECTBOUNDS: {
      if (view_of(st) == LVS_REPORT && (st.ex_style & LVS_EX_FULLROWSELECT)) {
        RECT r = p.bounds;
        r.left = p.icon.left;
        return r;
      }
      return united(p.icon, p.label);
    }
    default:
      return view_of(st) == LVS_REPORT ? p.bounds : united(united(p.state, p.icon), p.bounds);
  }
}

RECT subitem_rect(State& st, int i, int subitem, int code) {
  if (!valid_item(st, i)) return RECT{};
  if (subitem == 0) return item_rect(st, i, code == LVIR_BOUNDS ? LVIR_BOUNDS : code);
  if (subitem < 0 || static_cast<std::size_t>(subitem) >= st.columns.size()) return RECT{};
  const RECT row = item_rect(st, i, LVIR_BOUNDS);
  const int left = -st.origin_x + column_left(st, subitem);
  RECT r{left, row.top, left + st.columns[static_cast<std::size_t>(subitem)].width, row.bottom};
  if (code == LVIR_ICON) {
    const SIZE small = icon_size(st, LVSIL_SMALL, kDefaultSmallIcon);
    const bool icon = (st.ex_style & LVS_EX_SUBITEMIMAGES) && has_images(st, LVSIL_SMALL) &&
                      cell_image(st, i, subitem) >= 0;
    r.right = icon ? std::min<int>(r.left + small.cx, r.right) : r.left;
  } else if (code == LVIR_LABEL) {
    const SIZE small = icon_size(st, LVSIL_SMALL, kDefaultSmallIcon);
    if ((st.ex_style & LVS_EX_SUBITEMIMAGES) && has_images(st, LVSIL_SMALL) &&
        cell_image(st, i, subitem) >= 0)
      r.left = std::min<int>(r.left + small.cx, r.right);
  }
  return r;
}

RECT state_icon_rect(State& st, int i) {
  return valid_item(st, i) ? parts(st, i).state : RECT{};
}

int hit_test(State& st, LVHITTESTINFO& info, bool subitems) {
  sync_layout(st);
  info.flags = 0;
  info.iItem = -1;
  info.iSubItem = 0;
  const RECT client = client_rect(st);
  const POINT p = info.pt;
  if (p.x < client.left) info.flags |= LVHT_TOLEFT;
  if (p.x >= client.right) info.flags |= LVHT_TORIGHT;
  if (p.y < client.top) info.flags |= LVHT_ABOVE;
  if (p.y >= client.bottom) info.flags |= LVHT_BELOW;
  if (info.flags) return -1;
  const int n = static_cast<int>(st.rows.size());
  int item = -1;
  if (view_of(st) == LVS_REPORT) {
    const int y = p.y - header_space(st);
    if (y >= 0) {
      const int row = (y + st.origin_y) / st.row_height;
      if (row < n) item = row;
    }
    if (item >= 0) {
      // Which column is under the point, in display order.
      const int x = p.x + st.origin_x;
      int left = 0;
      int column = -1;
      for (int k : st.order) {
        const int w = st.columns[static_cast<std::size_t>(k)].width;
        if (x >= left && x < left + w) column = k;
        left += w;
      }
      if (column < 0)
        item = -1;
      else if (column != 0) {
        if (subitems || (st.ex_style & LVS_EX_FULLROWSELECT)) {
          info.flags = LVHT_ONITEMLABEL;
          info.iSubItem = subitems ? column : 0;
          info.iItem = item;
          return item;
        }
        item = -1;
      }
    }
  } else {
    const Grid g = grid(st);
    const RECT area = rows_area(st);
    const int x = p.x - area.left + st.origin_x;
    const int y = p.y - area.top + st.origin_y;
    if (x >= 0 && y >= 0) {
      const int cx = x / g.cell_w;
      const int cy = y / g.cell_h;
      const bool in_line = g.column_major ? cy < g.per_line : cx < g.per_line;
      const int i = g.column_major ? cx * g.per_line + cy : cy * g.per_line + cx;
      if (in_line && i < n) item = i;
    }
  }
  if (item < 0) {
    info.flags = LVHT_NOWHERE;
    return -1;
  }
  const Parts pr = parts(st, item);
  if (inside(pr.state, p))
    info.flags = LVHT_ONITEMSTATEICON;
  else if (inside(pr.icon, p))
    info.flags = LVHT_ONITEMICON;
  else if (inside(pr.label, p))
    info.flags = LVHT_ONITEMLABEL;
  else if (view_of(st) == LVS_REPORT && (st.ex_style & LVS_EX_FULLROWSELECT) && inside(pr.bounds, p))
    info.flags = LVHT_ONITEMLABEL;
  else {
    info.flags = LVHT_NOWHERE;
    return -1;
  }
  info.iItem = item;
  return item;
}

void mark_layout_dirty(State& st) {
  st.layout_dirty = true;
  if (!st.sync_posted && PostMessageA(st.hwnd, kSyncLayout, 0, 0)) st.sync_posted = true;
}

void sync_layout(State& st) {
  if (!st.layout_dirty || st.in_layout) return;
  ++st.in_layout;
  st.layout_dirty = false;
  // A bar that appears or goes changes the client area, so settle in at most three rounds.
  for (int round = 0; round < 3; ++round) {
    const RECT before = client_rect(st);
    clamp_and_apply(st);
    const RECT after = client_rect(st);
    if (before.right == after.right && before.bottom == after.bottom) break;
  }
  layout_header(st);
  --st.in_layout;
}

void layout_header(State& st) {
  if (!st.header) return;
  const DWORD style = style_of(st);
  const bool visible = (style & LVS_TYPEMASK) == LVS_REPORT && !(style & LVS_NOCOLUMNHEADER);
  LONG hstyle = GetWindowLongA(st.header, GWL_STYLE);
  LONG wanted = hstyle & ~static_cast<LONG>(HDS_BUTTONS | HDS_DRAGDROP);
  if (!(style & LVS_NOSORTHEADER)) wanted |= static_cast<LONG>(HDS_BUTTONS);
  if (st.ex_style & LVS_EX_HEADERDRAGDROP) wanted |= static_cast<LONG>(HDS_DRAGDROP);
  if (wanted != hstyle) {
    SetWindowLongA(st.header, GWL_STYLE, wanted);
    InvalidateRect(st.header, nullptr, TRUE);
  }
  const RECT client = client_rect(st);
  const int width = std::max<int>(client.right + st.origin_x, total_width(st));
  SetWindowPos(st.header, nullptr, -st.origin_x, 0, width, st.header_height,
               SWP_NOZORDER | SWP_NOACTIVATE | (visible ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
}

void scroll_to(State& st, int x, int y) {
  sync_layout(st);
  const int old_x = st.origin_x;
  const int old_y = st.origin_y;
  st.origin_x = x;
  st.origin_y = view_of(st) == LVS_REPORT ? (y / st.row_height) * st.row_height : y;
  if (view_of(st) == LVS_LIST) st.origin_x = (x / std::max(1, list_width(st))) * list_width(st);
  clamp_and_apply(st);
  if (st.origin_x == old_x && st.origin_y == old_y) return;
  if (st.edit) end_edit(st, true);
  hide_tip(st);
  invalidate_all(st);
  if (st.origin_x != old_x) layout_header(st);
}

void scroll_by(State& st, int dx, int dy) {
  scroll_to(st, st.origin_x + dx, st.origin_y + dy);
}

bool ensure_visible(State& st, int i, bool partial_ok) {
  if (!valid_item(st, i)) return false;
  sync_layout(st);
  const RECT area = rows_area(st);
  const RECT r = item_rect(st, i, LVIR_BOUNDS);
  const int view = view_of(st);
  if (view == LVS_REPORT) {
    const int page = std::max(1, per_page(st));
    const int top = top_index(st);
    if (partial_ok && r.bottom > area.top && r.top < area.bottom) return true;
    if (i < top)
      scroll_to(st, st.origin_x, i * st.row_height);
    else if (i >= top + page)
      scroll_to(st, st.origin_x, (i - page + 1) * st.row_height);
    return true;
  }
  if (partial_ok && r.right > area.left && r.left < area.right && r.bottom > area.top && r.top < area.bottom)
    return true;
  int dx = 0;
  int dy = 0;
  if (r.left < area.left)
    dx = r.left - area.left;
  else if (r.right > area.right)
    dx = std::min(r.right - area.right, r.left - area.left);
  if (r.top < area.top)
    dy = r.top - area.top;
  else if (r.bottom > area.bottom)
    dy = std::min(r.bottom - area.bottom, r.top - area.top);
  if (view == LVS_LIST && dx > 0) dx = ((dx + list_width(st) - 1) / list_width(st)) * list_width(st);
  scroll_by(st, dx, dy);
  return true;
}

void on_scroll(State& st, int bar, WPARAM wp) {
  sync_layout(st);
  const int code = LOWORD(wp);
  if (code == SB_ENDSCROLL) return;
  SCROLLINFO si{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
  GetScrollInfo(st.hwnd, bar, &si);
  const int view = view_of(st);
  const RECT area = rows_area(st);
  // Units of the bar: rows (report, vertical), columns (list), pixels otherwise.
  int unit = 1;
  int line = 1;
  if (view == LVS_REPORT && bar == SB_VERT)
    unit = st.row_height;
  else if (view == LVS_LIST && bar == SB_HORZ)
    unit = std::max(1, list_width(st));
  else if (view == LVS_REPORT)
    line = kHorizontalLine;
  else
    line = std::max(1, (bar == SB_VERT ? st.row_height : kHorizontalLine));
  const int page = std::max<int>(1, static_cast<int>(si.nPage));
  int pos = si.nPos;
  switch (code) {
    case SB_LINEUP:
      pos -= line;
      break;
    case SB_LINEDOWN:
      pos += line;
      break;
    case SB_PAGEUP:
      pos -= page;
      break;
    case SB_PAGEDOWN:
      pos += page;
      break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
      pos = si.nTrackPos;
      break;
    case SB_TOP:
      pos = si.nMin;
      break;
    case SB_BOTTOM:
      pos = si.nMax;
      break;
    default:
      return;
  }
  (void)area;
  if (bar == SB_VERT)
    scroll_to(st, st.origin_x, pos * unit);
  else
    scroll_to(st, pos * unit, st.origin_y);
}

void on_wheel(State& st, WPARAM wp) {
  st.wheel_rest += GET_WHEEL_DELTA_WPARAM(wp);
  const int notches = st.wheel_rest / WHEEL_DELTA;
  if (notches == 0) return;
  st.wheel_rest -= notches * WHEEL_DELTA;
  const int view = view_of(st);
  if (view == LVS_REPORT)
    scroll_by(st, 0, -notches * kWheelLines * st.row_height);
  else if (view == LVS_LIST)
    scroll_by(st, -notches * list_width(st), 0);
  else if (grid(st).column_major)
    scroll_by(st, -notches * grid(st).cell_w, 0);
  else
    scroll_by(st, 0, -notches * grid(st).cell_h);
}

void invalidate_item(State& st, int i) {
  if (!valid_item(st, i)) return;
  const RECT area = rows_area(st);
  RECT r = item_rect(st, i, LVIR_BOUNDS);
  if (view_of(st) == LVS_REPORT) {
    r.left = area.left;
    r.right = area.right;
  }
  RECT clipped{};
  if (IntersectRect(&clipped, &r, &area)) InvalidateRect(st.hwnd, &clipped, FALSE);
}

void invalidate_all(State& st) {
  const RECT area = rows_area(st);
  InvalidateRect(st.hwnd, &area, FALSE);
}

}  // namespace platform::controls::listview
