// Keyboard and mouse input of an edit control: typed bytes assembled into characters, caret
// and selection movement, clipboard keys, mouse selection with auto-scroll, wheel and scroll
// bars.
#include <algorithm>
#include <cctype>

#include "platform/api/scrollbar.h"
#include "platform/controls/control_common.h"
#include "platform/controls/edit_state.h"
#include "platform/kernel/codepage.h"

namespace platform::controls::edit {
namespace {

constexpr UINT kDragMs = 60;

bool down(int vk) {
  return GetKeyState(vk) < 0;
}

// One step right or left; "\r\n" counts as one character.
std::size_t step_right(const State& st, std::size_t pos) {
  if (std::size_t br = break_length(st.text, pos)) return pos + br;
  return next_char(st.text, pos);
}

std::size_t step_left(const State& st, std::size_t pos) {
  if (pos >= 2 && st.text[pos - 1] == '\n' && st.text[pos - 2] == '\r') return pos - 2;
  return prev_char(st.text, pos);
}

bool has_selection(const State& st) {
  return st.anchor != st.caret;
}

void move_to(State& st, std::size_t target, bool extend, bool keep_goal = false) {
  if (!keep_goal) st.goal_x = -1;
  set_selection(st, extend ? st.anchor : target, target);
}

// Where the caret lands on a line `delta` lines away, keeping its x.
std::size_t vertical_target(State& st, int delta) {
  ensure_layout(st);
  const int line = line_of(st, st.caret);
  const int target = std::clamp(line + delta, 0, static_cast<int>(st.lines.size()) - 1);
  if (st.goal_x < 0) st.goal_x = pos_to_point(st, st.caret).x;
  if (target == line) return delta < 0 ? st.lines[static_cast<std::size_t>(line)].start : st.caret;
  return point_to_pos(st, POINT{st.goal_x, line_top(st, target)});
}

std::size_t line_end_target(State& st) {
  const int line = line_of(st, st.caret);
  const Line& l = st.lines[static_cast<std::size_t>(line)];
  // A soft-broken line's end is the next line's start: stop before its last character.
  if (l.end == l.next && line + 1 < static_cast<int>(st.lines.size()) && l.end > l.start)
    return prev_char(st.text, l.end);
  return l.end;
}

void delete_range(State& st, std::size_t from, std::size_t to) {
  st.anchor = from;
  st.caret = to;
  replace_selection(st, {}, UndoMode::record, false);
}

// True while `pending` still waits for trail bytes of a GB18030 character.
bool incomplete(const std::string& pending) {
  const auto lead = static_cast<unsigned char>(pending[0]);
  if (lead < 0x81 || lead > 0xFE) return false;
  if (pending.size() == 1) return true;
  const auto second = static_cast<unsigned char>(pending[1]);
  const bool four = second >= 0x30 && second <= 0x39;
  return four && pending.size() < 4;
}

void type_character(State& st, std::string ch) {
  if (ch.size() == 1) {
    auto c = static_cast<unsigned char>(ch[0]);
    if ((style_of(st) & ES_NUMBER) && !std::isdigit(c)) {
      MessageBeep(0);
      return;
    }
    if (style_of(st) & ES_UPPERCASE) ch[0] = static_cast<char>(std::toupper(c));
    if (style_of(st) & ES_LOWERCASE) ch[0] = static_cast<char>(std::tolower(c));
  } else if (style_of(st) & ES_NUMBER) {
    MessageBeep(0);
    return;
  }
  replace_selection(st, ch, UndoMode::typing, true);
}

void control_character(State& st, unsigned char c) {
  switch (c) {
    case 0x01:  // Ctrl+A
      st.goal_x = -1;
      set_selection(st, 0, st.text.size());
      return;
    case 0x03:  // Ctrl+C
      copy_selection(st);
      return;
    case 0x16:  // Ctrl+V
      paste(st);
      return;
    case 0x18:  // Ctrl+X
      cut_selection(st);
      return;
    case 0x1A:  // Ctrl+Z
      undo(st);
      return;
    case '\b':
      if (read_only(st)) return;
      if (has_selection(st))
        clear_selection(st);
      else if (st.caret > 0)
        delete_range(st, step_left(st, st.caret), st.caret);
      return;
    case '\r':
      if (multi_line(st) && (style_of(st) & ES_WANTRETURN) && !read_only(st))
        replace_selection(st, "\r\n", UndoMode::typing, true);
      return;
    case '\t':
      if (multi_line(st) && !read_only(st)) replace_selection(st, "\t", UndoMode::typing, true);
      return;
    default:
      return;  // other control characters are not text
  }
}

}  // namespace

void on_char(State& st, WPARAM byte) {
  const auto c = static_cast<unsigned char>(byte & 0xFF);
  if (st.pending.empty() && (c < 0x20 || c == 0x7F)) {
    control_character(st, c);
    return;
  }
  if (read_only(st)) {
    st.pending.clear();
    MessageBeep(0);
    return;
  }
  st.pending.push_back(static_cast<char>(c));
  if (incomplete(st.pending)) return;
  std::string ch;
  ch.swap(st.pending);
  const auto lead = static_cast<unsigned char>(ch[0]);
  // A broken sequence (a lead byte followed by no valid trail) is dropped whole.
  if (lead == 0x80 || lead == 0xFF || codepage::ansi_char_length(ch) != ch.size()) return;
  type_character(st, std::move(ch));
}

void on_key_down(State& st, WPARAM key) {
  const bool shift = down(VK_SHIFT), ctrl = down(VK_CONTROL);
  const bool multi = multi_line(st);
  ensure_layout(st);
  switch (key) {
    case VK_LEFT:
      if (has_selection(st) && !shift && !ctrl)
        move_to(st, sel_start(st), false);
      else
        move_to(st, ctrl ? prev_word(st.text, st.caret) : step_left(st, st.caret), shift);
      return;
    case VK_RIGHT:
      if (has_selection(st) && !shift && !ctrl)
        move_to(st, sel_end(st), false);
      else
        move_to(st, ctrl ? next_word(st.text, st.caret) : step_right(st, st.caret), shift);
      return;
    case VK_UP:
    case VK_DOWN: {
      const bool up = key == VK_UP;
      if (!multi) {
        move_to(st, up ? step_left(st, st.caret) : step_right(st, st.caret), shift);
        return;
      }
      move_to(st, vertical_target(st, up ? -1 : 1), shift, true);
      return;
    }
    case VK_PRIOR:
    case VK_NEXT: {
      if (!multi) return;
      const int page = std::max(1, visible_line_count(st) - 1) * (key == VK_PRIOR ? -1 : 1);
      const std::size_t target = vertical_target(st, page);
      scroll_lines(st, page);
      move_to(st, target, shift, true);
      return;
    }
    case VK_HOME:
      move_to(st, ctrl ? 0 : st.lines[static_cast<std::size_t>(line_of(st, st.caret))].start, shift);
      return;
    case VK_END:
      move_to(st, ctrl ? st.text.size() : line_end_target(st), shift);
      return;
    case VK_DELETE:
      if (shift) {
        cut_selection(st);
      } else if (read_only(st)) {
        MessageBeep(0);
      } else if (has_selection(st)) {
        clear_selection(st);
      } else if (st.caret < st.text.size()) {
        delete_range(st, st.caret, step_right(st, st.caret));
      }
      return;
    case VK_INSERT:
      if (ctrl)
        copy_selection(st);
      else if (shift)
        paste(st);
      return;
    default:
      return;
  }
}

void on_mouse_down(State& st, POINT p, WPARAM keys, bool double_click) {
  if (GetFocus() != st.hwnd) {
    SetFocus(st.hwnd);
    if (!IsWindow(st.hwnd)) return;
  }
  st.goal_x = -1;
  const std::size_t pos = point_to_pos(st, p);
  if (double_click) {
    const auto [first, last] = word_at(st.text, pos);
    set_selection(st, first, last);
    return;
  }
  set_selection(st, (keys & MK_SHIFT) ? st.anchor : pos, pos);
  st.dragging = true;
  st.last_mouse = p;
  SetCapture(st.hwnd);
  SetTimer(st.hwnd, kDragTimer, kDragMs, nullptr);
}

void on_mouse_move(State& st, POINT p) {
  if (!st.dragging) return;
  st.last_mouse = p;
  set_selection(st, st.anchor, point_to_pos(st, p));
}

void on_drag_timer(State& st) {
  if (!st.dragging) {
    KillTimer(st.hwnd, kDragTimer);
    return;
  }
  // Keeps scrolling while the mouse rests outside the text.
  const RECT fr = format_rect(st);
  const POINT p = st.last_mouse;
  if (p.x < fr.left || p.x >= fr.right || p.y < fr.top || p.y >= fr.bottom)
    set_selection(st, st.anchor, point_to_pos(st, p));
}

void on_mouse_up(State& st) {
  if (!st.dragging) return;
  st.dragging = false;
  KillTimer(st.hwnd, kDragTimer);
  if (GetCapture() == st.hwnd) ReleaseCapture();
}

void on_wheel(State& st, int delta) {
  st.wheel_rest += delta;
  const int steps = st.wheel_rest / WHEEL_DELTA;
  st.wheel_rest -= steps * WHEEL_DELTA;
  if (steps == 0) return;
  notify(st, EN_VSCROLL);
  if (IsWindow(st.hwnd)) scroll_lines(st, -3 * steps);
}

void on_scroll(State& st, bool vertical, int code) {
  ensure_layout(st);
  const RECT fr = format_rect(st);
  const int line = vertical ? 1 : st.char_width;
  const int page =
      vertical ? std::max(1, visible_line_count(st) - 1) : std::max(1, static_cast<int>(fr.right - fr.left));
  const int now = vertical ? st.first_line : st.x_offset;
  int delta = 0;
  switch (code) {
    case SB_LINEUP:
      delta = -line;
      break;
    case SB_LINEDOWN:
      delta = line;
      break;
    case SB_PAGEUP:
      delta = -page;
      break;
    case SB_PAGEDOWN:
      delta = page;
      break;
    case SB_TOP:
      delta = -now;
      break;
    case SB_BOTTOM:
      delta = vertical ? static_cast<int>(st.lines.size()) : 1 << 20;
      break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
      SCROLLINFO si{sizeof(SCROLLINFO), SIF_TRACKPOS, 0, 0, 0, 0, 0};
      if (GetScrollInfo(st.hwnd, vertical ? SB_VERT : SB_HORZ, &si)) delta = si.nTrackPos - now;
      break;
    }
    default:
      return;
  }
  if (delta == 0) return;
  notify(st, vertical ? EN_VSCROLL : EN_HSCROLL);
  if (!IsWindow(st.hwnd)) return;
  if (vertical)
    scroll_lines(st, delta);
  else
    scroll_pixels(st, delta);
}

}  // namespace platform::controls::edit
