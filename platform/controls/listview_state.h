// The list view's state (one per control window) and the internal functions that its message
// handlers share. Every function runs on the control's own thread, inside its window procedure.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/api.h"
#include "platform/api/listview.h"

namespace platform::controls::listview {

struct Cell {
  std::string text;
  int image = -1;
  bool text_callback = false;
};

struct Row {
  std::vector<Cell> cells;  // cells[0] is the item itself; missing sub-items are empty
  UINT state = 0;
  int indent = 0;
  LPARAM param = 0;
};

struct Column {
  std::string text;
  int fmt = LVCFMT_LEFT;
  int width = 0;
  int subitem = 0;
  int image = -1;
};

// Owns a GDI object (font, brush) and deletes it.
class GdiObject {
 public:
  GdiObject() = default;
  explicit GdiObject(HGDIOBJ h) : h_(h) {}
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;
  ~GdiObject() { reset(); }
  void reset(HGDIOBJ h = nullptr) {
    if (h_) DeleteObject(h_);
    h_ = h;
  }
  HGDIOBJ get() const { return h_; }

 private:
  HGDIOBJ h_ = nullptr;
};

struct State {
  HWND hwnd = nullptr;
  HWND header = nullptr;
  std::vector<Row> rows;
  std::vector<Column> columns;
  std::vector<int> order;  // display position -> column index
  std::array<HIMAGELIST, 3> images{};
  HIMAGELIST own_checkboxes = nullptr;  // the state list made for LVS_EX_CHECKBOXES
  DWORD ex_style = 0;
  COLORREF text_color = 0;
  COLORREF text_bk = 0;
  COLORREF bk = 0;
  HFONT font = nullptr;
  GdiObject underline_font;
  int text_height = 14;
  int row_height = 17;
  int header_height = 20;
  int list_column_width = 0;  // list view; 0 means computed
  // Scroll offset in pixels: report and list views scroll in whole rows / columns.
  int origin_x = 0;
  int origin_y = 0;
  int focus = -1;
  int mark = -1;  // selection anchor for Shift ranges
  int hot = -1;
  bool has_focus = false;
  HCURSOR hot_cursor = nullptr;
  UINT callback_mask = 0;
  int wheel_rest = 0;
  // Mouse.
  bool lbutton_down = false;
  bool rbutton_down = false;
  int down_item = -1;
  int down_subitem = 0;
  POINT down_point{};
  WPARAM down_keys = 0;
  bool down_was_selected = false;  // for LVS_EX_TWOCLICKACTIVATE
  bool edit_on_release = false;
  bool leave_tracking = false;
  // Label editing.
  HWND edit = nullptr;
  int edit_item = -1;
  WNDPROC edit_proc = nullptr;
  // Info tips.
  HWND tip = nullptr;
  int tip_item = -1;
  int hover_item = -1;
  // Layout.
  bool layout_dirty = true;
  bool sync_posted = false;
  int in_layout = 0;
  // A scratch buffer for text callbacks while painting; no allocation per row.
  std::array<char, 264> scratch{};
};

using StatePtr = std::shared_ptr<State>;

// Private messages the control posts to itself.
inline constexpr UINT kSyncLayout = LVM_FIRST + 0xF0;
inline constexpr UINT kDestroyEdit = LVM_FIRST + 0xF1;

inline constexpr UINT_PTR kHoverTimer = 0x4C01;
inline constexpr UINT_PTR kEditTimer = 0x4C02;

// ---- registry (listview_proc.cpp) ----
StatePtr find_state(HWND hwnd);

// ---- notifications (listview_notify.cpp) ----
LRESULT notify(State& st, NMHDR& hdr, UINT code);
LRESULT notify_item(State& st, UINT code, int item, int subitem = 0, POINT at = {});
LRESULT notify_change(State& st, UINT code, int item, UINT old_state, UINT new_state, UINT changed);
LRESULT notify_activate(State& st, UINT code, int item, int subitem, POINT at, UINT key_flags);
UINT key_flags();

// ---- data (listview_items.cpp) ----
DWORD style_of(const State& st);
int view_of(const State& st);
bool valid_item(const State& st, int i);
// Text of a cell; callback cells are asked for through LVN_GETDISPINFOA into st.scratch.
std::string_view cell_text(State& st, int item, int subitem);
int cell_image(const State& st, int item, int subitem);
LRESULT insert_item(State& st, const LVITEMA& item);
bool set_item(State& st, const LVITEMA& item);
bool get_item(State& st, LVITEMA& item);
bool delete_item(State& st, int i);
bool delete_all(State& st);
// Changes state bits with LVN_ITEMCHANGING / LVN_ITEMCHANGED; false when vetoed or invalid.
bool set_state(State& st, int i, UINT state, UINT mask);
UINT get_state(const State& st, int i, UINT mask);
int next_item(const State& st, int start, UINT flags);
int selected_count(const State& st);
bool sort_items(State& st, PFNLVCOMPARE compare, LPARAM param);
void toggle_check(State& st, int i);
void set_checkboxes(State& st, bool on);

// Selection helpers used by mouse and keyboard.
// Selects `i` alone; with `focus` it also takes the focus, in the same change notification.
void select_only(State& st, int i, bool focus = false);
void select_range(State& st, int from, int to, bool keep_others);
void select_all(State& st, bool on);
void set_focus_item(State& st, int i);

// ---- columns (listview_columns.cpp) ----
LRESULT insert_column(State& st, int index, const LVCOLUMNA& col);
bool set_column(State& st, int index, const LVCOLUMNA& col);
bool get_column(const State& st, int index, LVCOLUMNA& col);
bool delete_column(State& st, int index);
bool set_column_width(State& st, int index, int width);
bool set_order(State& st, int count, const int* order);
bool get_order(const State& st, int count, int* order);
void pull_header(State& st);  // re-reads widths and order after the header changed them
int total_width(const State& st);
// Left edge (content coordinates, before scrolling) of the column with this index.
int column_left(const State& st, int column);

// ---- layout (listview_layout.cpp) ----
void measure(State& st);
RECT client_rect(const State& st);
RECT rows_area(const State& st);
int header_space(const State& st);
int per_page(const State& st);
int per_column(State& st);  // list view: items in one column
int list_width(State& st);
int top_index(const State& st);
RECT item_rect(State& st, int i, int code);
RECT subitem_rect(State& st, int i, int subitem, int code);
RECT state_icon_rect(State& st, int i);
int hit_test(State& st, LVHITTESTINFO& info, bool subitems);
void mark_layout_dirty(State& st);
void sync_layout(State& st);
void layout_header(State& st);
void scroll_to(State& st, int x, int y);
void scroll_by(State& st, int dx, int dy);
bool ensure_visible(State& st, int i, bool partial_ok);
void on_scroll(State& st, int bar, WPARAM wp);
void on_wheel(State& st, WPARAM wp);
void invalidate_item(State& st, int i);
void invalidate_all(State& st);

// ---- painting (listview_paint.cpp) ----
void paint(State& st, HDC dc, const RECT& area);
HIMAGELIST make_checkbox_images();

// ---- input (listview_mouse.cpp, listview_keys.cpp) ----
void on_button_down(State& st, UINT msg, WPARAM wp, LPARAM lp);
void on_button_up(State& st, UINT msg, WPARAM wp, LPARAM lp);
void on_double_click(State& st, UINT msg, WPARAM wp, LPARAM lp);
void on_mouse_move(State& st, WPARAM wp, LPARAM lp);
void on_mouse_leave(State& st);
void on_hover_timer(State& st);
bool on_set_cursor(State& st);
void on_key_down(State& st, WPARAM vk);
void on_char(State& st, WPARAM ch);
void set_hot(State& st, int item);

// ---- label editing (listview_edit.cpp) ----
HWND begin_edit(State& st, int i);
void end_edit(State& st, bool commit);

// ---- info tips (listview_infotip.cpp) ----
void show_tip(State& st, std::string_view text, POINT screen);
void hide_tip(State& st);
void register_tip_class();

}  // namespace platform::controls::listview
