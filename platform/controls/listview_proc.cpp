// The "SysListView32" window procedure: decodes each message once and calls its handler.
#include <algorithm>
#include <cstring>

#include "platform/controls/control_common.h"
#include "platform/controls/header_control.h"
#include "platform/controls/listview_state.h"
#include "platform/controls/scrollbar_nc.h"
#include "platform/winsys/system_classes.h"

namespace platform::controls::listview {

namespace {

StateTable<State>& states() {
  static StateTable<State> table;
  return table;
}

void set_font(State& st, HFONT font, bool redraw) {
  st.font = font ? font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  LOGFONTA lf{};
  st.underline_font.reset();
  if (GetObjectA(st.font, sizeof(lf), &lf) == sizeof(lf)) {
    lf.lfUnderline = TRUE;
    st.underline_font.reset(CreateFontIndirectA(&lf));
  }
  if (st.header) SendMessageA(st.header, WM_SETFONT, reinterpret_cast<WPARAM>(st.font), redraw);
  measure(st);
  mark_layout_dirty(st);
  sync_layout(st);
  if (redraw) invalidate_all(st);
}

void create(State& st) {
  st.text_color = GetSysColor(COLOR_WINDOWTEXT);
  st.text_bk = GetSysColor(COLOR_WINDOW);
  st.bk = GetSysColor(COLOR_WINDOW);
  const DWORD style = style_of(st);
  st.header = CreateWindowExA(
      0, WC_HEADERA, "", WS_CHILD | HDS_HORZ | HDS_FULLDRAG | ((style & LVS_NOSORTHEADER) ? 0 : HDS_BUTTONS),
      0, 0, 0, 0, st.hwnd, nullptr, nullptr, nullptr);
  set_font(st, nullptr, false);
}

void destroy(State& st) {
  KillTimer(st.hwnd, kHoverTimer);
  KillTimer(st.hwnd, kEditTimer);
  if (st.edit) {
    HWND e = st.edit;
    end_edit(st, false);
    if (IsWindow(e)) DestroyWindow(e);
  }
  if (st.tip) {
    DestroyWindow(st.tip);
    st.tip = nullptr;
  }
  delete_all(st);
  if (!(style_of(st) & LVS_SHAREIMAGELISTS)) {
    for (HIMAGELIST& list : st.images) {
      if (list && list != st.own_checkboxes) ImageList_Destroy(list);
      list = nullptr;
    }
  }
  if (st.own_checkboxes) ImageList_Destroy(st.own_checkboxes);
  st.own_checkboxes = nullptr;
}

DWORD set_ex_style(State& st, DWORD mask, DWORD style) {
  if (mask == 0) mask = 0xFFFFFFFF;
  const DWORD old = st.ex_style;
  st.ex_style = (old & ~mask) | (style & mask);
  const DWORD changed = old ^ st.ex_style;
  if (changed & LVS_EX_CHECKBOXES) set_checkboxes(st, (st.ex_style & LVS_EX_CHECKBOXES) != 0);
  if (changed & LVS_EX_FLATSB) scrollbar::set_flat(st.hwnd, (st.ex_style & LVS_EX_FLATSB) != 0);
  if (changed & (LVS_EX_TRACKSELECT | LVS_EX_ONECLICKACTIVATE | LVS_EX_TWOCLICKACTIVATE)) st.hot = -1;
  layout_header(st);
  mark_layout_dirty(st);
  invalidate_all(st);
  return old;
}

HIMAGELIST set_image_list(State& st, WPARAM which, HIMAGELIST list) {
  if (which > LVSIL_STATE) return nullptr;
  HIMAGELIST old = st.images[which];
  st.images[which] = list;
  measure(st);
  mark_layout_dirty(st);
  invalidate_all(st);
  return old == st.own_checkboxes ? nullptr : old;
}

LRESULT item_text(State& st, WPARAM item, LPARAM lp) {
  auto* it = reinterpret_cast<LVITEMA*>(lp);
  if (!it || !it->pszText || it->cchTextMax <= 0) return 0;
  const int i = static_cast<int>(item);
  if (!valid_item(st, i)) {
    it->pszText[0] = '\0';
    return 0;
  }
  LVITEMA copy = *it;
  copy.mask = LVIF_TEXT;
  copy.iItem = i;
  if (!get_item(st, copy)) {
    it->pszText[0] = '\0';
    return 0;
  }
  return static_cast<LRESULT>(std::strlen(copy.pszText));
}

LRESULT set_item_state(State& st, WPARAM item, LPARAM lp) {
  const auto* it = reinterpret_cast<const LVITEMA*>(lp);
  if (!it) return FALSE;
  const int i = static_cast<int>(item);
  if (i == -1) {
    for (int j = 0; valid_item(st, j); ++j) set_state(st, j, it->state, it->stateMask);
    return TRUE;
  }
  return set_state(st, i, it->state, it->stateMask) ? TRUE : FALSE;
}

LRESULT get_rect(State& st, int item, LPARAM lp, bool subitem) {
  auto* r = reinterpret_cast<RECT*>(lp);
  if (!r || !valid_item(st, item)) return FALSE;
  sync_layout(st);
  *r = subitem ? subitem_rect(st, item, r->top, r->left) : item_rect(st, item, r->left);
  return TRUE;
}

LRESULT view_rect(State& st, LPARAM lp) {
  auto* r = reinterpret_cast<RECT*>(lp);
  if (!r) return FALSE;
  sync_layout(st);
  *r = RECT{};
  for (int i = 0; valid_item(st, i); ++i) {
    const RECT b = item_rect(st, i, LVIR_BOUNDS);
    if (i == 0)
      *r = b;
    else
      UnionRect(r, r, &b);
    if (view_of(st) == LVS_REPORT) {
      r->bottom = b.top + static_cast<LONG>(st.rows.size() - static_cast<std::size_t>(i)) * st.row_height;
      break;
    }
  }
  return TRUE;
}

LRESULT scroll_message(State& st, int dx, int dy) {
  sync_layout(st);
  if (view_of(st) == LVS_REPORT && dy != 0) {
    // Report view scrolls whole rows; a part of a row counts as one.
    const int h = st.row_height;
    dy = (dy > 0 ? (dy + h - 1) / h : -((-dy + h - 1) / h)) * h;
  }
  scroll_by(st, dx, dy);
  return TRUE;
}

LRESULT header_notify(State& st, LPARAM lp) {
  auto* hdr = reinterpret_cast<NMHDR*>(lp);
  if (!hdr) return 0;
  HWND parent = GetParent(st.hwnd);
  auto forward = [&]() { return parent ? SendMessageA(parent, WM_NOTIFY, hdr->idFrom, lp) : 0; };
  if (hdr->hwndFrom != st.header) return forward();
  auto* nh = reinterpret_cast<NMHEADERA*>(lp);
  switch (hdr->code) {
    case HDN_ITEMCLICKA:
      if (!(style_of(st) & LVS_NOSORTHEADER)) {
        if (st.edit) end_edit(st, true);
        NMLISTVIEW nm{};
        nm.iItem = -1;
        nm.iSubItem = nh->iItem;
        notify(st, nm.hdr, LVN_COLUMNCLICK);
      }
      return forward();
    case HDN_ITEMCHANGEDA: {
      const LRESULT r = forward();
      pull_header(st);
      mark_layout_dirty(st);
      sync_layout(st);
      invalidate_all(st);
      return r;
    }
    case HDN_DIVIDERDBLCLICKA: {
      const LRESULT r = forward();
      if (nh->iItem >= 0) set_column_width(st, nh->iItem, LVSCW_AUTOSIZE);
      return r;
    }
    case HDN_BEGINTRACKA:
      if (st.edit) end_edit(st, true);
      return forward();
    default:
      return forward();
  }
}

void style_changed(State& st, WPARAM which, LPARAM lp) {
  if (static_cast<int>(which) != GWL_STYLE || !lp) return;
  const auto* ss = reinterpret_cast<const STYLESTRUCT*>(lp);
  const DWORD changed = ss->styleOld ^ ss->styleNew;
  if (changed & LVS_TYPEMASK) {
    if (st.edit) end_edit(st, true);
    st.origin_x = st.origin_y = 0;
    st.hot = -1;
    measure(st);
  }
  if (changed & (LVS_TYPEMASK | LVS_NOCOLUMNHEADER | LVS_NOSORTHEADER | LVS_ALIGNMASK | LVS_NOLABELWRAP |
                 LVS_NOSCROLL)) {
    layout_header(st);
    mark_layout_dirty(st);
    sync_layout(st);
    invalidate_all(st);
  }
}

LRESULT handle_lvm(State& st, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case LVM_GETBKCOLOR:
      return st.bk;
    case LVM_SETBKCOLOR:
      st.bk = static_cast<COLORREF>(lp);
      invalidate_all(st);
      return TRUE;
    case LVM_GETTEXTCOLOR:
      return st.text_color;
    case LVM_SETTEXTCOLOR:
      st.text_color = static_cast<COLORREF>(lp);
      invalidate_all(st);
      return TRUE;
    case LVM_GETTEXTBKCOLOR:
      return st.text_bk;
    case LVM_SETTEXTBKCOLOR:
      st.text_bk = static_cast<COLORREF>(lp);
      invalidate_all(st);
      return TRUE;
    case LVM_GETIMAGELIST:
      return wp <= LVSIL_STATE ? reinterpret_cast<LRESULT>(st.images[wp]) : 0;
    case LVM_SETIMAGELIST:
      return reinterpret_cast<LRESULT>(set_image_list(st, wp, reinterpret_cast<HIMAGELIST>(lp)));
    case LVM_GETITEMCOUNT:
      return static_cast<LRESULT>(st.rows.size());
    case LVM_GETITEMA:
      return lp && get_item(st, *reinterpret_cast<LVITEMA*>(lp)) ? TRUE : FALSE;
    case LVM_SETITEMA:
      return lp && set_item(st, *reinterpret_cast<const LVITEMA*>(lp)) ? TRUE : FALSE;
    case LVM_INSERTITEMA:
      return lp ? insert_item(st, *reinterpret_cast<const LVITEMA*>(lp)) : -1;
    case LVM_DELETEITEM:
      return delete_item(st, static_cast<int>(wp)) ? TRUE : FALSE;
    case LVM_DELETEALLITEMS:
      return delete_all(st) ? TRUE : FALSE;
    case LVM_GETCALLBACKMASK:
      return st.callback_mask;
    case LVM_SETCALLBACKMASK:
      st.callback_mask = static_cast<UINT>(wp);
      return TRUE;
    case LVM_GETNEXTITEM:
      return next_item(st, static_cast<int>(wp), static_cast<UINT>(LOWORD(lp)));
    case LVM_GETITEMRECT:
      return get_rect(st, static_cast<int>(wp), lp, false);
    case LVM_GETSUBITEMRECT:
      return get_rect(st, static_cast<int>(wp), lp, true);
    case LVM_GETITEMPOSITION: {
      auto* p = reinterpret_cast<POINT*>(lp);
      if (!p || !valid_item(st, static_cast<int>(wp))) return FALSE;
      sync_layout(st);
      const RECT r = item_rect(st, static_cast<int>(wp), LVIR_BOUNDS);
      *p = POINT{r.left, r.top};
      return TRUE;
    }
    case LVM_SETITEMPOSITION:
      return FALSE;  // items are always arranged in their grid
    case LVM_GETSTRINGWIDTHA: {
      const auto* text = reinterpret_cast<LPCSTR>(lp);
      if (!text) return 0;
      HDC dc = GetDC(st.hwnd);
      HGDIOBJ old = SelectObject(dc, st.font);
      SIZE size{};
      GetTextExtentPoint32A(dc, text, static_cast<int>(std::strlen(text)), &size);
      SelectObject(dc, old);
      ReleaseDC(st.hwnd, dc);
      return size.cx;
    }
    case LVM_HITTEST:
      return lp ? hit_test(st, *reinterpret_cast<LVHITTESTINFO*>(lp), false) : -1;
    case LVM_SUBITEMHITTEST:
      return lp ? hit_test(st, *reinterpret_cast<LVHITTESTINFO*>(lp), true) : -1;
    case LVM_ENSUREVISIBLE:
      return ensure_visible(st, static_cast<int>(wp), lp != 0) ? TRUE : FALSE;
    case LVM_SCROLL:
      return scroll_message(st, static_cast<int>(wp), static_cast<int>(lp));
    case LVM_REDRAWITEMS:
      for (int i = std::max(0, static_cast<int>(wp)); i <= static_cast<int>(lp) && valid_item(st, i); ++i)
        invalidate_item(st, i);
      return TRUE;
    case LVM_UPDATE:
      invalidate_item(st, static_cast<int>(wp));
      return TRUE;
    case LVM_ARRANGE:
      mark_layout_dirty(st);
      invalidate_all(st);
      return TRUE;
    case LVM_EDITLABELA:
      if (static_cast<int>(wp) == -1) {
        end_edit(st, false);
        return 0;
      }
      return reinterpret_cast<LRESULT>(begin_edit(st, static_cast<int>(wp)));
    case LVM_GETEDITCONTROL:
      return reinterpret_cast<LRESULT>(st.edit);
    case LVM_GETCOLUMNA:
      return lp && get_column(st, static_cast<int>(wp), *reinterpret_cast<LVCOLUMNA*>(lp)) ? TRUE : FALSE;
    case LVM_SETCOLUMNA:
      return lp && set_column(st, static_cast<int>(wp), *reinterpret_cast<const LVCOLUMNA*>(lp)) ? TRUE
                                                                                                 : FALSE;
    case LVM_INSERTCOLUMNA:
      return lp ? insert_column(st, static_cast<int>(wp), *reinterpret_cast<const LVCOLUMNA*>(lp)) : -1;
    case LVM_DELETECOLUMN:
      return delete_column(st, static_cast<int>(wp)) ? TRUE : FALSE;
    case LVM_GETCOLUMNWIDTH:
      if (view_of(st) == LVS_LIST) return list_width(st);
      return wp < st.columns.size() ? st.columns[wp].width : 0;
    case LVM_SETCOLUMNWIDTH:
      return set_column_width(st, static_cast<int>(wp), static_cast<SHORT>(LOWORD(lp))) ? TRUE : FALSE;
    case LVM_GETHEADER:
      return reinterpret_cast<LRESULT>(st.header);
    case LVM_GETVIEWRECT:
      return view_rect(st, lp);
    case LVM_GETTOPINDEX:
      sync_layout(st);
      return top_index(st);
    case LVM_GETCOUNTPERPAGE:
      sync_layout(st);
      return per_page(st);
    case LVM_GETORIGIN: {
      auto* p = reinterpret_cast<POINT*>(lp);
      if (!p || view_of(st) == LVS_REPORT || view_of(st) == LVS_LIST) return FALSE;
      *p = POINT{st.origin_x, st.origin_y};
      return TRUE;
    }
    case LVM_SETITEMSTATE:
      return set_item_state(st, wp, lp);
    case LVM_GETITEMSTATE:
      return get_state(st, static_cast<int>(wp), static_cast<UINT>(lp));
    case LVM_GETITEMTEXTA:
      return item_text(st, wp, lp);
    case LVM_SETITEMTEXTA: {
      auto* it = reinterpret_cast<LVITEMA*>(lp);
      if (!it) return FALSE;
      LVITEMA copy = *it;
      copy.mask = LVIF_TEXT;
      copy.iItem = static_cast<int>(wp);
      return set_item(st, copy) ? TRUE : FALSE;
    }
    case LVM_SETITEMCOUNT:
      st.rows.reserve(std::min<WPARAM>(wp, 1u << 16));  // a hint only
      return TRUE;
    case LVM_SORTITEMS:
      return sort_items(st, reinterpret_cast<PFNLVCOMPARE>(lp), static_cast<LPARAM>(wp)) ? TRUE : FALSE;
    case LVM_GETSELECTEDCOUNT:
      return selected_count(st);
    case LVM_GETITEMSPACING: {
      const RECT r = valid_item(st, 0) ? item_rect(st, 0, LVIR_BOUNDS) : RECT{0, 0, 76, st.row_height};
      return MAKELONG(static_cast<WORD>(r.right - r.left), static_cast<WORD>(r.bottom - r.top));
    }
    case LVM_SETEXTENDEDLISTVIEWSTYLE:
      return set_ex_style(st, static_cast<DWORD>(wp), static_cast<DWORD>(lp));
    case LVM_GETEXTENDEDLISTVIEWSTYLE:
      return st.ex_style;
    case LVM_SETCOLUMNORDERARRAY:
      return set_order(st, static_cast<int>(wp), reinterpret_cast<const int*>(lp)) ? TRUE : FALSE;
    case LVM_GETCOLUMNORDERARRAY:
      return get_order(st, static_cast<int>(wp), reinterpret_cast<int*>(lp)) ? TRUE : FALSE;
    case LVM_SETHOTITEM: {
      const int old = st.hot;
      st.hot = valid_item(st, static_cast<int>(wp)) ? static_cast<int>(wp) : -1;
      invalidate_item(st, old);
      invalidate_item(st, st.hot);
      return old;
    }
    case LVM_GETHOTITEM:
      return st.hot;
    case LVM_SETHOTCURSOR: {
      HCURSOR old = st.hot_cursor;
      st.hot_cursor = reinterpret_cast<HCURSOR>(lp);
      return reinterpret_cast<LRESULT>(old);
    }
    case LVM_GETHOTCURSOR:
      return reinterpret_cast<LRESULT>(st.hot_cursor ? st.hot_cursor : LoadCursorA(nullptr, IDC_HAND));
    case LVM_GETSELECTIONMARK:
      return st.mark;
    case LVM_SETSELECTIONMARK: {
      const int old = st.mark;
      st.mark = static_cast<int>(lp);
      return old;
    }
    default:
      return DefWindowProcA(st.hwnd, msg, wp, lp);
  }
}

LRESULT dispatch(State& st, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CREATE:
      create(st);
      return 0;
    case WM_DESTROY:
      destroy(st);
      return 0;
    case WM_PAINT:
    case WM_PRINTCLIENT: {
      if (msg == WM_PRINTCLIENT && wp) {
        paint(st, reinterpret_cast<HDC>(wp), client_rect(st));
        return 0;
      }
      PAINTSTRUCT ps{};
      HDC dc = BeginPaint(st.hwnd, &ps);
      if (dc) paint(st, dc, ps.rcPaint);
      EndPaint(st.hwnd, &ps);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_SIZE:
      st.layout_dirty = true;
      sync_layout(st);
      invalidate_all(st);
      return 0;
    case WM_SETFOCUS: {
      st.has_focus = true;
      invalidate_all(st);
      NMHDR hdr{};
      notify(st, hdr, NM_SETFOCUS);
      return 0;
    }
    case WM_KILLFOCUS: {
      st.has_focus = false;
      invalidate_all(st);
      NMHDR hdr{};
      notify(st, hdr, NM_KILLFOCUS);
      return 0;
    }
    case WM_ENABLE:
      invalidate_all(st);
      return 0;
    case WM_STYLECHANGED:
      style_changed(st, wp, lp);
      return 0;
    case WM_SETFONT:
      set_font(st, reinterpret_cast<HFONT>(wp), LOWORD(lp) != 0);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(st.font);
    case WM_NOTIFY:
      return header_notify(st, lp);
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
      on_button_down(st, msg, wp, lp);
      return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
      on_button_up(st, msg, wp, lp);
      return 0;
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
      on_double_click(st, msg, wp, lp);
      return 0;
    case WM_MOUSEMOVE:
      on_mouse_move(st, wp, lp);
      return 0;
    case WM_MOUSELEAVE:
      on_mouse_leave(st);
      return 0;
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lp) != st.hwnd) st.lbutton_down = false;
      return 0;
    case WM_MOUSEWHEEL:
      on_wheel(st, wp);
      return 0;
    case WM_VSCROLL:
      on_scroll(st, SB_VERT, wp);
      return 0;
    case WM_HSCROLL:
      on_scroll(st, SB_HORZ, wp);
      return 0;
    case WM_KEYDOWN:
      on_key_down(st, wp);
      return 0;
    case WM_CHAR:
      on_char(st, wp);
      return 0;
    case WM_SETCURSOR:
      if (reinterpret_cast<HWND>(wp) == st.hwnd && LOWORD(lp) == HTCLIENT && on_set_cursor(st)) return TRUE;
      return DefWindowProcA(st.hwnd, msg, wp, lp);
    case WM_TIMER:
      if (wp == kHoverTimer)
        on_hover_timer(st);
      else if (wp == kEditTimer) {
        KillTimer(st.hwnd, kEditTimer);
        if (valid_item(st, st.focus) && get_state(st, st.focus, LVIS_SELECTED)) begin_edit(st, st.focus);
      }
      return 0;
    case kSyncLayout:
      st.sync_posted = false;
      sync_layout(st);
      return 0;
    case kDestroyEdit: {
      HWND e = reinterpret_cast<HWND>(wp);
      if (e && e != st.edit && IsWindow(e) && GetParent(e) == st.hwnd) DestroyWindow(e);
      return 0;
    }
    default:
      break;
  }
  if (msg >= LVM_FIRST && msg < LVM_FIRST + 0x100) return handle_lvm(st, msg, wp, lp);
  return DefWindowProcA(st.hwnd, msg, wp, lp);
}

LRESULT listview_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  LRESULT result = 0;
  if (scrollbar::handle_message(hwnd, msg, wp, lp, result)) return result;
  return states().serve(hwnd, msg, wp, lp, [&](State& st) { return dispatch(st, msg, wp, lp); });
}

void register_listview_classes() {
  register_control_class(WC_LISTVIEWA, listview_proc, CS_GLOBALCLASS | CS_DBLCLKS);
  header::register_header_class();
  register_tip_class();
}

[[maybe_unused]] const bool kRegistered = platform::winsys::add_system_classes(&register_listview_classes);

}  // namespace

StatePtr find_state(HWND hwnd) {
  return states().find(hwnd);
}

}  // namespace platform::controls::listview
