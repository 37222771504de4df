// The "EDIT" window class: the window procedure decodes each message once and hands it to the
// typed handlers of edit_*.cpp.
#include <algorithm>
#include <cstring>

#include "platform/controls/control_common.h"
#include "platform/controls/edit_state.h"
#include "platform/controls/scrollbar_nc.h"
#include "platform/winsys/system_classes.h"

namespace platform::controls::edit {
namespace {

StateTable<State>& states() {
  static StateTable<State> table;
  return table;
}

int as_int(WPARAM v) {
  return static_cast<int>(static_cast<LONG_PTR>(v));
}

void on_create(State& st, const CREATESTRUCTA* cs) {
  if (style_of(st) & ES_PASSWORD) st.password = '*';
  refresh_font_metrics(st);
  if (cs && cs->lpszName && !IS_INTRESOURCE(cs->lpszName)) st.text = cs->lpszName;
  sync_window_text(st);
  ensure_layout(st);
  update_scroll_bars(st);
}

LRESULT get_text(State& st, WPARAM size, LPSTR buffer) {
  if (!buffer || size == 0) return 0;
  const std::size_t n = whole_chars_within(st.text, size - 1);
  std::memcpy(buffer, st.text.data(), n);
  buffer[n] = '\0';
  return static_cast<LRESULT>(n);
}

LRESULT get_selection(State& st, WPARAM wp, LPARAM lp) {
  const std::size_t s = sel_start(st), e = sel_end(st);
  if (auto* out = reinterpret_cast<DWORD*>(wp)) *out = static_cast<DWORD>(s);
  if (auto* out = reinterpret_cast<DWORD*>(lp)) *out = static_cast<DWORD>(e);
  if (s > 0xFFFF || e > 0xFFFF) return -1;
  return static_cast<LRESULT>(MAKELONG(static_cast<WORD>(s), static_cast<WORD>(e)));
}

void set_selection_message(State& st, WPARAM wp, LPARAM lp) {
  const int start = as_int(wp), end = static_cast<int>(lp);
  st.goal_x = -1;
  if (start < 0) {  // deselects, the caret stays
    set_selection(st, st.caret, st.caret, false);
    return;
  }
  const std::size_t len = st.text.size();
  const std::size_t a = std::min<std::size_t>(static_cast<std::size_t>(start), len);
  const std::size_t b = end < 0 ? len : std::min<std::size_t>(static_cast<std::size_t>(end), len);
  set_selection(st, a, b, false);
}

LRESULT line_index(State& st, WPARAM wp) {
  ensure_layout(st);
  int line = as_int(wp);
  if (line < 0) line = line_of(st, st.caret);
  if (line >= static_cast<int>(st.lines.size())) return -1;
  return static_cast<LRESULT>(st.lines[static_cast<std::size_t>(line)].start);
}

LRESULT line_length(State& st, WPARAM wp) {
  ensure_layout(st);
  const int index = as_int(wp);
  if (index < 0) {
    // The unselected characters on the lines that hold the selection.
    const std::size_t s = sel_start(st), e = sel_end(st);
    const Line& first = st.lines[static_cast<std::size_t>(line_of(st, s))];
    const Line& last = st.lines[static_cast<std::size_t>(line_of(st, e))];
    return static_cast<LRESULT>((s - first.start) + (last.end > e ? last.end - e : 0));
  }
  const Line& l = st.lines[static_cast<std::size_t>(line_of(st, static_cast<std::size_t>(index)))];
  return static_cast<LRESULT>(l.end - l.start);
}

LRESULT get_line(State& st, WPARAM wp, LPARAM lp) {
  auto* buffer = reinterpret_cast<char*>(lp);
  if (!buffer) return 0;
  ensure_layout(st);
  WORD room = 0;
  std::memcpy(&room, buffer, sizeof room);
  const int line = multi_line(st) ? as_int(wp) : 0;
  if (line < 0 || line >= static_cast<int>(st.lines.size())) return 0;
  const Line& l = st.lines[static_cast<std::size_t>(line)];
  std::string_view piece = std::string_view(st.text).substr(l.start, l.end - l.start);
  const std::size_t n = whole_chars_within(piece, room);
  std::memcpy(buffer, piece.data(), n);
  if (n < room) buffer[n] = '\0';
  return static_cast<LRESULT>(n);
}

LRESULT line_from_char(State& st, WPARAM wp) {
  const int index = as_int(wp);
  const std::size_t pos =
      index < 0 ? sel_start(st) : std::min<std::size_t>(static_cast<std::size_t>(index), st.text.size());
  return line_of(st, pos);
}

LRESULT pos_from_char(State& st, WPARAM wp) {
  const int index = as_int(wp);
  if (index < 0 || static_cast<std::size_t>(index) >= st.text.size()) return -1;
  const POINT p = pos_to_point(st, static_cast<std::size_t>(index));
  return static_cast<LRESULT>(MAKELONG(static_cast<WORD>(p.x), static_cast<WORD>(p.y)));
}

LRESULT char_from_pos(State& st, LPARAM lp) {
  const std::size_t pos = point_to_pos(st, POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
  const int line = line_of(st, pos);
  return static_cast<LRESULT>(
      MAKELONG(static_cast<WORD>(std::min<std::size_t>(pos, 0xFFFF)), static_cast<WORD>(line)));
}

LRESULT first_visible(State& st) {
  if (multi_line(st)) {
    ensure_layout(st);
    return st.first_line;
  }
  const RECT fr = format_rect(st);
  return static_cast<LRESULT>(point_to_pos(st, POINT{fr.left, fr.top}));
}

void set_limit(State& st, WPARAM wp) {
  const std::size_t most = multi_line(st) ? kMultiLineMax : kSingleLineMax;
  st.limit = wp == 0 ? most : std::min<std::size_t>(wp, most);
}

void set_password(State& st, WPARAM wp) {
  if (multi_line(st)) return;
  st.password = static_cast<char>(wp & 0xFF);
  const DWORD style = style_of(st);
  const DWORD wanted = st.password ? (style | ES_PASSWORD) : (style & ~ES_PASSWORD);
  if (wanted != style) SetWindowLongA(st.hwnd, GWL_STYLE, static_cast<LONG>(wanted));
  invalidate_layout(st);
  scroll_caret_into_view(st);
  redraw(st);
}

void set_margins(State& st, WPARAM wp, LPARAM lp) {
  if (wp == EC_USEFONTINFO) {
    st.left_margin = st.right_margin = std::max(1, (st.char_width + 2) / 3);
  } else {
    if (wp & EC_LEFTMARGIN) st.left_margin = LOWORD(static_cast<DWORD_PTR>(lp));
    if (wp & EC_RIGHTMARGIN) st.right_margin = HIWORD(static_cast<DWORD_PTR>(lp));
  }
  invalidate_layout(st);
  update_scroll_bars(st);
  redraw(st);
}

void set_rect(State& st, const RECT* r, bool repaint) {
  st.has_user_rect = r != nullptr;
  if (r) st.user_rect = *r;
  invalidate_layout(st);
  update_scroll_bars(st);
  if (repaint) redraw(st);
}

void on_size(State& st) {
  invalidate_layout(st);
  ensure_layout(st);
  update_scroll_bars(st);
  scroll_caret_into_view(st);
  redraw(st);
}

void on_focus(State& st, bool gained) {
  st.focused = gained;
  st.pending.clear();
  if (gained) {
    restart_caret(st);
  } else {
    on_mouse_up(st);
    stop_caret(st);
  }
  redraw(st);
  notify(st, gained ? EN_SETFOCUS : EN_KILLFOCUS);
}

void paint_message(State& st, HDC given) {
  if (given) {
    paint(st, given);
    return;
  }
  PAINTSTRUCT ps{};
  HDC dc = BeginPaint(st.hwnd, &ps);
  if (dc) paint(st, dc);
  EndPaint(st.hwnd, &ps);
}

bool has_scroll_bars(HWND hwnd) {
  return (window_style(hwnd) & (WS_VSCROLL | WS_HSCROLL)) != 0;
}

LRESULT handle(State& st, UINT msg, WPARAM wp, LPARAM lp) {
  HWND hwnd = st.hwnd;
  switch (msg) {
    case WM_CREATE:
      on_create(st, reinterpret_cast<const CREATESTRUCTA*>(lp));
      return 0;
    case WM_DESTROY:
      KillTimer(hwnd, kCaretTimer);
      KillTimer(hwnd, kDragTimer);
      return 0;
    case WM_NCPAINT: {
      LRESULT r = 0;
      if (!(has_scroll_bars(hwnd) && scrollbar::handle_message(hwnd, msg, wp, lp, r)))
        r = DefWindowProcA(hwnd, msg, wp, lp);
      paint_nonclient(st, reinterpret_cast<HRGN>(wp));
      return r;
    }
    case WM_PAINT:
    case WM_PRINTCLIENT:
      paint_message(st, reinterpret_cast<HDC>(wp));
      return 0;
    case WM_ERASEBKGND:
      return 1;  // WM_PAINT covers every pixel
    case WM_SIZE:
      on_size(st);
      return 0;
    case WM_STYLECHANGED:
      invalidate_layout(st);
      redraw(st);
      return 0;
    case WM_SETFOCUS:
      on_focus(st, true);
      return 0;
    case WM_KILLFOCUS:
      on_focus(st, false);
      return 0;
    case WM_ENABLE:
      redraw(st);
      return 0;
    case WM_SETFONT:
      st.font = reinterpret_cast<HFONT>(wp);
      refresh_font_metrics(st);
      ensure_layout(st);
      update_scroll_bars(st);
      if (lp) redraw(st);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(st.font);
    case WM_SETTEXT:
      set_whole_text(st, lp ? reinterpret_cast<LPCSTR>(lp) : "");
      return TRUE;
    case WM_GETTEXT:
      return get_text(st, wp, reinterpret_cast<LPSTR>(lp));
    case WM_GETTEXTLENGTH:
      return static_cast<LRESULT>(st.text.size());
    case WM_GETDLGCODE: {
      LRESULT code = DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
      if (multi_line(st) && (style_of(st) & ES_WANTRETURN)) code |= DLGC_WANTALLKEYS;
      return code;
    }
    case WM_CHAR:
      on_char(st, wp);
      return 0;
    case WM_KEYDOWN:
      on_key_down(st, wp);
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      on_mouse_down(st, POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}, wp, msg == WM_LBUTTONDBLCLK);
      return 0;
    case WM_MOUSEMOVE:
      on_mouse_move(st, POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
      return 0;
    case WM_LBUTTONUP:
      on_mouse_up(st);
      return 0;
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lp) != hwnd) on_mouse_up(st);
      return 0;
    case WM_MOUSEWHEEL:
      if (!multi_line(st)) break;
      on_wheel(st, GET_WHEEL_DELTA_WPARAM(wp));
      return 0;
    case WM_VSCROLL:
    case WM_HSCROLL:
      on_scroll(st, msg == WM_VSCROLL, LOWORD(wp));
      return 0;
    case WM_TIMER:
      if (wp == kCaretTimer) {
        blink(st);
        return 0;
      }
      if (wp == kDragTimer) {
        on_drag_timer(st);
        return 0;
      }
      break;
    case WM_COPY:
      copy_selection(st);
      return 0;
    case WM_CUT:
      cut_selection(st);
      return 0;
    case WM_PASTE:
      paste(st);
      return 0;
    case WM_CLEAR:
      clear_selection(st);
      return 0;
    case WM_UNDO:
    case EM_UNDO:
      return undo(st) ? TRUE : FALSE;
    case EM_CANUNDO:
      return st.can_undo ? TRUE : FALSE;
    case EM_EMPTYUNDOBUFFER:
      st.can_undo = false;
      st.typing_run = false;
      return 0;
    case EM_GETSEL:
      return get_selection(st, wp, lp);
    case EM_SETSEL:
      set_selection_message(st, wp, lp);
      return 0;
    case EM_REPLACESEL:
      if (!wp) st.can_undo = false;
      replace_selection(st, lp ? reinterpret_cast<LPCSTR>(lp) : "", wp ? UndoMode::record : UndoMode::none,
                        true);
      return 0;
    case EM_SCROLLCARET:
      scroll_caret_into_view(st);
      return TRUE;
    case EM_GETMODIFY:
      return st.modified ? TRUE : FALSE;
    case EM_SETMODIFY:
      st.modified = wp != 0;
      return 0;
    case EM_GETLINECOUNT:
      ensure_layout(st);
      return static_cast<LRESULT>(st.lines.size());
    case EM_LINEINDEX:
      return line_index(st, wp);
    case EM_LINELENGTH:
      return line_length(st, wp);
    case EM_GETLINE:
      return get_line(st, wp, lp);
    case EM_LINEFROMCHAR:
      return line_from_char(st, wp);
    case EM_LIMITTEXT:
      set_limit(st, wp);
      return 0;
    case EM_GETLIMITTEXT:
      return static_cast<LRESULT>(st.limit);
    case EM_SETPASSWORDCHAR:
      set_password(st, wp);
      return 0;
    case EM_GETPASSWORDCHAR:
      return static_cast<unsigned char>(st.password);
    case EM_GETFIRSTVISIBLELINE:
      return first_visible(st);
    case EM_GETTHUMB:
      ensure_layout(st);
      return st.first_line;
    case EM_SETREADONLY: {
      const DWORD style = style_of(st);
      SetWindowLongA(hwnd, GWL_STYLE, static_cast<LONG>(wp ? (style | ES_READONLY) : (style & ~ES_READONLY)));
      redraw(st);
      return TRUE;
    }
    case EM_SETMARGINS:
      set_margins(st, wp, lp);
      return 0;
    case EM_GETMARGINS:
      return static_cast<LRESULT>(
          MAKELONG(static_cast<WORD>(st.left_margin), static_cast<WORD>(st.right_margin)));
    case EM_GETRECT:
      if (auto* r = reinterpret_cast<RECT*>(lp)) *r = format_rect(st);
      return 0;
    case EM_SETRECT:
    case EM_SETRECTNP:
      set_rect(st, reinterpret_cast<const RECT*>(lp), msg == EM_SETRECT);
      return 0;
    case EM_POSFROMCHAR:
      return pos_from_char(st, wp);
    case EM_CHARFROMPOS:
      return char_from_pos(st, lp);
    case EM_LINESCROLL:
      if (!multi_line(st)) return FALSE;
      scroll_lines(st, static_cast<int>(lp));
      scroll_pixels(st, as_int(wp) * st.char_width);
      return TRUE;
    case EM_SCROLL: {
      if (!multi_line(st)) return FALSE;
      const int before = st.first_line;
      on_scroll(st, true, as_int(wp));
      return static_cast<LRESULT>(MAKELONG(static_cast<WORD>(st.first_line - before), TRUE));
    }
    default:
      break;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

LRESULT CALLBACK edit_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCDESTROY) {
    LRESULT ignored = 0;
    scrollbar::handle_message(hwnd, msg, wp, lp, ignored);
  }
  return states().serve(hwnd, msg, wp, lp, [&](State& st) {
    // The frame already makes room for the bars; the bars' helper only draws and tracks them.
    if (msg != WM_NCCALCSIZE && msg != WM_NCPAINT && has_scroll_bars(hwnd)) {
      LRESULT r = 0;
      if (scrollbar::handle_message(hwnd, msg, wp, lp, r)) return r;
    }
    return handle(st, msg, wp, lp);
  });
}

}  // namespace

void register_edit_class() {
  register_control_class(WC_EDITA, edit_proc, CS_GLOBALCLASS | CS_DBLCLKS, IDC_IBEAM);
}

namespace {
const bool kRegistered = winsys::add_system_classes(&register_edit_class);
}  // namespace

}  // namespace platform::controls::edit
