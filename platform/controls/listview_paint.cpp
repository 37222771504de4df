// Drawing the list view's rows, icons, labels, selection, focus and grid lines.
#include <algorithm>

#include "platform/controls/imagelist_store.h"
#include "platform/controls/listview_state.h"

namespace platform::controls::listview {

namespace {

constexpr int kLabelPad = 2;
constexpr int kSubitemPad = 6;
constexpr UINT kLineFormat = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS;

struct Brushes {
  // Solid brushes made once per paint, not per row.
  GdiObject bk;
  GdiObject text_bk;
  GdiObject grid;
};

struct Look {
  bool focused = false;
  bool show_selection = false;
  bool hot_tracking = false;
  COLORREF sel_bk = 0;
  COLORREF sel_text = 0;
  HBRUSH sel_brush = nullptr;
};

int text_extent(HDC dc, std::string_view text) {
  SIZE size{};
  GetTextExtentPoint32A(dc, text.data(), static_cast<int>(text.size()), &size);
  return size.cx;
}

UINT align_of(int fmt) {
  switch (fmt & LVCFMT_JUSTIFYMASK) {
    case LVCFMT_RIGHT:
      return DT_RIGHT;
    case LVCFMT_CENTER:
      return DT_CENTER;
    default:
      return DT_LEFT;
  }
}

void draw_image(HIMAGELIST list, int index, HDC dc, const RECT& box, UINT style) {
  if (!list || index < 0) return;
  int cx = 0;
  int cy = 0;
  if (!ImageList_GetIconSize(list, &cx, &cy)) return;
  const int x = box.left + std::max(0, (static_cast<int>(box.right - box.left) - cx) / 2);
  const int y = box.top + std::max(0, (static_cast<int>(box.bottom - box.top) - cy) / 2);
  ImageList_Draw(list, index, dc, x, y, style);
}

int state_image_index(const Row& row) {
  return static_cast<int>((row.state & LVIS_STATEIMAGEMASK) >> 12) - 1;
}

void select_text_font(State& st, HDC dc, int i) {
  const bool underline_hot = (st.ex_style & LVS_EX_UNDERLINEHOT) && st.hot == i;
  const bool underline_cold = (st.ex_style & LVS_EX_UNDERLINECOLD) && st.hot != i;
  const bool tracking =
      (st.ex_style & (LVS_EX_TRACKSELECT | LVS_EX_ONECLICKACTIVATE | LVS_EX_TWOCLICKACTIVATE)) != 0;
  SelectObject(dc, tracking && (underline_hot || underline_cold) && st.underline_font.get()
                       ? st.underline_font.get()
                       : st.font);
}

COLORREF normal_text(State& st, int i) {
  const bool tracking =
      (st.ex_style & (LVS_EX_TRACKSELECT | LVS_EX_ONECLICKACTIVATE | LVS_EX_TWOCLICKACTIVATE)) != 0;
  if (tracking && st.hot == i && (st.ex_style & LVS_EX_UNDERLINEHOT)) return GetSysColor(COLOR_HOTLIGHT);
  return st.text_color;
}

void paint_report_row(State& st, HDC dc, int i, const Look& look, const Brushes& brushes) {
  const Row& row = st.rows[static_cast<std::size_t>(i)];
  const RECT bounds = item_rect(st, i, LVIR_BOUNDS);
  const RECT label = item_rect(st, i, LVIR_LABEL);
  const RECT icon = item_rect(st, i, LVIR_ICON);
  const RECT state_box = state_icon_rect(st, i);
  const bool selected = (row.state & (LVIS_SELECTED | LVIS_DROPHILITED)) && look.show_selection;
  const bool full_row = (st.ex_style & LVS_EX_FULLROWSELECT) != 0;

  if (brushes.text_bk.get()) {
    RECT cells = bounds;
    FillRect(dc, &cells, static_cast<HBRUSH>(brushes.text_bk.get()));
  }
  RECT highlight{};
  select_text_font(st, dc, i);
  if (selected || (look.focused && st.focus == i)) {
    if (full_row) {
      highlight = RECT{label.left, bounds.top, bounds.right, bounds.bottom};
    } else {
      const int w = text_extent(dc, cell_text(st, i, 0)) + 2 * kLabelPad;
      highlight =
          RECT{label.left, label.top, std::min<int>(label.left + std::max(w, 1), label.right), label.bottom};
    }
  }
  if (selected) FillRect(dc, &highlight, look.sel_brush);

  if (state_box.right > state_box.left)
    draw_image(st.images[LVSIL_STATE], state_image_index(row), dc, state_box, ILD_TRANSPARENT);
  if (icon.right > icon.left)
    draw_image(st.images[LVSIL_SMALL], cell_image(st, i, 0), dc, icon,
               ILD_TRANSPARENT | (selected && look.focused ? ILD_SELECTED : 0));

  for (int column : st.order) {
    const RECT cell = subitem_rect(st, i, column, LVIR_BOUNDS);
    if (cell.right <= cell.left) continue;
    RECT text_box{};
    if (column == 0) {
      text_box = RECT{label.left + kLabelPad, label.top, label.right - kLabelPad, label.bottom};
    } else {
      const RECT sub_icon = subitem_rect(st, i, column, LVIR_ICON);
      if (sub_icon.right > sub_icon.left)
        draw_image(st.images[LVSIL_SMALL], cell_image(st, i, column), dc, sub_icon, ILD_TRANSPARENT);
      const RECT sub_label = subitem_rect(st, i, column, LVIR_LABEL);
      text_box = RECT{sub_label.left + kSubitemPad, cell.top, cell.right - kSubitemPad, cell.bottom};
    }
    if (text_box.right <= text_box.left) continue;
    const std::string_view text = cell_text(st, i, column);
    if (text.empty()) continue;
    const bool sel_text = selected && (column == 0 || full_row);
    SetTextColor(dc, sel_text ? look.sel_text : normal_text(st, i));
    const int fmt = column == 0 ? LVCFMT_LEFT : st.columns[static_cast<std::size_t>(column)].fmt;
    DrawTextA(dc, text.data(), static_cast<int>(text.size()), &text_box, kLineFormat | align_of(fmt));
  }
  if (look.focused && st.focus == i && highlight.right > highlight.left) DrawFocusRect(dc, &highlight);
}

void paint_grid_lines(State& st, HDC dc, const RECT& area, HBRUSH brush, int first, int last) {
  const int right = std::min<int>(area.right, total_width(st) - st.origin_x);
  (void)first;
  (void)last;
  // Lines under every row position, to the bottom of the area, as a ruled sheet.
  for (int y = area.top + st.row_height - 1; y < area.bottom; y += st.row_height) {
    RECT line{area.left, y, std::max<int>(area.left, right), y + 1};
    FillRect(dc, &line, brush);
  }
  int x = -st.origin_x;
  for (int column : st.order) {
    x += st.columns[static_cast<std::size_t>(column)].width;
    RECT line{x - 1, area.top, x, area.bottom};
    if (line.right > area.left && line.left < area.right) FillRect(dc, &line, brush);
  }
}

void paint_report(State& st, HDC dc, const RECT& area, const RECT& clip, const Look& look,
                  const Brushes& brushes) {
  const int n = static_cast<int>(st.rows.size());
  const int first = std::max(0, (static_cast<int>(clip.top - area.top) + st.origin_y) / st.row_height);
  const int last = std::min(n - 1, (static_cast<int>(clip.bottom - area.top) + st.origin_y) / st.row_height);
  for (int i = first; i <= last && valid_item(st, i); ++i) paint_report_row(st, dc, i, look, brushes);
  if (st.ex_style & LVS_EX_GRIDLINES)
    paint_grid_lines(st, dc, area, static_cast<HBRUSH>(brushes.grid.get()), first, last);
}

void paint_grid_item(State& st, HDC dc, int i, const Look& look) {
  const Row& row = st.rows[static_cast<std::size_t>(i)];
  const bool selected = (row.state & (LVIS_SELECTED | LVIS_DROPHILITED)) && look.show_selection;
  const bool big = view_of(st) == LVS_ICON;
  const RECT label = item_rect(st, i, LVIR_LABEL);
  const RECT icon = item_rect(st, i, LVIR_ICON);
  const RECT state_box = state_icon_rect(st, i);
  if (state_box.right > state_box.left)
    draw_image(st.images[LVSIL_STATE], state_image_index(row), dc, state_box, ILD_TRANSPARENT);
  draw_image(st.images[big ? LVSIL_NORMAL : LVSIL_SMALL], cell_image(st, i, 0), dc, icon,
             ILD_TRANSPARENT | (selected && look.focused ? ILD_SELECTED : 0));
  select_text_font(st, dc, i);
  const std::string_view text = cell_text(st, i, 0);
  const int width = text_extent(dc, text) + 2 * kLabelPad;
  RECT box = label;
  UINT format = DT_NOPREFIX | DT_END_ELLIPSIS;
  if (big) {
    const int cell_w = label.right - label.left;
    const bool wrap = !(style_of(st) & LVS_NOLABELWRAP) && width > cell_w;
    const int w = std::min(width, cell_w);
    box.left = label.left + (cell_w - w) / 2;
    box.right = box.left + w;
    box.bottom = std::min<int>(label.bottom, label.top + st.text_height * (wrap ? 2 : 1) + 2);
    format |= DT_CENTER | (wrap ? DT_WORDBREAK : DT_SINGLELINE);
  } else {
    box.right = std::min<int>(label.right, label.left + width);
    format |= DT_SINGLELINE | DT_VCENTER;
  }
  if (selected) FillRect(dc, &box, look.sel_brush);
  SetTextColor(dc, selected ? look.sel_text : normal_text(st, i));
  RECT text_box{box.left + kLabelPad, box.top + (big ? 1 : 0), box.right - kLabelPad, box.bottom};
  if (!text.empty()) DrawTextA(dc, text.data(), static_cast<int>(text.size()), &text_box, format);
  if (look.focused && st.focus == i) DrawFocusRect(dc, &box);
}

void paint_grid(State& st, HDC dc, const RECT& clip, const Look& look) {
  for (int i = 0; valid_item(st, i); ++i) {
    const RECT r = item_rect(st, i, LVIR_BOUNDS);
    if (r.right <= clip.left || r.left >= clip.right || r.bottom <= clip.top || r.top >= clip.bottom)
      continue;
    paint_grid_item(st, dc, i, look);
  }
}

}  // namespace

void paint(State& st, HDC dc, const RECT& update) {
  sync_layout(st);
  const RECT area = rows_area(st);
  RECT clip{};
  if (!IntersectRect(&clip, &update, &area)) return;
  const int saved = SaveDC(dc);
  IntersectClipRect(dc, area.left, area.top, area.right, area.bottom);

  Brushes brushes;
  const bool enabled = IsWindowEnabled(st.hwnd) != FALSE;
  const COLORREF bk =
      st.bk == CLR_NONE ? GetSysColor(COLOR_WINDOW) : (enabled ? st.bk : GetSysColor(COLOR_BTNFACE));
  brushes.bk.reset(CreateSolidBrush(bk));
  FillRect(dc, &clip, static_cast<HBRUSH>(brushes.bk.get()));
  if (st.text_bk != CLR_NONE && st.text_bk != bk && enabled)
    brushes.text_bk.reset(CreateSolidBrush(st.text_bk));
  brushes.grid.reset(CreateSolidBrush(GetSysColor(COLOR_BTNFACE)));

  Look look;
  look.focused = st.has_focus;
  look.show_selection = st.has_focus || (style_of(st) & LVS_SHOWSELALWAYS);
  look.sel_bk = GetSysColor(st.has_focus ? COLOR_HIGHLIGHT : COLOR_BTNFACE);
  look.sel_text = st.has_focus ? GetSysColor(COLOR_HIGHLIGHTTEXT) : st.text_color;
  look.sel_brush = GetSysColorBrush(st.has_focus ? COLOR_HIGHLIGHT : COLOR_BTNFACE);

  SetBkMode(dc, TRANSPARENT);
  HGDIOBJ old_font = SelectObject(dc, st.font);
  if (view_of(st) == LVS_REPORT)
    paint_report(st, dc, area, clip, look, brushes);
  else
    paint_grid(st, dc, clip, look);
  SelectObject(dc, old_font);
  RestoreDC(dc, saved);
}

HIMAGELIST make_checkbox_images() {
  constexpr int kSide = 16;
  HIMAGELIST list = ImageList_Create(kSide, kSide, ILC_COLOR32 | ILC_MASK, 2, 2);
  if (!list) return nullptr;
  auto argb = [](int sys) {
    const COLORREF c = GetSysColor(sys);
    return 0xFF000000u | (static_cast<std::uint32_t>(GetRValue(c)) << 16) |
           (static_cast<std::uint32_t>(GetGValue(c)) << 8) | GetBValue(c);
  };
  const std::uint32_t shadow = argb(COLOR_BTNSHADOW);
  const std::uint32_t dark = argb(COLOR_3DDKSHADOW);
  const std::uint32_t light = argb(COLOR_3DLIGHT);
  const std::uint32_t hilite = argb(COLOR_BTNHIGHLIGHT);
  const std::uint32_t inside = argb(COLOR_WINDOW);
  const std::uint32_t mark = argb(COLOR_WINDOWTEXT);
  imagelist::with(list, [&](imagelist::ImageList& il) {
    il.append_blank(2);
    for (int k = 0; k < 2; ++k) {
      auto px = il.image(k);
      auto at = [&](int x, int y) -> std::uint32_t& { return px[static_cast<std::size_t>(y * kSide + x)]; };
      // A 13-pixel sunken box from (1, 1) to (13, 13).
      for (int y = 1; y <= 13; ++y)
        for (int x = 1; x <= 13; ++x) {
          std::uint32_t c = inside;
          if (x == 1 || y == 1)
            c = shadow;
          else if (x == 13 || y == 13)
            c = hilite;
          else if (x == 2 || y == 2)
            c = dark;
          else if (x == 12 || y == 12)
            c = light;
          at(x, y) = c;
        }
      if (k == 1) {
        // The classic check: seven columns, three pixels tall each.
        constexpr int kTop[7] = {2, 3, 4, 3, 2, 1, 0};
        for (int c = 0; c < 7; ++c)
          for (int d = 0; d < 3; ++d) at(4 + c, 4 + kTop[c] + d) = mark;
      }
    }
  });
  return list;
}

}  // namespace platform::controls::listview
