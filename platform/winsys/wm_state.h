// The window manager's shared state: window records, classes, per-thread queues and hooks,
// all guarded by one mutex. Functions named *_locked expect the caller to hold wm_mutex();
// nothing here calls a window procedure, a hook or the display backend while holding it.
#pragma once

#include <cairo.h>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/api/user.h"
#include "platform/kernel/clock.h"
#include "platform/winsys/region.h"

namespace platform::display {
class Backend;
}

namespace platform::winsys {

// Real time, for what no test clock may stop: how long a sender waits, whether a thread hangs.
// Everything a program times runs on platform::clock.
using Clock = std::chrono::steady_clock;
using Lock = std::unique_lock<std::mutex>;

std::mutex& wm_mutex();

struct WindowClass {
  std::string name;
  ATOM atom = 0;
  UINT style = 0;
  WNDPROC proc = nullptr;
  int cls_extra = 0;
  int wnd_extra = 0;
  HINSTANCE instance = nullptr;
  HICON icon = nullptr;
  HICON icon_small = nullptr;
  HCURSOR cursor = nullptr;
  HBRUSH background = nullptr;
  std::string menu_name;
  std::vector<BYTE> extra;
  int window_count = 0;
};

// A top-level window's pixels. The pointer is swapped (under `mutex`) when the window resizes.
struct Surface {
  std::mutex mutex;
  cairo_surface_t* pixels = nullptr;
  Surface() = default;
  Surface(const Surface&) = delete;
  Surface& operator=(const Surface&) = delete;
  ~Surface() {
    if (pixels) cairo_surface_destroy(pixels);
  }
};

struct Window {
  HWND handle = nullptr;
  DWORD thread_id = 0;
  std::shared_ptr<WindowClass> cls;
  WNDPROC proc = nullptr;
  DWORD style = 0;
  DWORD ex_style = 0;
  HWND parent = nullptr;  // the desktop for top-level windows
  HWND owner = nullptr;
  std::vector<HWND> children;  // z-order, top first
  RECT window_rect{};          // parent client coordinates (screen for top-level)
  RECT client_rect{};          // parent client coordinates
  RECT normal_rect{};          // restored placement of a minimised or maximised window
  std::string text;
  LONG_PTR user_data = 0;
  LONG_PTR id = 0;  // control id, or the menu of a top-level window
  HINSTANCE instance = nullptr;
  std::vector<BYTE> extra;
  std::vector<std::pair<std::string, HANDLE>> props;
  Region update;  // client coordinates
  bool erase_pending = false;
  bool frame_pending = false;
  bool internal_paint = false;
  HRGN window_region = nullptr;  // owned; window coordinates
  bool destroying = false;
  bool was_activated = false;
  bool frame_active = false;         // caption drawn active (WM_NCACTIVATE)
  std::shared_ptr<Surface> surface;  // top-level windows only
};
using WindowPtr = std::shared_ptr<Window>;

struct ThreadQueue;

struct SentMessage {
  HWND hwnd = nullptr;
  UINT msg = 0;
  WPARAM wp = 0;
  LPARAM lp = 0;
  std::shared_ptr<ThreadQueue> sender;  // null for a notification (no reply awaited)
  bool done = false;
  bool abandoned = false;
  LRESULT result = 0;
};
using SentPtr = std::shared_ptr<SentMessage>;

struct Timer {
  HWND hwnd = nullptr;
  UINT_PTR id = 0;
  UINT interval_ms = 0;
  clock::Millis due = 0;
  TIMERPROC proc = nullptr;
};

struct ThreadQueue {
  DWORD thread_id = 0;
  bool alive = true;
  std::deque<MSG> posted;
  std::deque<SentPtr> sent;
  bool quit_posted = false;
  int quit_code = 0;
  std::vector<Timer> timers;
  HWND focus = nullptr;
  HWND active = nullptr;
  std::condition_variable cv;
  DWORD last_time = 0;
  POINT last_pos{};
  Clock::time_point last_served = Clock::now();
  std::uint64_t wake_serial = 0;
  int kernel_waits = 0;  // inside MsgWaitForMultipleObjects: woken through the kernel
};
using QueuePtr = std::shared_ptr<ThreadQueue>;

struct Hook {
  HHOOK handle = nullptr;
  int id = 0;
  HOOKPROC proc = nullptr;
  DWORD thread_id = 0;  // 0: every thread
};

struct State {
  std::unordered_map<HWND, WindowPtr> windows;
  std::unordered_map<DWORD, QueuePtr> queues;
  std::vector<std::shared_ptr<WindowClass>> classes;
  std::vector<Hook> hooks;
  WindowPtr desktop;
  std::uintptr_t next_handle = 0x10010;
  std::uintptr_t next_hook = 0x20010;
  ATOM next_atom = 0xC000;
  DWORD display_thread = 0;
  HWND foreground = nullptr;
  HWND capture = nullptr;
  POINT cursor{};
  std::deque<std::function<void(display::Backend&)>> display_calls;
  std::vector<WNDPROC> proc_handles;  // for the 32-bit GWL_WNDPROC view
};

// The state; the caller holds wm_mutex().
State& state_locked();

DWORD this_thread_id();
DWORD tick_count();
SIZE screen_size();

// Lookups (caller holds the lock). A null, unknown or destroyed handle gives nullptr.
WindowPtr find_locked(HWND hwnd);
// Takes and releases the lock.
WindowPtr find_window(HWND hwnd);
QueuePtr queue_of_locked(DWORD thread_id);
// The calling thread's queue, created on first use.
QueuePtr current_queue_locked();
HWND new_handle_locked();

bool is_desktop_locked(const Window& w);
bool is_top_level_locked(const Window& w);
WindowPtr top_level_of_locked(WindowPtr w);
// Visible itself and every ancestor visible.
bool really_visible_locked(const Window& w);
// Offset of the window's top-left corner in screen coordinates / in its top-level's surface.
POINT window_screen_origin_locked(const Window& w);
POINT client_screen_origin_locked(const Window& w);
POINT window_origin_in_top_locked(const Window& w);

// Wakes a queue's thread (condition variable). Returns true when the thread waits elsewhere
// (the display thread in the backend, or a thread in a kernel wait): then wake_display() is
// needed once the lock is released.
bool wake_locked(ThreadQueue& q);
// Wakes the display thread's backend wait and threads in kernel waits.
void wake_display();

// Runs `call` with the backend on the display thread: at once when called there, otherwise at
// that thread's next wait. Called without the lock.
void run_on_display(std::function<void(display::Backend&)> call);
// Runs calls queued for the display thread; the caller is that thread and holds no lock.
void drain_display_calls();

}  // namespace platform::winsys
