// How a display backend reaches the window system above it: user input goes in, and the few
// facts a backend needs about top-level windows, their pixels and cursors come out. The window
// system installs the sink once; until then every entry is harmless (input is dropped, windows
// have no facts, no surface and no cursor image), so the display builds and runs on its own.
// Contract: entries are called on the display thread, one system event at a time, without any
// backend lock held; they may call back into the backend (a move request reports the move).
#pragma once

#include <cairo.h>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/api/types.h"

namespace platform::display {

enum class MouseButton { left = 0, right = 1, middle = 2 };

// What a backend shows of a top-level window.
struct TopWindowFacts {
  RECT rect{};    // the whole window, screen coordinates
  RECT insets{};  // the part the native frame and caption replace (zero without a caption)
  DWORD style = 0;
  DWORD ex_style = 0;
  HWND owner = nullptr;
  std::string title;  // UTF-8
};

// A cursor's picture: straight ARGB32 pixels, rows top-down, with its hot spot.
struct CursorImage {
  int width = 0;
  int height = 0;
  POINT hotspot{};
  std::vector<std::uint32_t> pixels;
};

struct InputSink {
  // Input. `time` is in milliseconds on clock()'s clock.
  DWORD (*clock)() = [] { return DWORD{0}; };
  void (*mouse_move)(POINT screen, DWORD time) = [](POINT, DWORD) {};
  void (*mouse_button)(MouseButton button, bool down, POINT screen, DWORD time) = [](MouseButton, bool, POINT,
                                                                                     DWORD) {};
  // `delta` in wheel units (WHEEL_DELTA per notch).
  void (*mouse_wheel)(int delta, POINT screen, DWORD time) = [](int, POINT, DWORD) {};
  void (*mouse_left_screen)() = [] {};
  // `text_follows`: the key's character comes separately as text.
  void (*key)(UINT vk, bool down, DWORD time, bool text_follows) = [](UINT, bool, DWORD, bool) {};
  void (*text)(std::string_view utf8, DWORD time) = [](std::string_view, DWORD) {};
  bool (*key_is_down)(UINT vk) = [](UINT) { return false; };
  // The character a key makes with the present shift state; 0 when none.
  int (*character_for_key)(UINT vk) = [](UINT) { return 0; };

  // Windows. keyboard_window() is the display thread's active window, the one that should hold
  // the keyboard at the display level.
  HWND (*keyboard_window)() = [] { return HWND{nullptr}; };
  bool (*describe)(HWND top, TopWindowFacts& out) = [](HWND, TopWindowFacts&) { return false; };
  void (*activate)(HWND top) = [](HWND) {};
  // The user asked to close the window (its close button).
  void (*close)(HWND top) = [](HWND) {};
  // The user (or the window manager) moved or resized the window; whole-window coordinates.
  void (*moved)(HWND top, POINT origin) = [](HWND, POINT) {};
  void (*resized)(HWND top, SIZE size) = [](HWND, SIZE) {};
  bool (*mouse_captured)() = [] { return false; };

  // Runs `use` with the window's backing surface (ARGB32, window coordinates); false when the
  // window has none.
  bool (*with_surface)(HWND top, const std::function<void(cairo_surface_t*)>& use) =
      [](HWND, const std::function<void(cairo_surface_t*)>&) { return false; };
  // The standard id (32512 arrow ...) of a shared system cursor, 0 for any other handle.
  WORD (*system_cursor_id)(HCURSOR cursor) = [](HCURSOR) { return WORD{0}; };
  bool (*cursor_image)(HCURSOR cursor, CursorImage& out) = [](HCURSOR, CursorImage&) { return false; };
  // The picture that task bars and window switchers show for a top-level window (hot spot unused);
  // false when it has none.
  bool (*window_icon)(HWND top, CursorImage& out) = [](HWND, CursorImage&) { return false; };
};

void set_input_sink(const InputSink& sink);
InputSink input_sink();

}  // namespace platform::display
