// Internal operations shared by the window system's files.
#pragma once

#include "platform/winsys/wm_state.h"

namespace platform::winsys {

// ---- classes
std::shared_ptr<WindowClass> find_class_locked(std::string_view name);
void ensure_system_classes();
bool iequals(std::string_view a, std::string_view b);

// ---- non-client layout (window coordinates)
struct FrameLayout {
  RECT client{};     // window coordinates
  RECT caption{};    // empty without a caption
  RECT menu_bar{};   // empty without a menu bar
  RECT close_box{};  // caption buttons; empty when absent
  RECT max_box{};
  RECT min_box{};
  int border = 0;  // outer frame thickness (sizing, dialog or thin border)
  bool sizing = false;
};
FrameLayout frame_layout(HWND hwnd, DWORD style, DWORD ex_style, bool has_menu, int width, int height);
int menu_bar_height(HWND hwnd, HMENU menu, int width);
bool has_menu_bar_locked(const Window& w);

// ---- painting
bool needs_paint(const Window& w);
bool has_frame(const Window& w);
// A window's whole area / client area in its top-level surface's coordinates.
RECT window_area_in_top(const Window& w);
RECT client_area_in_top(const Window& w);
HWND find_paint_window_locked(DWORD thread_id, HWND filter);
void purge_window_messages_locked(HWND hwnd, DWORD thread_id);
// Gives a top-level window a surface of its size (keeping the old pixels where they overlap).
void ensure_surface_locked(Window& top);
// Marks the window (and, as the flags say, its children) for repainting; `area` in client
// coordinates, nullptr for the whole client area.
void invalidate_locked(Window& w, const Region* area, UINT flags);
// Every window of a top-level tree that overlaps `area` (top-level window coordinates)
// repaints it; used when windows move, resize, show or hide.
void invalidate_top_area_locked(Window& top, const RECT& area);
// The region a DC of the window may draw in, in top-level surface coordinates.
Region visible_region_locked(const Window& w, bool whole_window);
// Tells the backend that pixels of `top` changed (top-level window coordinates).
void present(HWND top, const RECT& dirty);
// Draws the frame and caption straight into the surface.
void paint_frame(HWND hwnd);

// ---- positions and state
// WM_GETMINMAXINFO sent to the window, starting from the defaults for its styles.
MINMAXINFO minmax_info(HWND hwnd);
void send_parent_notify(HWND hwnd, UINT event, LPARAM lp);
void hide_for_destroy(HWND hwnd);
RECT client_size_rect(const Window& w);
RECT screen_rect_locked(const Window& w);
// Inside the window's rectangle and its window region (screen coordinates).
bool in_window_region_locked(const Window& w, POINT screen);
POINT client_offset_in_window(const Window& w);

// ---- activation and focus
bool window_thread_is_current(HWND hwnd);
void activate_window(HWND hwnd, WORD how);
void activate_other_than(HWND leaving);
void release_capture_of(HWND hwnd);
void focus_leaves(HWND hwnd);

// ---- modal moves
// The modal move (or, with `sizing`, resize along the edge `edge` 1..8 as WMSZ_*) loop that follows
// the mouse until the button is released.
void move_loop(HWND hwnd, POINT start_screen, int edge, bool sizing);

}  // namespace platform::winsys
