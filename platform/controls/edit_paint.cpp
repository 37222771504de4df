// Painting of an edit control: background from the parent's colour answer, the visible lines,
// the selection highlight and the caret (a blinking bar the control draws itself).
#include <algorithm>

#include "platform/controls/control_common.h"
#include "platform/controls/edit_state.h"

namespace platform::controls::edit {
namespace {

constexpr UINT kBlinkMs = 530;

int extent_before(const std::vector<int>& ext, std::size_t k) {
  return k == 0 || ext.empty() ? 0 : ext[std::min(k, ext.size()) - 1];
}

RECT caret_line_rect(State& st) {
  RECT r = client_rect(st.hwnd);
  const POINT p = pos_to_point(st, st.caret);
  r.top = p.y;
  r.bottom = p.y + st.line_height;
  return r;
}

void draw_line(State& st, HDC dc, int line, bool show_selection, COLORREF highlight_text, HBRUSH highlight) {
  const Line& l = st.lines[static_cast<std::size_t>(line)];
  const int x = line_left(st, line), y = line_top(st, line);
  const std::string shown = display_text(st, l.start, l.end);
  if (!shown.empty()) TextOutA(dc, x, y, shown.data(), static_cast<int>(shown.size()));
  if (!show_selection) return;
  const std::size_t a = std::max(sel_start(st), l.start), b = std::min(sel_end(st), l.end);
  const bool spans_break = sel_end(st) > l.end && sel_start(st) <= l.end && l.next > l.end;
  if (a >= b && !spans_break) return;
  const std::vector<int> ext = line_extents(st, line);
  RECT hr{x + extent_before(ext, a >= b ? l.end - l.start : a - l.start), y,
          x + extent_before(ext, (a >= b ? l.end : b) - l.start), y + st.line_height};
  if (spans_break) hr.right += std::max(2, st.char_width / 2);  // the line break is selected too
  FillRect(dc, &hr, highlight);
  ScopedDcState keep(dc);
  IntersectClipRect(dc, hr.left, hr.top, hr.right, hr.bottom);
  SetTextColor(dc, highlight_text);
  SetBkMode(dc, TRANSPARENT);
  if (!shown.empty()) TextOutA(dc, x, y, shown.data(), static_cast<int>(shown.size()));
}

}  // namespace

HBRUSH background(State& st, HDC dc) {
  const bool enabled = IsWindowEnabled(st.hwnd) != FALSE;
  const bool grey = read_only(st) || !enabled;
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  SetBkColor(dc, GetSysColor(grey ? COLOR_BTNFACE : COLOR_WINDOW));
  HBRUSH brush = nullptr;
  if (HWND parent = GetParent(st.hwnd)) {
    brush = reinterpret_cast<HBRUSH>(SendMessageA(parent, grey ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT,
                                                  reinterpret_cast<WPARAM>(dc),
                                                  reinterpret_cast<LPARAM>(st.hwnd)));
  }
  if (!brush) brush = GetSysColorBrush(grey ? COLOR_BTNFACE : COLOR_WINDOW);
  if (!enabled) SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
  return brush;
}

void paint(State& st, HDC dc) {
  ScopedDcState keep(dc);
  const RECT client = client_rect(st.hwnd);
  HBRUSH brush = background(st, dc);
  if (!IsWindow(st.hwnd)) return;
  FillRect(dc, &client, brush);
  SelectObject(dc, font_or_default(st.font));
  // Text cells take the background colour the parent chose (SetBkColor), as well as its brush.
  SetBkMode(dc, OPAQUE);
  ensure_layout(st);
  const RECT fr = format_rect(st);
  IntersectClipRect(dc, fr.left, fr.top, fr.right, fr.bottom);
  const bool show_selection = sel_start(st) != sel_end(st) && (st.focused || (style_of(st) & ES_NOHIDESEL));
  const COLORREF highlight_text = GetSysColor(COLOR_HIGHLIGHTTEXT);
  HBRUSH highlight = GetSysColorBrush(COLOR_HIGHLIGHT);
  for (int i = std::max(0, st.first_line); i < static_cast<int>(st.lines.size()); ++i) {
    if (line_top(st, i) >= fr.bottom) break;
    draw_line(st, dc, i, show_selection, highlight_text, highlight);
  }
  if (st.focused && st.caret_on) {
    const POINT p = pos_to_point(st, st.caret);
    const RECT bar{p.x, p.y, p.x + 1, p.y + st.line_height};
    OwnedGdiObject ink(CreateSolidBrush(GetSysColor(COLOR_WINDOWTEXT)));
    FillRect(dc, &bar, static_cast<HBRUSH>(ink.get()));
  }
}

void paint_nonclient(State& st, HRGN) {
  // A subclass may have made the non-client area larger than the frame (to centre a single
  // line): the band between the frame and the client area gets the control's background.
  RECT whole{};
  if (!GetWindowRect(st.hwnd, &whole)) return;
  RECT standard = whole;
  DefWindowProcA(st.hwnd, WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&standard));
  RECT client = client_rect(st.hwnd);
  POINT origin{0, 0};
  ClientToScreen(st.hwnd, &origin);
  OffsetRect(&client, origin.x, origin.y);
  if (EqualRect(&standard, &client) || IsRectEmpty(&standard)) return;
  HDC dc = GetWindowDC(st.hwnd);
  if (!dc) return;
  {
    ScopedDcState keep(dc);
    OffsetRect(&standard, -whole.left, -whole.top);
    OffsetRect(&client, -whole.left, -whole.top);
    ExcludeClipRect(dc, client.left, client.top, client.right, client.bottom);
    HBRUSH brush = background(st, dc);
    FillRect(dc, &standard, brush);
  }
  ReleaseDC(st.hwnd, dc);
}

void redraw(State& st) {
  InvalidateRect(st.hwnd, nullptr, FALSE);
}

void restart_caret(State& st) {
  if (!st.focused) return;
  st.caret_on = true;
  SetTimer(st.hwnd, kCaretTimer, kBlinkMs, nullptr);
  const RECT r = caret_line_rect(st);
  InvalidateRect(st.hwnd, &r, FALSE);
}

void stop_caret(State& st) {
  KillTimer(st.hwnd, kCaretTimer);
  if (st.caret_on) {
    st.caret_on = false;
    const RECT r = caret_line_rect(st);
    InvalidateRect(st.hwnd, &r, FALSE);
  }
}

void blink(State& st) {
  if (!st.focused) {
    KillTimer(st.hwnd, kCaretTimer);
    return;
  }
  st.caret_on = !st.caret_on;
  const RECT r = caret_line_rect(st);
  InvalidateRect(st.hwnd, &r, FALSE);
}

}  // namespace platform::controls::edit
