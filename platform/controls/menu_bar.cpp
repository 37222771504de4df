// Menu bars: SetMenu/GetMenu/DrawMenuBar and the window frame's hooks that measure, draw and
// track the bar.
#include "platform/controls/menu_bar.h"

#include "platform/controls/control_common.h"
#include "platform/controls/menu_system.h"
#include "platform/controls/menu_track.h"
#include "platform/winsys/menu_bar_hook.h"

namespace platform::controls::menu {
namespace {

struct BarState {
  RECT bar{};
  int highlight = -1;
};

// Per window: where its bar was last drawn and which item is highlighted.
StateTable<BarState>& bar_states() {
  static StateTable<BarState> states;
  return states;
}

void remember_bar(HWND hwnd, const RECT& bar) {
  // Windows come and go without telling the menu code; forget the bars of windows that are gone.
  bar_states().detach_if([](HWND h) { return !IsWindow(h); });
  bar_states().find_or_attach(hwnd)->bar = bar;
}

// Only top-level windows carry a menu bar.
bool top_level(HWND hwnd) {
  return live_window(hwnd) && !(GetWindowLongPtrA(hwnd, GWL_STYLE) & WS_CHILD);
}

int highlight_of(HWND hwnd) {
  auto s = bar_states().find(hwnd);
  return s ? s->highlight : -1;
}

bool live_menu(HMENU menu) {
  return IsMenu(menu) != FALSE;
}

int hook_height(HWND, HMENU, int) {
  return 0;  // one row of SM_CYMENU
}

void hook_draw(HWND hwnd, HMENU handle, HDC dc, const RECT& bar) {
  remember_bar(hwnd, bar);
  auto m = snapshot(handle);
  if (!m) return;  // the bar was destroyed under the window: leave the empty strip
  paint_bar(dc, handle, *m, layout_bar(*m, hwnd, bar), bar, highlight_of(hwnd), hwnd);
}

void hook_track(HWND hwnd, HMENU handle, POINT screen) {
  TrackRequest req;
  req.owner = hwnd;
  req.bar = handle;
  req.keyboard = screen.x == -1 && screen.y == -1;
  req.at = screen;
  track(req);
}

}  // namespace

std::optional<BarGeometry> bar_geometry(HWND hwnd, const Menu& menu) {
  RECT window{};
  if (!GetWindowRect(hwnd, &window)) return std::nullopt;
  BarGeometry g;
  g.window_origin = {window.left, window.top};
  bool known = false;
  if (auto s = bar_states().find(hwnd); s && s->bar.right > s->bar.left) {
    g.bar = s->bar;
    known = true;
  }
  if (!known) {  // never drawn: the bar sits right above the client area
    POINT client{0, 0};
    ClientToScreen(hwnd, &client);
    RECT cr{};
    GetClientRect(hwnd, &cr);
    int top = client.y - window.top - GetSystemMetrics(SM_CYMENU);
    g.bar = {client.x - window.left, top, client.x - window.left + cr.right,
             top + GetSystemMetrics(SM_CYMENU) - 1};
  }
  g.layout = layout_bar(menu, hwnd, g.bar);
  return g;
}

void set_bar_highlight(HWND hwnd, int index) {
  auto s = bar_states().find_or_attach(hwnd);
  if (s->highlight == index) return;
  s->highlight = index;
  DrawMenuBar(hwnd);
}

void install_menu_bar_hooks() {
  winsys::MenuBarHooks hooks;
  hooks.height = hook_height;
  hooks.draw = hook_draw;
  hooks.track = hook_track;
  hooks.is_menu = live_menu;
  hooks.allows_system_command = system_command_allowed;
  winsys::set_menu_bar_hooks(hooks);
}

}  // namespace platform::controls::menu

using namespace platform::controls::menu;

extern "C" {

BOOL SetMenu(HWND hwnd, HMENU menu) {
  if (!top_level(hwnd)) {
    if (IsWindow(hwnd)) SetLastError(ERROR_INVALID_HANDLE);  // a child window has no menu bar
    return FALSE;
  }
  if (menu && !IsMenu(menu)) return refuse(FALSE);
  SetWindowLongPtrA(hwnd, GWLP_ID, reinterpret_cast<LONG_PTR>(menu));
  bar_states().detach(hwnd);
  // The frame is measured again: the client area gives up (or takes back) the bar's height.
  SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  return TRUE;
}

HMENU GetMenu(HWND hwnd) {
  if (!top_level(hwnd)) return nullptr;
  HMENU menu = reinterpret_cast<HMENU>(GetWindowLongPtrA(hwnd, GWLP_ID));
  return IsMenu(menu) ? menu : nullptr;
}

BOOL DrawMenuBar(HWND hwnd) {
  HMENU menu = GetMenu(hwnd);
  if (!menu) return FALSE;
  auto m = snapshot(menu);
  auto g = m ? bar_geometry(hwnd, *m) : std::nullopt;
  if (!g) return FALSE;
  HDC dc = GetWindowDC(hwnd);
  if (!dc) return FALSE;
  paint_bar(dc, menu, *m, g->layout, g->bar, highlight_of(hwnd), hwnd);
  ReleaseDC(hwnd, dc);
  return TRUE;
}

}  // extern "C"
