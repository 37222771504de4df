// A display backend: where top-level windows appear and where input comes from.
// The window system tells the backend about top-level windows (shown, moved, retitled, repainted)
// and the backend feeds user input back, and asks what it needs to know of those windows, through
// the input sink (platform/display/input_sink.h) that the window system installs.
// Contract: every call is made on the thread that owns the display (the first thread that
// creates a window), except wake(), which any thread may call. Backends never call window
// procedures directly.
#pragma once

#include <string>
#include <string_view>

#include "platform/api/types.h"

namespace platform::display {

class Backend {
 public:
  virtual ~Backend() = default;
  virtual std::string_view name() const = 0;

  // The screen in device pixels, and the desktop's scale in quarters (4 is 1x): programs see
  // the screen and every window at its logical size, device size divided by the scale.
  virtual SIZE screen_size() const = 0;
  virtual int scale() const { return 4; }
  virtual int bits_per_pixel() const = 0;

  // Top-level windows. `screen_rect` is the whole window, non-client area included.
  virtual void window_shown(HWND top) = 0;
  virtual void window_hidden(HWND top) = 0;
  virtual void window_destroyed(HWND top) = 0;
  virtual void window_moved(HWND top, const RECT& screen_rect) = 0;
  virtual void window_title(HWND top, std::string_view utf8) = 0;
  virtual void window_activated(HWND top) = 0;
  // Pixels of `top` changed inside `dirty` (window coordinates).
  virtual void invalidate(HWND top, const RECT& dirty) = 0;

  virtual void set_cursor(HCURSOR cursor) = 0;
  virtual void set_capture(bool captured) = 0;
  virtual void set_cursor_pos(POINT screen) = 0;
  virtual bool set_clipboard_text(std::string_view utf8) = 0;
  virtual std::string clipboard_text() = 0;

  // Moves pending system events into the window system; true when any arrived.
  virtual bool pump() = 0;
  // Sleeps until a system event arrives, wake() is called, or timeout_ms passes (-1: no limit).
  virtual void wait(int timeout_ms) = 0;
  virtual void wake() = 0;
};

// The process's backend, chosen on first use: LYRICS_DISPLAY=headless|sdl if set, otherwise
// sdl when DISPLAY or WAYLAND_DISPLAY is set, otherwise headless.
Backend& backend();

}  // namespace platform::display
