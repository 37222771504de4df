// Changes to an edit control's text: replacing the selection, undo, the clipboard, and the
// notifications that go with them.
#include <algorithm>
#include <cstring>

#include "platform/controls/control_common.h"
#include "platform/controls/edit_state.h"

namespace platform::controls::edit {
namespace {

// The part of `insert` a single-line control takes: up to the first line break.
std::string_view first_line(std::string_view insert) {
  const std::size_t br = insert.find_first_of("\r\n");
  return br == std::string_view::npos ? insert : insert.substr(0, br);
}

// Single-line controls without ES_AUTOHSCROLL take only what fits their width.
bool too_wide(State& st) {
  if (multi_line(st) || (style_of(st) & ES_AUTOHSCROLL)) return false;
  const RECT fr = format_rect(st);
  return line_width(st, 0) > fr.right - fr.left;
}

void after_change(State& st) {
  invalidate_layout(st);
  sync_window_text(st);
  ensure_layout(st);
  update_scroll_bars(st);
  scroll_caret_into_view(st);
  redraw(st);
  restart_caret(st);
}

}  // namespace

void notify(State& st, WORD code) {
  if (IsWindow(st.hwnd)) notify_parent(st.hwnd, code);
}

void sync_window_text(State& st) {
  // The window system keeps a copy so that other threads can read the text without a message.
  DefWindowProcA(st.hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(st.text.c_str()));
}

bool replace_selection(State& st, std::string_view insert, UndoMode mode, bool limited) {
  const std::size_t s = sel_start(st), e = sel_end(st);
  std::string_view take = multi_line(st) ? insert : first_line(insert);
  bool maxed = false;
  if (limited) {
    const std::size_t kept = st.text.size() - (e - s);
    const std::size_t room = st.limit > kept ? st.limit - kept : 0;
    const std::size_t fits = whole_chars_within(take, room);
    if (fits < take.size()) {
      maxed = true;
      take = take.substr(0, fits);
    }
  }
  if (take.empty() && s == e) {
    if (maxed) notify(st, EN_MAXTEXT);
    return false;
  }
  const std::string removed = st.text.substr(s, e - s);
  st.text.replace(s, e - s, take);
  if (limited && too_wide(st)) {
    st.text.replace(s, take.size(), removed);
    invalidate_layout(st);
    notify(st, EN_MAXTEXT);
    return false;
  }
  if (mode == UndoMode::typing && st.can_undo && st.typing_run && removed.empty() &&
      s == st.undo.pos + st.undo.inserted.size()) {
    st.undo.inserted.append(take);
  } else if (mode != UndoMode::none) {
    st.undo = UndoRecord{s, removed, std::string(take)};
    st.can_undo = true;
  }
  st.typing_run = mode == UndoMode::typing;
  st.anchor = st.caret = s + take.size();
  st.goal_x = -1;
  st.modified = true;
  after_change(st);
  notify(st, EN_UPDATE);
  notify(st, EN_CHANGE);
  if (maxed) notify(st, EN_MAXTEXT);
  return true;
}

void set_whole_text(State& st, std::string_view text) {
  st.text.assign(text);
  st.anchor = st.caret = 0;
  st.first_line = 0;
  st.x_offset = 0;
  st.can_undo = false;
  st.typing_run = false;
  st.modified = false;
  st.pending.clear();
  st.goal_x = -1;
  after_change(st);
  notify(st, EN_UPDATE);
  notify(st, EN_CHANGE);
}

void set_selection(State& st, std::size_t anchor, std::size_t caret, bool scroll) {
  anchor = char_start(st.text, anchor);
  caret = char_start(st.text, caret);
  // The middle of a "\r\n" pair is no place for the caret.
  auto off_pair = [&](std::size_t p) {
    return p > 0 && p < st.text.size() && st.text[p] == '\n' && st.text[p - 1] == '\r' ? p - 1 : p;
  };
  anchor = off_pair(anchor);
  caret = off_pair(caret);
  st.typing_run = false;
  if (anchor != st.anchor || caret != st.caret) {
    st.anchor = anchor;
    st.caret = caret;
    redraw(st);
  }
  restart_caret(st);
  if (scroll) scroll_caret_into_view(st);
}

bool undo(State& st) {
  if (!st.can_undo || read_only(st)) return false;
  UndoRecord r = st.undo;
  if (r.pos > st.text.size() || r.inserted.size() > st.text.size() - r.pos) {
    st.can_undo = false;
    return false;
  }
  st.text.replace(r.pos, r.inserted.size(), r.removed);
  // Undoing again puts the change back.
  st.undo = UndoRecord{r.pos, r.inserted, r.removed};
  st.typing_run = false;
  st.anchor = r.pos;
  st.caret = r.pos + r.removed.size();
  st.modified = true;
  after_change(st);
  notify(st, EN_UPDATE);
  notify(st, EN_CHANGE);
  return true;
}

void copy_selection(State& st) {
  const std::size_t s = sel_start(st), e = sel_end(st);
  if (s == e || (style_of(st) & ES_PASSWORD)) return;
  HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, e - s + 1);
  if (!mem) return;
  if (auto* bytes = static_cast<char*>(GlobalLock(mem))) {
    std::memcpy(bytes, st.text.data() + s, e - s);
    bytes[e - s] = '\0';
    GlobalUnlock(mem);
  }
  if (!OpenClipboard(st.hwnd)) {
    GlobalFree(mem);
    return;
  }
  EmptyClipboard();
  if (!SetClipboardData(CF_TEXT, mem)) GlobalFree(mem);
  CloseClipboard();
}

void cut_selection(State& st) {
  if (read_only(st) || (style_of(st) & ES_PASSWORD) || sel_start(st) == sel_end(st)) return;
  copy_selection(st);
  replace_selection(st, {}, UndoMode::record, false);
}

void paste(State& st) {
  if (read_only(st)) return;
  std::string text;
  if (!OpenClipboard(st.hwnd)) return;
  if (HANDLE mem = GetClipboardData(CF_TEXT)) {
    const SIZE_T size = GlobalSize(mem);
    if (const auto* bytes = static_cast<const char*>(GlobalLock(mem))) {
      text.assign(bytes, strnlen(bytes, size));
      GlobalUnlock(mem);
    }
  }
  CloseClipboard();
  if (!text.empty()) replace_selection(st, text, UndoMode::record, true);
}

void clear_selection(State& st) {
  if (read_only(st) || sel_start(st) == sel_end(st)) return;
  replace_selection(st, {}, UndoMode::record, false);
}

}  // namespace platform::controls::edit
