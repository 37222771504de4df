// Non-client scroll bars: state per window, geometry, drawing and mouse tracking.
#include "platform/api/scrollbar.h"

#include <algorithm>
#include <mutex>

#include "platform/api.h"
#include "platform/controls/control_common.h"
#include "platform/controls/scrollbar_nc.h"
#include "platform/winsys/scroll_bar_hook.h"
#include "platform/winsys/system_classes.h"

namespace platform::controls::scrollbar {
namespace {

constexpr UINT_PTR kRepeatTimer = 0xFFF5;
constexpr UINT kFirstRepeatMs = 400;
constexpr UINT kRepeatMs = 50;
constexpr int kMinThumb = 8;

enum class Part { none, arrow_low, page_low, thumb, page_high, arrow_high };

struct Bar {
  int min = 0;
  int max = 0;
  UINT page = 0;
  int pos = 0;
  int track_pos = 0;
  bool disabled = false;
};

struct Tracking {
  int bar = -1;  // SB_HORZ or SB_VERT while tracking
  Part part = Part::none;
  int grab = 0;  // mouse offset inside the thumb
  bool inside = true;
  POINT last{};
};

struct WindowBars {
  Bar bars[2];
  bool flat = false;
  Tracking tracking;
};

// Bars belong to windows of any class, so the state is attached on first use rather than on a
// WM_NCCREATE of ours, and dropped on WM_NCDESTROY. Scroll calls may come from any thread, hence
// the lock around the values.
struct BarState {
  mutable std::mutex mutex;
  WindowBars value;
};
using StatePtr = StateTable<BarState>::Ptr;

StateTable<BarState>& states() {
  static StateTable<BarState> table;
  return table;
}

// The state of a live window, attached on first use; null once the window is gone, where nothing
// would ever detach it again.
StatePtr attached(HWND hwnd) {
  StatePtr state = states().find_or_attach(hwnd);
  if (IsWindow(hwnd)) return state;
  states().detach(hwnd);
  return nullptr;
}

// A copy of the values, or the defaults for a window that has none.
WindowBars snapshot(const StatePtr& state) {
  if (!state) return WindowBars{};
  std::lock_guard lock(state->mutex);
  return state->value;
}

template <typename F>
auto update(BarState& state, F&& change) {
  std::lock_guard lock(state.mutex);
  return change(state.value);
}

int max_pos(const Bar& b) {
  return std::max(b.min, b.max - std::max(static_cast<int>(b.page) - 1, 0));
}

bool valid_bar(int bar) {
  return bar == SB_HORZ || bar == SB_VERT;
}

DWORD style_bit(int bar) {
  return bar == SB_VERT ? WS_VSCROLL : WS_HSCROLL;
}

bool has_bar(HWND hwnd, int bar) {
  return (GetWindowLongA(hwnd, GWL_STYLE) & style_bit(bar)) != 0;
}

// The client rectangle in window coordinates.
RECT client_in_window(HWND hwnd) {
  RECT wr{};
  RECT cr{};
  GetWindowRect(hwnd, &wr);
  GetClientRect(hwnd, &cr);
  POINT origin{0, 0};
  ClientToScreen(hwnd, &origin);
  const LONG x = origin.x - wr.left;
  const LONG y = origin.y - wr.top;
  return RECT{x, y, x + cr.right, y + cr.bottom};
}

RECT bar_rect(HWND hwnd, int bar) {
  const RECT c = client_in_window(hwnd);
  const int w = bar_width();
  if (bar == SB_VERT) return RECT{c.right, c.top, c.right + w, c.bottom};
  return RECT{c.left, c.bottom, c.right, c.bottom + w};
}

struct Layout {
  RECT whole{};
  int length = 0;  // along the bar
  int arrow = 0;
  int thumb_start = 0;  // offsets along the bar from its start
  int thumb_length = 0;
  bool has_thumb = false;
};

Layout layout(HWND hwnd, int bar, const Bar& b) {
  Layout l;
  l.whole = bar_rect(hwnd, bar);
  const bool vert = bar == SB_VERT;
  l.length = vert ? l.whole.bottom - l.whole.top : l.whole.right - l.whole.left;
  l.arrow = std::min(bar_width(), l.length / 2);
  const int track = l.length - 2 * l.arrow;
  const int range = b.max - b.min + 1;
  if (b.disabled || track < kMinThumb || range <= 0 || (b.page > 0 && static_cast<int>(b.page) >= range) ||
      b.max <= b.min)
    return l;
  l.has_thumb = true;
  l.thumb_length =
      b.page == 0 ? std::min(bar_width(), track)
                  : std::max(kMinThumb, static_cast<int>(static_cast<long long>(track) * b.page / range));
  l.thumb_length = std::min(l.thumb_length, track);
  const int span = max_pos(b) - b.min;
  const int room = track - l.thumb_length;
  const int at = span > 0 ? static_cast<int>(static_cast<long long>(room) * (b.pos - b.min) / span) : 0;
  l.thumb_start = l.arrow + std::clamp(at, 0, room);
  return l;
}

Part part_at(const Layout& l, int bar, POINT window_pt) {
  if (window_pt.x < l.whole.left || window_pt.x >= l.whole.right || window_pt.y < l.whole.top ||
      window_pt.y >= l.whole.bottom)
    return Part::none;
  const int along = bar == SB_VERT ? window_pt.y - l.whole.top : window_pt.x - l.whole.left;
  if (along < l.arrow) return Part::arrow_low;
  if (along >= l.length - l.arrow) return Part::arrow_high;
  if (!l.has_thumb) return Part::none;
  if (along < l.thumb_start) return Part::page_low;
  if (along >= l.thumb_start + l.thumb_length) return Part::page_high;
  return Part::thumb;
}

RECT segment(const Layout& l, int bar, int from, int to) {
  if (bar == SB_VERT) return RECT{l.whole.left, l.whole.top + from, l.whole.right, l.whole.top + to};
  return RECT{l.whole.left + from, l.whole.top, l.whole.left + to, l.whole.bottom};
}

void fill(HDC dc, const RECT& r, int sys_color) {
  FillRect(dc, &r, GetSysColorBrush(sys_color));
}

void draw_button(HDC dc, RECT r, bool flat, bool pressed) {
  fill(dc, r, COLOR_BTNFACE);
  if (flat) {
    FrameRect(dc, &r, GetSysColorBrush(COLOR_BTNSHADOW));
  } else if (pressed) {
    DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT | BF_FLAT);
  } else {
    DrawEdge(dc, &r, EDGE_RAISED, BF_RECT);
  }
}

// A small filled triangle pointing in `dir` (0 up, 1 down, 2 left, 3 right), drawn as lines.
void draw_arrow_glyph(HDC dc, const RECT& r, int dir, bool enabled, bool pressed) {
  const int cx = (r.left + r.right) / 2 + (pressed ? 1 : 0);
  const int cy = (r.top + r.bottom) / 2 + (pressed ? 1 : 0);
  const int size = std::max(2, std::min(r.right - r.left, r.bottom - r.top) / 4);
  HBRUSH brush = GetSysColorBrush(enabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT);
  for (int i = 0; i < size; ++i) {
    RECT line{};
    switch (dir) {
      case 0:
        line = RECT{cx - i, cy - size / 2 + i, cx + i + 1, cy - size / 2 + i + 1};
        break;
      case 1:
        line = RECT{cx - i, cy + size / 2 - i, cx + i + 1, cy + size / 2 - i + 1};
        break;
      case 2:
        line = RECT{cx - size / 2 + i, cy - i, cx - size / 2 + i + 1, cy + i + 1};
        break;
      default:
        line = RECT{cx + size / 2 - i, cy - i, cx + size / 2 - i + 1, cy + i + 1};
        break;
    }
    FillRect(dc, &line, brush);
  }
}

void draw_bar(HDC dc, HWND hwnd, int bar, const WindowBars& state) {
  const Bar& b = state.bars[bar];
  const Layout l = layout(hwnd, bar, b);
  if (l.length <= 0) return;
  const Tracking& tr = state.tracking;
  const bool tracking_this = tr.bar == bar && tr.inside;
  const bool enabled = !b.disabled && b.max > b.min;
  const bool vert = bar == SB_VERT;

  const RECT low = segment(l, bar, 0, l.arrow);
  const RECT high = segment(l, bar, l.length - l.arrow, l.length);
  const bool low_pressed = tracking_this && tr.part == Part::arrow_low;
  const bool high_pressed = tracking_this && tr.part == Part::arrow_high;
  draw_button(dc, low, state.flat, low_pressed);
  draw_arrow_glyph(dc, low, vert ? 0 : 2, enabled, low_pressed);
  draw_button(dc, high, state.flat, high_pressed);
  draw_arrow_glyph(dc, high, vert ? 1 : 3, enabled, high_pressed);

  const RECT track = segment(l, bar, l.arrow, l.length - l.arrow);
  fill(dc, track, COLOR_SCROLLBAR);
  if (!l.has_thumb) return;
  if (tracking_this && tr.part == Part::page_low)
    fill(dc, segment(l, bar, l.arrow, l.thumb_start), COLOR_3DDKSHADOW);
  if (tracking_this && tr.part == Part::page_high)
    fill(dc, segment(l, bar, l.thumb_start + l.thumb_length, l.length - l.arrow), COLOR_3DDKSHADOW);
  draw_button(dc, segment(l, bar, l.thumb_start, l.thumb_start + l.thumb_length), state.flat, false);
}

void draw_all(HWND hwnd, const StatePtr& held) {
  const DWORD style = GetWindowLongA(hwnd, GWL_STYLE);
  if (!(style & (WS_VSCROLL | WS_HSCROLL))) return;
  if (!IsWindowVisible(hwnd)) return;
  const WindowBars state = snapshot(held);
  HDC dc = GetWindowDC(hwnd);
  if (!dc) return;
  if (style & WS_VSCROLL) draw_bar(dc, hwnd, SB_VERT, state);
  if (style & WS_HSCROLL) draw_bar(dc, hwnd, SB_HORZ, state);
  if ((style & WS_VSCROLL) && (style & WS_HSCROLL)) {
    const RECT c = client_in_window(hwnd);
    const RECT corner{c.right, c.bottom, c.right + bar_width(), c.bottom + bar_width()};
    fill(dc, corner, COLOR_BTNFACE);
  }
  ReleaseDC(hwnd, dc);
}

void send_scroll(HWND hwnd, int bar, int code, int pos) {
  SendMessageA(hwnd, bar == SB_VERT ? WM_VSCROLL : WM_HSCROLL,
               MAKEWPARAM(static_cast<WORD>(code), static_cast<WORD>(pos)), 0);
}

int code_for(Part part) {
  switch (part) {
    case Part::arrow_low:
      return SB_LINEUP;
    case Part::arrow_high:
      return SB_LINEDOWN;
    case Part::page_low:
      return SB_PAGEUP;
    case Part::page_high:
      return SB_PAGEDOWN;
    default:
      return -1;
  }
}

POINT client_to_window(HWND hwnd, LPARAM lp) {
  const RECT c = client_in_window(hwnd);
  return POINT{GET_X_LPARAM(lp) + c.left, GET_Y_LPARAM(lp) + c.top};
}

POINT screen_to_window(HWND hwnd, LPARAM lp) {
  RECT wr{};
  GetWindowRect(hwnd, &wr);
  return POINT{GET_X_LPARAM(lp) - wr.left, GET_Y_LPARAM(lp) - wr.top};
}

// The position that puts the thumb's start at `along` (offset from the bar start).
int pos_for_thumb(const Layout& l, const Bar& b, int along) {
  const int track = l.length - 2 * l.arrow;
  const int room = track - l.thumb_length;
  const int span = max_pos(b) - b.min;
  if (room <= 0 || span <= 0) return b.min;
  const int offset = std::clamp(along - l.arrow, 0, room);
  return b.min + static_cast<int>((static_cast<long long>(offset) * span + room / 2) / room);
}

void start_tracking(HWND hwnd, const StatePtr& held, int bar, POINT window_pt) {
  const WindowBars state = snapshot(held);
  const Bar& b = state.bars[bar];
  const Layout l = layout(hwnd, bar, b);
  const Part part = part_at(l, bar, window_pt);
  if (part == Part::none || b.disabled) return;
  const int along = bar == SB_VERT ? window_pt.y - l.whole.top : window_pt.x - l.whole.left;
  update(*held, [&](WindowBars& w) {
    w.tracking = Tracking{bar, part, along - l.thumb_start, true, window_pt};
    w.bars[bar].track_pos = w.bars[bar].pos;
    return 0;
  });
  SetCapture(hwnd);
  const int code = code_for(part);
  if (code >= 0) {
    send_scroll(hwnd, bar, code, 0);
    SetTimer(hwnd, kRepeatTimer, kFirstRepeatMs, nullptr);
  }
  draw_all(hwnd, held);
}

void track_move(HWND hwnd, const StatePtr& held, POINT window_pt) {
  const WindowBars state = snapshot(held);
  const Tracking& tr = state.tracking;
  const Bar& b = state.bars[tr.bar];
  const Layout l = layout(hwnd, tr.bar, b);
  if (tr.part == Part::thumb) {
    const int along = tr.bar == SB_VERT ? window_pt.y - l.whole.top : window_pt.x - l.whole.left;
    const int pos = pos_for_thumb(l, b, along - tr.grab);
    if (pos != b.track_pos) {
      update(*held, [&](WindowBars& w) { return w.bars[tr.bar].track_pos = pos; });
      send_scroll(hwnd, tr.bar, SB_THUMBTRACK, pos);
    }
    return;
  }
  const bool inside = part_at(l, tr.bar, window_pt) == tr.part;
  update(*held, [&](WindowBars& w) {
    w.tracking.last = window_pt;
    return w.tracking.inside = inside;
  });
  if (inside != tr.inside) draw_all(hwnd, held);
}

void repeat(HWND hwnd, const StatePtr& held) {
  const WindowBars state = snapshot(held);
  const Tracking& tr = state.tracking;
  SetTimer(hwnd, kRepeatTimer, kRepeatMs, nullptr);
  if (!tr.inside) return;
  // Page clicks stop once the thumb has reached the mouse.
  const Layout l = layout(hwnd, tr.bar, state.bars[tr.bar]);
  if (part_at(l, tr.bar, tr.last) != tr.part) return;
  const int code = code_for(tr.part);
  if (code >= 0) send_scroll(hwnd, tr.bar, code, 0);
}

void end_tracking(HWND hwnd, const StatePtr& held, bool released_by_us) {
  const WindowBars state = snapshot(held);
  const Tracking tr = state.tracking;
  if (tr.bar < 0) return;
  update(*held, [](WindowBars& w) {
    w.tracking = Tracking{};
    return 0;
  });
  KillTimer(hwnd, kRepeatTimer);
  if (released_by_us && GetCapture() == hwnd) ReleaseCapture();
  if (tr.part == Part::thumb) send_scroll(hwnd, tr.bar, SB_THUMBPOSITION, state.bars[tr.bar].track_pos);
  send_scroll(hwnd, tr.bar, SB_ENDSCROLL, 0);
  draw_all(hwnd, held);
}

bool is_tracking(const StatePtr& held) {
  return snapshot(held).tracking.bar >= 0;
}

void show(HWND hwnd, int bar, bool on) {
  const LONG style = GetWindowLongA(hwnd, GWL_STYLE);
  const LONG wanted =
      on ? (style | static_cast<LONG>(style_bit(bar))) : (style & ~static_cast<LONG>(style_bit(bar)));
  if (wanted == style) return;
  SetWindowLongA(hwnd, GWL_STYLE, wanted);
  SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

}  // namespace

int bar_width() {
  const int w = GetSystemMetrics(SM_CXVSCROLL);
  return w > 0 ? w : 17;
}

void set_flat(HWND hwnd, bool flat) {
  const StatePtr state = attached(hwnd);
  if (!state) return;
  update(*state, [&](WindowBars& w) { return w.flat = flat; });
  draw_all(hwnd, state);
}

bool handle_message(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  if (msg == WM_NCDESTROY) {
    states().detach(hwnd);
    return false;
  }
  // Held for the whole message: the window's scroll handler may destroy it mid-way.
  const StatePtr state = states().find(hwnd);
  switch (msg) {
    case WM_NCPAINT:
      result = DefWindowProcA(hwnd, msg, wp, lp);
      draw_all(hwnd, state);
      return true;
    case WM_NCHITTEST: {
      const LONG style = GetWindowLongA(hwnd, GWL_STYLE);
      const POINT p = screen_to_window(hwnd, lp);
      for (int bar : {SB_VERT, SB_HORZ}) {
        if (!(style & style_bit(bar))) continue;
        const RECT r = bar_rect(hwnd, bar);
        if (p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom) {
          result = bar == SB_VERT ? HTVSCROLL : HTHSCROLL;
          return true;
        }
      }
      return false;
    }
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
      if (wp != HTVSCROLL && wp != HTHSCROLL) return false;
      if (const StatePtr tracked = state ? state : attached(hwnd))
        start_tracking(hwnd, tracked, wp == HTVSCROLL ? SB_VERT : SB_HORZ, screen_to_window(hwnd, lp));
      result = 0;
      return true;
    case WM_MOUSEMOVE:
      if (!is_tracking(state)) return false;
      track_move(hwnd, state, client_to_window(hwnd, lp));
      result = 0;
      return true;
    case WM_LBUTTONUP:
      if (!is_tracking(state)) return false;
      end_tracking(hwnd, state, true);
      result = 0;
      return true;
    case WM_TIMER:
      if (wp != kRepeatTimer) return false;
      if (is_tracking(state))
        repeat(hwnd, state);
      else
        KillTimer(hwnd, kRepeatTimer);
      result = 0;
      return true;
    case WM_CAPTURECHANGED:
      if (!is_tracking(state) || reinterpret_cast<HWND>(lp) == hwnd) return false;
      end_tracking(hwnd, state, false);
      return false;
    default:
      return false;
  }
}

// Any window with WS_VSCROLL/WS_HSCROLL gets working bars through the default window procedure.
namespace {
void install_hook() {
  winsys::set_scroll_bar_hooks({&handle_message});
}
[[maybe_unused]] const bool kHookInstalled = winsys::add_system_classes(&install_hook);
}  // namespace

}  // namespace platform::controls::scrollbar

using platform::controls::scrollbar::Bar;

extern "C" int SetScrollInfo(HWND hwnd, int nBar, LPCSCROLLINFO lpsi, BOOL redraw) {
  using namespace platform::controls::scrollbar;
  if (!lpsi || !platform::controls::live_window(hwnd) || !valid_bar(nBar)) return 0;
  const StatePtr state = attached(hwnd);
  if (!state) return 0;
  const auto [pos, needed] = update(*state, [&](WindowBars& w) {
    Bar& b = w.bars[nBar];
    if (lpsi->fMask & SIF_RANGE) {
      b.min = lpsi->nMin;
      b.max = std::max(lpsi->nMin, lpsi->nMax);
    }
    if (lpsi->fMask & SIF_PAGE) b.page = std::min<UINT>(lpsi->nPage, static_cast<UINT>(b.max - b.min + 1));
    if (lpsi->fMask & SIF_POS) b.pos = lpsi->nPos;
    b.pos = std::clamp(b.pos, b.min, max_pos(b));
    if (w.tracking.bar != nBar) b.track_pos = b.pos;
    const bool fits =
        b.page > 0 ? static_cast<long long>(b.page) > static_cast<long long>(b.max) - b.min : b.max <= b.min;
    return std::pair<int, bool>{b.pos, !fits};
  });
  if (lpsi->fMask & SIF_DISABLENOSCROLL) {
    update(*state, [&, needed = needed](WindowBars& w) { return w.bars[nBar].disabled = !needed; });
    if (!has_bar(hwnd, nBar)) show(hwnd, nBar, true);
  } else if (lpsi->fMask & (SIF_RANGE | SIF_PAGE)) {
    update(*state, [&](WindowBars& w) { return w.bars[nBar].disabled = false; });
    show(hwnd, nBar, needed);
  }
  if (redraw) draw_all(hwnd, state);
  return pos;
}

extern "C" BOOL GetScrollInfo(HWND hwnd, int nBar, LPSCROLLINFO lpsi) {
  using namespace platform::controls::scrollbar;
  if (!lpsi || !platform::controls::live_window(hwnd) || !valid_bar(nBar)) return FALSE;
  const WindowBars w = snapshot(states().find(hwnd));
  const Bar& b = w.bars[nBar];
  if (lpsi->fMask & SIF_RANGE) {
    lpsi->nMin = b.min;
    lpsi->nMax = b.max;
  }
  if (lpsi->fMask & SIF_PAGE) lpsi->nPage = b.page;
  if (lpsi->fMask & SIF_POS) lpsi->nPos = b.pos;
  // The last tracked position stays readable while SB_THUMBPOSITION is handled.
  if (lpsi->fMask & SIF_TRACKPOS) lpsi->nTrackPos = b.track_pos;
  return TRUE;
}

extern "C" int SetScrollPos(HWND hwnd, int nBar, int nPos, BOOL redraw) {
  using namespace platform::controls::scrollbar;
  if (!platform::controls::live_window(hwnd) || !valid_bar(nBar)) return 0;
  const int previous = snapshot(states().find(hwnd)).bars[nBar].pos;
  SCROLLINFO si{sizeof(SCROLLINFO), SIF_POS, 0, 0, 0, nPos, 0};
  SetScrollInfo(hwnd, nBar, &si, redraw);
  return previous;
}

extern "C" int GetScrollPos(HWND hwnd, int nBar) {
  using namespace platform::controls::scrollbar;
  if (!platform::controls::live_window(hwnd) || !valid_bar(nBar)) return 0;
  return snapshot(states().find(hwnd)).bars[nBar].pos;
}

extern "C" BOOL SetScrollRange(HWND hwnd, int nBar, int nMinPos, int nMaxPos, BOOL redraw) {
  using namespace platform::controls::scrollbar;
  if (!platform::controls::live_window(hwnd) || !valid_bar(nBar)) return FALSE;
  SCROLLINFO si{sizeof(SCROLLINFO), SIF_RANGE, nMinPos, nMaxPos, 0, 0, 0};
  SetScrollInfo(hwnd, nBar, &si, redraw);
  return TRUE;
}

extern "C" BOOL GetScrollRange(HWND hwnd, int nBar, int* lpMinPos, int* lpMaxPos) {
  using namespace platform::controls::scrollbar;
  if (!lpMinPos || !lpMaxPos || !platform::controls::live_window(hwnd) || !valid_bar(nBar)) return FALSE;
  const WindowBars w = snapshot(states().find(hwnd));
  *lpMinPos = w.bars[nBar].min;
  *lpMaxPos = w.bars[nBar].max;
  return TRUE;
}

extern "C" BOOL ShowScrollBar(HWND hwnd, int wBar, BOOL bShow) {
  using namespace platform::controls::scrollbar;
  if (!platform::controls::live_window(hwnd) || !(valid_bar(wBar) || wBar == SB_BOTH)) return FALSE;
  if (wBar == SB_BOTH || wBar == SB_VERT) show(hwnd, SB_VERT, bShow != FALSE);
  if (wBar == SB_BOTH || wBar == SB_HORZ) show(hwnd, SB_HORZ, bShow != FALSE);
  return TRUE;
}

extern "C" BOOL EnableScrollBar(HWND hwnd, UINT wSBflags, UINT wArrows) {
  using namespace platform::controls::scrollbar;
  const int bar = static_cast<int>(wSBflags);
  if (!platform::controls::live_window(hwnd) || !(valid_bar(bar) || bar == SB_BOTH)) return FALSE;
  const StatePtr state = attached(hwnd);
  if (!state) return FALSE;
  update(*state, [&](WindowBars& w) {
    for (int b : {SB_HORZ, SB_VERT})
      if (bar == SB_BOTH || bar == b) w.bars[b].disabled = wArrows == ESB_DISABLE_BOTH;
    return 0;
  });
  draw_all(hwnd, state);
  return TRUE;
}
