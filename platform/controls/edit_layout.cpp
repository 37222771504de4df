// Geometry of an edit control: the formatting rectangle, line layout, positions and points,
// scrolling and the window scroll bars.
#include <algorithm>

#include "platform/api/scrollbar.h"
#include "platform/controls/control_common.h"
#include "platform/controls/edit_state.h"

namespace platform::controls::edit {
namespace {

// A screen DC with the control's font selected, for measuring.
class MeasureDc {
 public:
  explicit MeasureDc(const State& st)
      : hwnd_(st.hwnd), dc_(GetDC(st.hwnd)), select_(dc_, font_or_default(st.font)) {}
  ~MeasureDc() {
    if (dc_) ReleaseDC(hwnd_, dc_);
  }
  MeasureDc(const MeasureDc&) = delete;
  MeasureDc& operator=(const MeasureDc&) = delete;
  HDC get() const { return dc_; }

 private:
  HWND hwnd_;
  HDC dc_;
  ScopedSelect select_;
};

bool wraps(const State& st) {
  return multi_line(st) && !(style_of(st) & (ES_AUTOHSCROLL | WS_HSCROLL));
}

bool shows_password(const State& st) {
  return st.password != 0 && !multi_line(st);
}

void measure_into(HDC dc, std::string_view piece, std::vector<int>& extents) {
  extents.assign(piece.size(), 0);
  if (piece.empty() || !dc) return;
  GetTextExtentExPointA(dc, piece.data(), static_cast<int>(piece.size()), 0, nullptr, extents.data(),
                        nullptr);
}

int clamp_first_line(State& st, int first) {
  const int last = std::max(0, static_cast<int>(st.lines.size()) - visible_line_count(st));
  return std::clamp(first, 0, last);
}

}  // namespace

DWORD style_of(const State& st) {
  return window_style(st.hwnd);
}

bool multi_line(const State& st) {
  return (style_of(st) & ES_MULTILINE) != 0;
}

bool read_only(const State& st) {
  return (style_of(st) & ES_READONLY) != 0;
}

std::size_t sel_start(const State& st) {
  return std::min(st.anchor, st.caret);
}

std::size_t sel_end(const State& st) {
  return std::max(st.anchor, st.caret);
}

void refresh_font_metrics(State& st) {
  MeasureDc dc(st);
  TEXTMETRICA tm{};
  if (dc.get() && GetTextMetricsA(dc.get(), &tm)) {
    st.line_height = std::max<int>(1, tm.tmHeight);
    st.char_width = std::max<int>(1, tm.tmAveCharWidth);
  }
  invalidate_layout(st);
}

RECT format_rect(const State& st) {
  if (st.has_user_rect) return st.user_rect;
  RECT r = client_rect(st.hwnd);
  r.left += st.left_margin;
  r.right = std::max(r.left, r.right - st.right_margin);
  return r;
}

void invalidate_layout(State& st) {
  st.layout_dirty = true;
}

void ensure_layout(State& st) {
  if (!st.layout_dirty && !st.lines.empty()) return;
  st.layout_dirty = false;
  const RECT fr = format_rect(st);
  const int width = wraps(st) ? std::max(1, static_cast<int>(fr.right - fr.left)) : 0;
  MeasureDc dc(st);
  st.lines = layout_lines(st.text, multi_line(st), width, [&](std::string_view piece, std::vector<int>& ext) {
    measure_into(dc.get(), piece, ext);
  });
  st.first_line = clamp_first_line(st, st.first_line);
}

int line_of(State& st, std::size_t pos) {
  ensure_layout(st);
  auto it = std::upper_bound(st.lines.begin(), st.lines.end(), pos,
                             [](std::size_t p, const Line& l) { return p < l.start; });
  if (it == st.lines.begin()) return 0;
  return static_cast<int>(it - st.lines.begin()) - 1;
}

std::string display_text(const State& st, std::size_t from, std::size_t to) {
  to = std::min(to, st.text.size());
  if (from >= to) return {};
  std::string_view piece = std::string_view(st.text).substr(from, to - from);
  if (!shows_password(st)) return std::string(piece);
  std::string out;
  for (std::size_t p = 0; p < piece.size(); p = next_char(piece, p)) out.push_back(st.password);
  return out;
}

std::vector<int> line_extents(State& st, int line) {
  ensure_layout(st);
  std::vector<int> ext;
  if (line < 0 || line >= static_cast<int>(st.lines.size())) return ext;
  const Line& l = st.lines[static_cast<std::size_t>(line)];
  std::string_view piece = std::string_view(st.text).substr(l.start, l.end - l.start);
  MeasureDc dc(st);
  if (!shows_password(st)) {
    measure_into(dc.get(), piece, ext);
    return ext;
  }
  std::vector<int> one;
  const char mask[1] = {st.password};
  measure_into(dc.get(), std::string_view(mask, 1), one);
  const int w = one.empty() ? st.char_width : one[0];
  ext.assign(piece.size(), 0);
  int count = 0;
  for (std::size_t p = 0; p < piece.size();) {
    const std::size_t q = next_char(piece, p);
    ++count;
    for (std::size_t b = p; b < q; ++b) ext[b] = count * w;
    p = q;
  }
  return ext;
}

int line_width(State& st, int line) {
  std::vector<int> ext = line_extents(st, line);
  return ext.empty() ? 0 : ext.back();
}

int line_left(State& st, int line) {
  const RECT fr = format_rect(st);
  const int room = fr.right - fr.left;
  int shift = 0;
  const DWORD align = style_of(st) & (ES_CENTER | ES_RIGHT);
  if (align) {
    const int w = line_width(st, line);
    if (w < room) shift = align == ES_CENTER ? (room - w) / 2 : room - w;
  }
  return fr.left - st.x_offset + shift;
}

int line_top(State& st, int line) {
  ensure_layout(st);
  return format_rect(st).top + (line - st.first_line) * st.line_height;
}

POINT pos_to_point(State& st, std::size_t pos) {
  pos = char_start(st.text, pos);
  const int line = line_of(st, pos);
  const Line& l = st.lines[static_cast<std::size_t>(line)];
  int x = 0;
  if (pos > l.start) {
    std::vector<int> ext = line_extents(st, line);
    const std::size_t k = std::min(pos, l.end) - l.start;
    if (k > 0 && k <= ext.size()) x = ext[k - 1];
  }
  return POINT{line_left(st, line) + x, line_top(st, line)};
}

std::size_t point_to_pos(State& st, POINT p) {
  ensure_layout(st);
  const RECT fr = format_rect(st);
  const int dy = p.y - fr.top, lh = std::max(1, st.line_height);
  const int row = dy >= 0 ? dy / lh : -((lh - 1 - dy) / lh);
  const int line = std::clamp(st.first_line + row, 0, static_cast<int>(st.lines.size()) - 1);
  const Line& l = st.lines[static_cast<std::size_t>(line)];
  std::vector<int> ext = line_extents(st, line);
  const int rel = p.x - line_left(st, line);
  int left = 0;
  for (std::size_t at = l.start; at < l.end;) {
    const std::size_t next = std::min(next_char(st.text, at), l.end);
    const int right = ext[next - l.start - 1];
    if (rel < (left + right) / 2) return at;
    left = right;
    at = next;
  }
  // Past the end of a soft-broken line: stay on this line, before its hanging blanks' end.
  if (l.end == l.next && l.end < st.text.size() && l.end > l.start) return prev_char(st.text, l.end);
  return l.end;
}

int visible_line_count(State& st) {
  const RECT fr = format_rect(st);
  return std::max(1, static_cast<int>(fr.bottom - fr.top) / std::max(1, st.line_height));
}

bool scroll_lines(State& st, int delta) {
  ensure_layout(st);
  const int first = clamp_first_line(st, st.first_line + delta);
  if (first == st.first_line) return false;
  st.first_line = first;
  update_scroll_bars(st);
  redraw(st);
  return true;
}

bool scroll_pixels(State& st, int dx) {
  if (!multi_line(st) && !(style_of(st) & ES_AUTOHSCROLL)) return false;
  if (multi_line(st) && !(style_of(st) & (ES_AUTOHSCROLL | WS_HSCROLL))) return false;
  int widest = 0;
  ensure_layout(st);
  for (int i = 0; i < static_cast<int>(st.lines.size()); ++i) widest = std::max(widest, line_width(st, i));
  const RECT fr = format_rect(st);
  const int most = std::max(0, widest - static_cast<int>(fr.right - fr.left) + 1);
  const int x = std::clamp(st.x_offset + dx, 0, most);
  if (x == st.x_offset) return false;
  st.x_offset = x;
  update_scroll_bars(st);
  redraw(st);
  return true;
}

void scroll_caret_into_view(State& st) {
  ensure_layout(st);
  const int line = line_of(st, st.caret);
  const int visible = visible_line_count(st);
  bool moved = false;
  if (multi_line(st)) {
    int first = st.first_line;
    if (line < first) first = line;
    if (line >= first + visible) first = line - visible + 1;
    first = clamp_first_line(st, first);
    if (first != st.first_line) {
      st.first_line = first;
      moved = true;
    }
  }
  if (!wraps(st)) {
    const RECT fr = format_rect(st);
    const int room = std::max(1, static_cast<int>(fr.right - fr.left));
    const POINT at = pos_to_point(st, st.caret);
    const int x = at.x - line_left(st, line);                      // from the line's start, unscrolled
    const int base = line_left(st, line) + st.x_offset - fr.left;  // alignment shift
    int offset = st.x_offset;
    if (base + x < offset) offset = std::max(0, base + x - room / 4);
    if (base + x >= offset + room) offset = base + x - room + room / 4;
    if (line_width(st, line) + base <= room && !multi_line(st)) offset = 0;
    if (!multi_line(st) && !(style_of(st) & ES_AUTOHSCROLL)) offset = 0;  // such a box never scrolls
    if (offset != st.x_offset) {
      st.x_offset = std::max(0, offset);
      moved = true;
    }
  }
  if (moved) {
    update_scroll_bars(st);
    redraw(st);
  }
}

void update_scroll_bars(State& st) {
  const DWORD style = style_of(st);
  if (!(style & (WS_VSCROLL | WS_HSCROLL)) || !multi_line(st)) return;
  ensure_layout(st);
  if (style & WS_VSCROLL) {
    SCROLLINFO si{sizeof(SCROLLINFO), SIF_ALL | SIF_DISABLENOSCROLL, 0, 0, 0, 0, 0};
    si.nMax = std::max(0, static_cast<int>(st.lines.size()) - 1);
    si.nPage = static_cast<UINT>(visible_line_count(st));
    si.nPos = st.first_line;
    SetScrollInfo(st.hwnd, SB_VERT, &si, TRUE);
  }
  if (style & WS_HSCROLL) {
    int widest = 0;
    for (int i = 0; i < static_cast<int>(st.lines.size()); ++i) widest = std::max(widest, line_width(st, i));
    const RECT fr = format_rect(st);
    SCROLLINFO si{sizeof(SCROLLINFO), SIF_ALL | SIF_DISABLENOSCROLL, 0, 0, 0, 0, 0};
    si.nMax = std::max(0, widest);
    si.nPage = static_cast<UINT>(std::max(1, static_cast<int>(fr.right - fr.left)));
    si.nPos = st.x_offset;
    SetScrollInfo(st.hwnd, SB_HORZ, &si, TRUE);
  }
}

}  // namespace platform::controls::edit
