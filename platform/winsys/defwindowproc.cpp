// The default window procedure: frame, text, activation, system commands and painting defaults.
#include <algorithm>
#include <cstring>

#include "platform/api/input.h"
#include "platform/display/backend.h"
#include "platform/kernel/codepage.h"
#include "platform/winsys/dispatch.h"
#include "platform/winsys/menu_bar_hook.h"
#include "platform/winsys/scroll_bar_hook.h"
#include "platform/winsys/window_internal.h"

namespace platform::winsys {
namespace {

struct Snapshot {
  DWORD style = 0;
  DWORD ex_style = 0;
  bool menu = false;
  bool top = false;
  bool child = false;
  HWND parent = nullptr;
  RECT window{};  // screen
  RECT client{};  // client size
  HCURSOR cursor = nullptr;
  HBRUSH background = nullptr;
  UINT class_style = 0;
};

bool snapshot(HWND hwnd, Snapshot* s) {
  Lock lock(wm_mutex());
  auto w = find_locked(hwnd);
  if (!w || is_desktop_locked(*w)) return false;
  s->style = w->style;
  s->ex_style = w->ex_style;
  s->menu = has_menu_bar_locked(*w);
  s->top = is_top_level_locked(*w);
  s->child = (w->style & WS_CHILD) != 0;
  s->parent = w->parent;
  POINT o = window_screen_origin_locked(*w);
  s->window = {o.x, o.y, o.x + (w->window_rect.right - w->window_rect.left),
               o.y + (w->window_rect.bottom - w->window_rect.top)};
  s->client = client_size_rect(*w);
  if (w->cls) {
    s->cursor = w->cls->cursor;
    s->background = w->cls->background;
    s->class_style = w->cls->style;
  }
  return true;
}

LRESULT nc_calc_size(HWND hwnd, WPARAM wp, LPARAM lp) {
  Snapshot s;
  if (!snapshot(hwnd, &s) || !lp) return 0;
  RECT* r = wp ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(lp)->rgrc[0] : reinterpret_cast<RECT*>(lp);
  if (s.style & WS_MINIMIZE) {
    r->right = r->left;
    r->bottom = r->top;
    return 0;
  }
  FrameLayout f = frame_layout(hwnd, s.style, s.ex_style, s.menu, r->right - r->left, r->bottom - r->top);
  *r = {r->left + f.client.left, r->top + f.client.top, r->left + f.client.right, r->top + f.client.bottom};
  return 0;
}

LRESULT nc_hit_test(HWND hwnd, LPARAM lp) {
  Snapshot s;
  if (!snapshot(hwnd, &s)) return HTNOWHERE;
  POINT p{GET_X_LPARAM(lp) - s.window.left, GET_Y_LPARAM(lp) - s.window.top};
  int width = s.window.right - s.window.left, height = s.window.bottom - s.window.top;
  if (p.x < 0 || p.y < 0 || p.x >= width || p.y >= height) return HTNOWHERE;
  if (s.style & WS_MINIMIZE) return HTCAPTION;
  FrameLayout f = frame_layout(hwnd, s.style, s.ex_style, s.menu, width, height);
  if (rect_contains(f.client, p)) return HTCLIENT;
  if (f.border > 0 &&
      (p.x < f.border || p.y < f.border || p.x >= width - f.border || p.y >= height - f.border)) {
    if (!f.sizing || (s.style & WS_MAXIMIZE)) return HTBORDER;
    const int corner = GetSystemMetrics(SM_CYCAPTION) + f.border;
    bool left = p.x < corner, right = p.x >= width - corner, top = p.y < corner,
         bottom = p.y >= height - corner;
    if (p.y < f.border) return left ? HTTOPLEFT : right ? HTTOPRIGHT : HTTOP;
    if (p.y >= height - f.border) return left ? HTBOTTOMLEFT : right ? HTBOTTOMRIGHT : HTBOTTOM;
    if (p.x < f.border) return top ? HTTOPLEFT : bottom ? HTBOTTOMLEFT : HTLEFT;
    return top ? HTTOPRIGHT : bottom ? HTBOTTOMRIGHT : HTRIGHT;
  }
  if (rect_contains(f.close_box, p)) return HTCLOSE;
  if (rect_contains(f.max_box, p)) return HTMAXBUTTON;
  if (rect_contains(f.min_box, p)) return HTMINBUTTON;
  if (!rect_empty(f.caption) && p.y >= f.caption.top && p.y <= f.caption.bottom) return HTCAPTION;
  if (!rect_empty(f.menu_bar) && p.y >= f.menu_bar.top && p.y <= f.menu_bar.bottom) return HTMENU;
  if ((s.style & WS_VSCROLL) && p.x >= f.client.right && p.y >= f.client.top && p.y < f.client.bottom)
    return HTVSCROLL;
  if ((s.style & WS_HSCROLL) && p.y >= f.client.bottom && p.x >= f.client.left && p.x < f.client.right)
    return HTHSCROLL;
  return HTBORDER;
}

LRESULT set_text(HWND hwnd, LPCSTR text) {
  std::string value = text ? text : "";
  bool top_visible;
  bool caption;
  {
    Lock lock(wm_mutex());
    auto w = find_locked(hwnd);
    if (!w) return FALSE;
    w->text = value;
    top_visible = is_top_level_locked(*w);
    caption = (w->style & WS_CAPTION) == WS_CAPTION;
  }
  if (top_visible) {
    std::string utf8 = codepage::ansi_to_utf8(value);
    run_on_display([hwnd, utf8](display::Backend& b) { b.window_title(hwnd, utf8); });
  }
  if (caption) paint_frame(hwnd);
  return TRUE;
}

LRESULT get_text(HWND hwnd, WPARAM size, LPSTR buffer) {
  if (!buffer || size == 0) return 0;
  Lock lock(wm_mutex());
  auto w = find_locked(hwnd);
  if (!w) {
    buffer[0] = '\0';
    return 0;
  }
  std::size_t n = std::min<std::size_t>(w->text.size(), size - 1);
  // Never cut a double-byte character in half.
  std::size_t cut = 0;
  while (cut < n) {
    std::size_t len = codepage::ansi_char_length(std::string_view(w->text).substr(cut));
    if (cut + len > n) break;
    cut += len;
  }
  std::memcpy(buffer, w->text.data(), cut);
  buffer[cut] = '\0';
  return static_cast<LRESULT>(cut);
}

LRESULT erase_background(HWND hwnd, HDC dc) {
  Snapshot s;
  if (!snapshot(hwnd, &s) || !dc || !s.background) return 0;
  HBRUSH brush = s.background;
  ULONG_PTR value = reinterpret_cast<ULONG_PTR>(brush);
  if (value > 0 && value <= static_cast<ULONG_PTR>(COLOR_MENUBAR) + 1)
    brush = GetSysColorBrush(static_cast<int>(value - 1));  // COLOR_x + 1
  RECT rc = s.client;
  FillRect(dc, &rc, brush);
  return 1;
}

LRESULT ctl_color(UINT msg, HDC dc) {
  int back = COLOR_3DFACE, text = COLOR_WINDOWTEXT;
  if (msg == WM_CTLCOLOREDIT || msg == WM_CTLCOLORLISTBOX) back = COLOR_WINDOW;
  if (msg == WM_CTLCOLORSCROLLBAR) back = COLOR_SCROLLBAR;
  if (dc) {
    SetTextColor(dc, GetSysColor(text));
    SetBkColor(dc, GetSysColor(back));
  }
  return reinterpret_cast<LRESULT>(GetSysColorBrush(back));
}

LRESULT set_cursor(HWND hwnd, WPARAM wp, LPARAM lp) {
  Snapshot s;
  if (!snapshot(hwnd, &s)) return FALSE;
  // A parent may decide the cursor for its children.
  if (s.child && s.parent && SendMessageA(s.parent, WM_SETCURSOR, wp, lp)) return TRUE;
  short hit = static_cast<short>(LOWORD(static_cast<DWORD_PTR>(lp)));
  LPCSTR shape = IDC_ARROW;
  switch (hit) {
    case HTCLIENT:
      if (s.cursor) {
        SetCursor(s.cursor);
        return TRUE;
      }
      return FALSE;
    case HTLEFT:
    case HTRIGHT:
      shape = IDC_SIZEWE;
      break;
    case HTTOP:
    case HTBOTTOM:
      shape = IDC_SIZENS;
      break;
    case HTTOPLEFT:
    case HTBOTTOMRIGHT:
      shape = IDC_SIZENWSE;
      break;
    case HTTOPRIGHT:
    case HTBOTTOMLEFT:
      shape = IDC_SIZENESW;
      break;
    case HTERROR:
      if (HIWORD(static_cast<DWORD_PTR>(lp)) == WM_LBUTTONDOWN) MessageBeep(0);
      return FALSE;
    default:
      break;
  }
  SetCursor(LoadCursorA(nullptr, shape));
  return TRUE;
}

// A click on a caption button: pressed until the mouse button is released; acts only when
// released over the same button.
void track_caption_button(HWND hwnd, LRESULT button) {
  SetCapture(hwnd);
  MSG msg;
  bool released_inside = false;
  while (GetCapture() == hwnd) {
    if (GetMessageA(&msg, nullptr, 0, 0) <= 0) {
      if (msg.message == WM_QUIT) PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (msg.message == WM_LBUTTONUP || msg.message == WM_NCLBUTTONUP) {
      released_inside =
          SendMessageA(hwnd, WM_NCHITTEST, 0,
                       MAKELPARAM(static_cast<WORD>(msg.pt.x), static_cast<WORD>(msg.pt.y))) == button;
      break;
    }
    if (msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST) continue;
    if (msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST) continue;
    DispatchMessageA(&msg);
  }
  if (GetCapture() == hwnd) ReleaseCapture();
  if (!released_inside || !IsWindow(hwnd)) return;
  WPARAM cmd = button == HTCLOSE       ? SC_CLOSE
               : button == HTMINBUTTON ? SC_MINIMIZE
               : IsZoomed(hwnd)        ? SC_RESTORE
                                       : SC_MAXIMIZE;
  SendMessageA(hwnd, WM_SYSCOMMAND, cmd, 0);
}

LRESULT nc_button_down(HWND hwnd, WPARAM hit, LPARAM lp) {
  POINT pt{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
  switch (static_cast<LRESULT>(hit)) {
    case HTCAPTION: {
      HWND top = GetAncestor(hwnd, GA_ROOT);
      if (top && GetActiveWindow() != top && window_thread_is_current(top)) SetActiveWindow(top);
      SendMessageA(hwnd, WM_SYSCOMMAND, SC_MOVE + HTCAPTION, lp);
      break;
    }
    case HTCLOSE:
    case HTMINBUTTON:
    case HTMAXBUTTON:
      track_caption_button(hwnd, static_cast<LRESULT>(hit));
      break;
    case HTMENU:
      SendMessageA(hwnd, WM_SYSCOMMAND, SC_MOUSEMENU + HTMENU, lp);
      break;
    case HTLEFT:
    case HTRIGHT:
    case HTTOP:
    case HTTOPLEFT:
    case HTTOPRIGHT:
    case HTBOTTOM:
    case HTBOTTOMLEFT:
    case HTBOTTOMRIGHT:
      SendMessageA(hwnd, WM_SYSCOMMAND, SC_SIZE + (hit - HTLEFT + 1), lp);
      break;
  }
  (void)pt;
  return 0;
}

// Alt pressed and released on its own opens the menu bar; any other key in between cancels that.
thread_local bool alt_alone = false;

LRESULT key_down(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_SYSKEYDOWN && wp == VK_F4 && (lp & (1 << 29))) {
    SendMessageA(hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
    return 0;
  }
  // Auto-repeat of Alt keeps the state; any other key ends it.
  if (wp == VK_MENU) {
    if (!(lp & (1 << 30))) alt_alone = true;
  } else {
    alt_alone = false;
  }
  return 0;
}

LRESULT sys_key_up(HWND hwnd, WPARAM wp) {
  bool open = wp == VK_F10 || (wp == VK_MENU && alt_alone);
  alt_alone = false;
  if (open) {
    HWND top = GetAncestor(hwnd, GA_ROOT);
    if (top) SendMessageA(top, WM_SYSCOMMAND, SC_KEYMENU, 0);
  }
  return 0;
}

LRESULT sys_command(HWND hwnd, WPARAM wp, LPARAM lp) {
  Snapshot s;
  if (!snapshot(hwnd, &s)) return 0;
  switch (wp & 0xFFF0) {
    case SC_CLOSE:
      if (s.class_style & CS_NOCLOSE) return 0;
      SendMessageA(hwnd, WM_CLOSE, 0, 0);
      break;
    case SC_MOVE:
    case SC_SIZE: {
      if (s.style & WS_MAXIMIZE) break;
      MenuBarHooks hooks = menu_bar_hooks();
      if (hooks.allows_system_command && !hooks.allows_system_command(hwnd, static_cast<UINT>(wp & 0xFFF0)))
        break;
      move_loop(hwnd, {GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}, static_cast<int>(wp & 0x000F),
                (wp & 0xFFF0) == SC_SIZE);
      break;
    }
    case SC_MINIMIZE:
      ShowWindow(hwnd, SW_MINIMIZE);
      break;
    case SC_MAXIMIZE:
      ShowWindow(hwnd, SW_MAXIMIZE);
      break;
    case SC_RESTORE:
      ShowWindow(hwnd, SW_RESTORE);
      break;
    case SC_MOUSEMENU:
    case SC_KEYMENU: {
      MenuBarHooks hooks = menu_bar_hooks();
      HMENU menu = reinterpret_cast<HMENU>(GetWindowLongPtrA(hwnd, GWLP_ID));
      if (hooks.track && s.menu && menu) {
        POINT pt = (wp & 0xFFF0) == SC_KEYMENU ? POINT{-1, -1} : POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
        hooks.track(hwnd, menu, pt);
      }
      break;
    }
  }
  return 0;
}

LRESULT window_pos_changing(HWND hwnd, WINDOWPOS* wp) {
  Snapshot s;
  if (!wp || !snapshot(hwnd, &s)) return 0;
  bool framed = (s.style & WS_THICKFRAME) || (s.style & WS_CAPTION) == WS_CAPTION;
  if (!(wp->flags & SWP_NOSIZE) && s.top && framed && !(s.style & WS_MINIMIZE)) {
    MINMAXINFO mmi = minmax_info(hwnd);
    wp->cx =
        std::clamp<int>(wp->cx, mmi.ptMinTrackSize.x, std::max(mmi.ptMinTrackSize.x, mmi.ptMaxTrackSize.x));
    wp->cy =
        std::clamp<int>(wp->cy, mmi.ptMinTrackSize.y, std::max(mmi.ptMinTrackSize.y, mmi.ptMaxTrackSize.y));
  }
  return 0;
}

LRESULT window_pos_changed(HWND hwnd, const WINDOWPOS* wp) {
  if (!wp) return 0;
  RECT client;
  DWORD style;
  {
    Lock lock(wm_mutex());
    auto w = find_locked(hwnd);
    if (!w) return 0;
    client = w->client_rect;
    style = w->style;
  }
  if (!(wp->flags & SWP_NOCLIENTMOVE))
    SendMessageA(hwnd, WM_MOVE, 0, MAKELPARAM(static_cast<WORD>(client.left), static_cast<WORD>(client.top)));
  if (!(wp->flags & SWP_NOCLIENTSIZE) || (wp->flags & SWP_STATECHANGED)) {
    WPARAM type = (style & WS_MINIMIZE)   ? SIZE_MINIMIZED
                  : (style & WS_MAXIMIZE) ? SIZE_MAXIMIZED
                                          : SIZE_RESTORED;
    SendMessageA(hwnd, WM_SIZE, type,
                 MAKELPARAM(static_cast<WORD>(client.right - client.left),
                            static_cast<WORD>(client.bottom - client.top)));
  }
  return 0;
}

LRESULT nc_activate(HWND hwnd, WPARAM wp) {
  {
    Lock lock(wm_mutex());
    auto w = find_locked(hwnd);
    if (!w) return TRUE;
    w->frame_active = wp != 0;
  }
  paint_frame(hwnd);
  return TRUE;
}

LRESULT print(HWND hwnd, HDC dc, LPARAM flags) {
  if ((flags & PRF_CHECKVISIBLE) && !IsWindowVisible(hwnd)) return 0;
  if (flags & PRF_ERASEBKGND) SendMessageA(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  if (flags & PRF_CLIENT) SendMessageA(hwnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), flags);
  return 0;
}

}  // namespace
}  // namespace platform::winsys

using namespace platform::winsys;

extern "C" LRESULT DefWindowProcA(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (LRESULT r = 0; default_scroll_bar_message(hwnd, msg, wp, lp, r)) return r;
  switch (msg) {
    case WM_NCCREATE: {
      auto* cs = reinterpret_cast<CREATESTRUCTA*>(lp);
      if (cs && cs->lpszName && !IS_INTRESOURCE(cs->lpszName)) {
        Lock lock(wm_mutex());
        if (auto w = find_locked(hwnd)) w->text = cs->lpszName;
      }
      return TRUE;
    }
    case WM_NCCALCSIZE:
      return nc_calc_size(hwnd, wp, lp);
    case WM_NCHITTEST:
      return nc_hit_test(hwnd, lp);
    case WM_NCPAINT:
      paint_frame(hwnd);
      return 0;
    case WM_NCACTIVATE:
      return nc_activate(hwnd, wp);
    case WM_NCLBUTTONDOWN:
      return nc_button_down(hwnd, wp, lp);
    case WM_NCLBUTTONDBLCLK:
      if (static_cast<LRESULT>(wp) == HTCAPTION && (GetWindowLongPtrA(hwnd, GWL_STYLE) & WS_MAXIMIZEBOX))
        SendMessageA(hwnd, WM_SYSCOMMAND, IsZoomed(hwnd) ? SC_RESTORE : SC_MAXIMIZE, lp);
      return 0;
    case WM_SETTEXT:
      return set_text(hwnd, reinterpret_cast<LPCSTR>(lp));
    case WM_GETTEXT:
      return get_text(hwnd, wp, reinterpret_cast<LPSTR>(lp));
    case WM_GETTEXTLENGTH: {
      Lock lock(wm_mutex());
      auto w = find_locked(hwnd);
      return w ? static_cast<LRESULT>(w->text.size()) : 0;
    }
    case WM_PAINT: {
      PAINTSTRUCT ps;
      if (BeginPaint(hwnd, &ps)) EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_ERASEBKGND:
      return erase_background(hwnd, reinterpret_cast<HDC>(wp));
    case WM_PRINT:
      return print(hwnd, reinterpret_cast<HDC>(wp), lp);
    case WM_CLOSE:
      DestroyWindow(hwnd);
      return 0;
    case WM_SYSCOMMAND:
      return sys_command(hwnd, wp, lp);
    case WM_SYSKEYDOWN:
    case WM_KEYDOWN:
      return key_down(hwnd, msg, wp, lp);
    case WM_SYSKEYUP:
      return sys_key_up(hwnd, wp);
    case WM_SETCURSOR:
      return set_cursor(hwnd, wp, lp);
    case WM_MOUSEACTIVATE: {
      Snapshot s;
      if (snapshot(hwnd, &s) && s.child && s.parent) {
        LRESULT r = SendMessageA(s.parent, WM_MOUSEACTIVATE, wp, lp);
        if (r) return r;
      }
      return MA_ACTIVATE;
    }
    case WM_ACTIVATE:
      if (LOWORD(wp) != WA_INACTIVE && !IsIconic(hwnd)) SetFocus(hwnd);
      return 0;
    case WM_WINDOWPOSCHANGING:
      return window_pos_changing(hwnd, reinterpret_cast<WINDOWPOS*>(lp));
    case WM_WINDOWPOSCHANGED:
      return window_pos_changed(hwnd, reinterpret_cast<const WINDOWPOS*>(lp));
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
      return ctl_color(msg, reinterpret_cast<HDC>(wp));
    case WM_CANCELMODE:
      if (GetCapture() == hwnd) ReleaseCapture();
      return 0;
    case WM_MOUSEWHEEL:
    case WM_CONTEXTMENU: {
      // Unhandled by a child: its parent gets the chance.
      Snapshot s;
      if (snapshot(hwnd, &s) && s.child && s.parent) return SendMessageA(s.parent, msg, wp, lp);
      return 0;
    }
    case WM_QUERYOPEN:
    case WM_QUERYENDSESSION:
      return TRUE;
    case WM_GETFONT:
    case WM_GETICON:
    case WM_SETICON:
    case WM_PARENTNOTIFY:
    case WM_GETMINMAXINFO:
    case WM_SHOWWINDOW:
    default:
      return 0;
  }
}
