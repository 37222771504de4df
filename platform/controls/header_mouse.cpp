// Header mouse handling: divider tracking, button clicks and drag-and-drop reordering.
#include <algorithm>
#include <cstdlib>

#include "platform/controls/header_control.h"

namespace platform::controls::header {

namespace {

int x_of(LPARAM lp) {
  return GET_X_LPARAM(lp);
}

DWORD style(const State& st) {
  return static_cast<DWORD>(GetWindowLongA(st.hwnd, GWL_STYLE));
}

bool valid(const State& st, int index) {
  return index >= 0 && static_cast<std::size_t>(index) < st.items.size();
}

void finish(State& st) {
  st.mode = Mode::none;
  st.item = -1;
  if (GetCapture() == st.hwnd) ReleaseCapture();
  InvalidateRect(st.hwnd, nullptr, TRUE);
}

// The display position a title dropped with its left edge at `left` goes to.
int drop_position(const State& st, int left) {
  const int center = left + st.items[static_cast<std::size_t>(st.item)].width / 2;
  int x = 0;
  int position = 0;
  for (int k : st.order) {
    if (k == st.item) continue;
    const int w = st.items[static_cast<std::size_t>(k)].width;
    if (center < x + w / 2) break;
    x += w;
    ++position;
  }
  return position;
}

}  // namespace

void on_button_down(State& st, LPARAM lp, bool double_click) {
  const int x = x_of(lp);
  bool divider = false;
  const int index = hit(st, x, divider);
  if (index < 0) return;
  if (divider) {
    HDITEMA hi{};
    hi.mask = HDI_WIDTH;
    hi.cxy = st.items[static_cast<std::size_t>(index)].width;
    if (double_click) {
      notify(st, HDN_DIVIDERDBLCLICKA, index, &hi);
      return;
    }
    if (notify(st, HDN_BEGINTRACKA, index, &hi)) return;
    if (!valid(st, index)) return;
    st.mode = Mode::track;
    st.item = index;
    st.start_x = x;
    st.start_width = st.items[static_cast<std::size_t>(index)].width;
    SetCapture(st.hwnd);
    return;
  }
  if (double_click) notify(st, HDN_ITEMDBLCLICKA, index);
  if (!IsWindow(st.hwnd) || !valid(st, index)) return;
  if (!(style(st) & (HDS_BUTTONS | HDS_DRAGDROP))) return;
  st.mode = Mode::press;
  st.item = index;
  st.inside = true;
  st.start_x = x;
  st.drag_x = x;
  SetCapture(st.hwnd);
  InvalidateRect(st.hwnd, nullptr, TRUE);
}

void on_mouse_move(State& st, LPARAM lp) {
  const int x = x_of(lp);
  switch (st.mode) {
    case Mode::track: {
      if (!valid(st, st.item)) return finish(st);
      HDITEMA hi{};
      hi.mask = HDI_WIDTH;
      hi.cxy = std::max(0, st.start_width + (x - st.start_x));
      if (notify(st, HDN_TRACKA, st.item, &hi)) return;
      if (valid(st, st.item)) set_width(st, st.item, hi.cxy);
      return;
    }
    case Mode::press: {
      if (!valid(st, st.item)) return finish(st);
      if ((style(st) & HDS_DRAGDROP) && std::abs(x - st.start_x) > GetSystemMetrics(SM_CXDRAG)) {
        if (notify(st, HDN_BEGINDRAG, st.item) == 0 && valid(st, st.item)) {
          st.mode = Mode::drag;
          st.drag_x = x;
          InvalidateRect(st.hwnd, nullptr, TRUE);
        }
        return;
      }
      const RECT r = item_rect(st, st.item);
      const bool inside =
          x >= r.left && x < r.right && GET_Y_LPARAM(lp) >= r.top && GET_Y_LPARAM(lp) < r.bottom;
      if (inside != st.inside) {
        st.inside = inside;
        InvalidateRect(st.hwnd, nullptr, TRUE);
      }
      return;
    }
    case Mode::drag:
      st.drag_x = x;
      InvalidateRect(st.hwnd, nullptr, TRUE);
      return;
    case Mode::none:
      return;
  }
}

void on_button_up(State& st, LPARAM lp) {
  const int index = st.item;
  const Mode mode = st.mode;
  if (mode == Mode::none) return;
  const int x = x_of(lp);
  if (mode == Mode::track) {
    finish(st);
    if (!valid(st, index)) return;
    HDITEMA hi{};
    hi.mask = HDI_WIDTH;
    hi.cxy = st.items[static_cast<std::size_t>(index)].width;
    notify(st, HDN_ENDTRACKA, index, &hi);
    return;
  }
  if (mode == Mode::press) {
    const bool click = st.inside && (style(st) & HDS_BUTTONS);
    finish(st);
    if (click && valid(st, index)) notify(st, HDN_ITEMCLICKA, index);
    return;
  }
  // Drag: the owner may refuse the new place (non-zero answer to HDN_ENDDRAG).
  const int left = item_left(st, index) + (x - st.start_x);
  const int position = drop_position(st, left);
  finish(st);
  if (!valid(st, index)) return;
  HDITEMA hi{};
  hi.mask = HDI_ORDER;
  hi.iOrder = position;
  if (notify(st, HDN_ENDDRAG, index, &hi) || !valid(st, index)) return;
  auto it = std::find(st.order.begin(), st.order.end(), index);
  if (it == st.order.end()) return;
  st.order.erase(it);
  st.order.insert(st.order.begin() + std::clamp(position, 0, static_cast<int>(st.order.size())), index);
  InvalidateRect(st.hwnd, nullptr, TRUE);
  notify(st, HDN_ITEMCHANGEDA, index, &hi);
}

void on_capture_lost(State& st) {
  if (st.mode == Mode::none) return;
  const int index = st.item;
  const Mode mode = st.mode;
  st.mode = Mode::none;
  st.item = -1;
  InvalidateRect(st.hwnd, nullptr, TRUE);
  if (mode == Mode::track && valid(st, index)) {
    HDITEMA hi{};
    hi.mask = HDI_WIDTH;
    hi.cxy = st.items[static_cast<std::size_t>(index)].width;
    notify(st, HDN_ENDTRACKA, index, &hi);
  }
}

}  // namespace platform::controls::header
