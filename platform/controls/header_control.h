// The "SysHeader32" control: column titles over a report view, resized by dragging a divider,
// clicked as buttons (HDS_BUTTONS) and reordered by dragging (HDS_DRAGDROP).
// Notifications (HDN_*) go to the parent as WM_NOTIFY with an NMHEADERA.
#pragma once

#include <string>
#include <vector>

#include "platform/api.h"
#include "platform/api/listview.h"

namespace platform::controls::header {

struct Item {
  std::string text;
  int width = 0;
  int fmt = HDF_LEFT | HDF_STRING;
  LPARAM param = 0;
  int image = -1;
  HBITMAP bitmap = nullptr;
};

enum class Mode { none, press, track, drag };

struct State {
  HWND hwnd = nullptr;
  std::vector<Item> items;
  std::vector<int> order;  // display position -> item index
  HFONT font = nullptr;
  HIMAGELIST images = nullptr;
  Mode mode = Mode::none;
  int item = -1;  // the item being pressed, tracked or dragged
  bool inside = false;
  int start_x = 0;
  int start_width = 0;
  int drag_x = 0;
};

void register_header_class();

// Shared by the procedure, the painter and the mouse handlers (header_*.cpp).
int item_left(const State& st, int index);
RECT item_rect(const State& st, int index);
// The item under x, or -1; `divider` is set when x is on the right divider of that item.
int hit(const State& st, int x, bool& divider);
LRESULT notify(State& st, UINT code, int item, HDITEMA* pitem = nullptr);
bool set_width(State& st, int index, int width);
void paint(State& st, HDC dc);
void on_button_down(State& st, LPARAM lp, bool double_click);
void on_mouse_move(State& st, LPARAM lp);
void on_button_up(State& st, LPARAM lp);
void on_capture_lost(State& st);

}  // namespace platform::controls::header
