// The state of one "EDIT" window and the operations its message handlers share. Internal to
// platform/controls: the files edit_*.cpp implement these declarations.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/api.h"
#include "platform/api/edit.h"
#include "platform/controls/edit_text.h"

namespace platform::controls::edit {

inline constexpr std::size_t kDefaultLimit = 30000;
inline constexpr std::size_t kSingleLineMax = 0x7FFFFFFE;
inline constexpr std::size_t kMultiLineMax = 0xFFFFFFFF;
inline constexpr UINT_PTR kCaretTimer = 0xED01;
inline constexpr UINT_PTR kDragTimer = 0xED02;

// The last change, kept so that it can be undone: at `pos`, `inserted` replaced `removed`.
struct UndoRecord {
  std::size_t pos = 0;
  std::string removed;
  std::string inserted;
};

struct State {
  HWND hwnd = nullptr;
  std::string text;
  std::size_t anchor = 0;  // the fixed end of the selection
  std::size_t caret = 0;   // the moving end, where the caret is
  std::vector<Line> lines;
  bool layout_dirty = true;
  int first_line = 0;  // multi-line: the top visible line
  int x_offset = 0;    // pixels scrolled to the left
  HFONT font = nullptr;
  int line_height = 16;
  int char_width = 6;
  int left_margin = 1;
  int right_margin = 1;
  bool has_user_rect = false;
  RECT user_rect{};
  std::size_t limit = kDefaultLimit;
  char password = 0;
  bool modified = false;
  bool can_undo = false;
  bool typing_run = false;  // the undo record grows while typing goes on at its end
  UndoRecord undo;
  std::string pending;  // bytes of a character whose trail bytes are still to come
  bool focused = false;
  bool caret_on = false;  // blink phase
  bool dragging = false;
  POINT last_mouse{};
  int goal_x = -1;  // x kept across Up/Down moves
  int wheel_rest = 0;
};

// ---- queries on the window ----
DWORD style_of(const State& st);
bool multi_line(const State& st);
bool read_only(const State& st);
std::size_t sel_start(const State& st);
std::size_t sel_end(const State& st);

// ---- geometry (edit_layout.cpp) ----
void refresh_font_metrics(State& st);
RECT format_rect(const State& st);
void ensure_layout(State& st);
void invalidate_layout(State& st);
int line_of(State& st, std::size_t pos);
// Per-byte extents of a line as drawn (password characters included), from its start.
std::vector<int> line_extents(State& st, int line);
int line_width(State& st, int line);
// Client x of the line's start (alignment and horizontal scroll applied) and top y.
int line_left(State& st, int line);
int line_top(State& st, int line);
POINT pos_to_point(State& st, std::size_t pos);
std::size_t point_to_pos(State& st, POINT p);
int visible_line_count(State& st);
void scroll_caret_into_view(State& st);
// Scrolls by lines / pixels; answers whether anything moved.
bool scroll_lines(State& st, int delta);
bool scroll_pixels(State& st, int dx);
void update_scroll_bars(State& st);
std::string display_text(const State& st, std::size_t from, std::size_t to);

// ---- changes (edit_ops.cpp) ----
void notify(State& st, WORD code);
// How a change is remembered for undo: not at all, as a new record, or (typing) appended to
// the last record when it continues right where that one ended.
enum class UndoMode { none, record, typing };
// Replaces the selection with `insert` (a single-line control keeps its first line only; cut
// to whole characters within the limit when `limited`); sends EN_UPDATE and EN_CHANGE, or
// EN_MAXTEXT when something did not fit. Answers whether the text changed.
bool replace_selection(State& st, std::string_view insert, UndoMode mode, bool limited);
void set_whole_text(State& st, std::string_view text);
void set_selection(State& st, std::size_t anchor, std::size_t caret, bool scroll = true);
bool undo(State& st);
void copy_selection(State& st);
void cut_selection(State& st);
void paste(State& st);
void clear_selection(State& st);
void sync_window_text(State& st);

// ---- painting and caret (edit_paint.cpp) ----
void paint(State& st, HDC dc);
void paint_nonclient(State& st, HRGN region);
void restart_caret(State& st);
void stop_caret(State& st);
void blink(State& st);
void redraw(State& st);
HBRUSH background(State& st, HDC dc);

// ---- input (edit_input.cpp) ----
void on_char(State& st, WPARAM byte);
void on_key_down(State& st, WPARAM key);
void on_mouse_down(State& st, POINT p, WPARAM keys, bool double_click);
void on_mouse_move(State& st, POINT p);
void on_mouse_up(State& st);
void on_drag_timer(State& st);
void on_wheel(State& st, int delta);
void on_scroll(State& st, bool vertical, int code);

}  // namespace platform::controls::edit
