// The headless display: a virtual 1280x800 (logical) screen at 32 bits per pixel, with no real windows.
// Tests drive it through these functions, which sit above the display because they need the
// window system: they inject mouse, keyboard and text input, run the calling thread's messages
// until nothing is left, and read the pixels of any window.
// Contract: injection queues the event; it is delivered (hit test, key state, posted messages)
// when the display thread next pumps, one event at a time, so a handler sees the key state of its
// own event. Client coordinates are converted to screen coordinates when injected. Every function
// answers false (or CLR_INVALID) when the process's backend is not the headless one or a window
// handle is not valid.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "platform/api/messages.h"
#include "platform/api/types.h"

namespace platform::headless {

enum class Button { left, right, middle };

// True when the process runs on the headless backend.
bool active();

bool mouse_move(POINT screen);
bool mouse_move(HWND hwnd, POINT client);
bool mouse_button(Button button, bool down, POINT screen);
bool mouse_button(HWND hwnd, Button button, bool down, POINT client);
// Press and release at one point.
bool click(HWND hwnd, POINT client, Button button = Button::left);
// A click at a device pixel of a top-level window (counted from its top-left corner on the
// scaled screen), mapped to logical coordinates as the display maps real input.
bool click_device(HWND top, POINT device, Button button = Button::left);
// Two clicks in quick succession (a double click where the window's class asks for them).
bool double_click(HWND hwnd, POINT client, Button button = Button::left);
bool wheel(HWND hwnd, POINT client, int delta);
bool key_down(UINT vk);
bool key_up(UINT vk);
bool key_press(UINT vk);
// UTF-8 text as the input method delivers it: no key events, only characters.
bool text(std::string_view utf8);

// Moves the time stamps of the input injected from now on forward (so that the next click is
// not part of a double click), without moving the clock itself.
void advance_clock(DWORD ms);

// The test clock. use_manual_clock(true) stops the process clock (platform/kernel/clock.h)
// where it stands: GetTickCount, message times, timers, hover, caret blink, double clicks, the
// time-outs of message waits and GIF frame delays all stand still until advance_time(ms) moves
// them, which wakes every thread waiting on the clock (due timers are then retrieved by the
// next message loop round, run_until_idle among them). use_manual_clock(false) lets the clock
// run on from where it stood. Both answer false on any other backend, and advance_time while
// the clock runs by itself.
bool use_manual_clock(bool manual);
bool advance_time(DWORD ms);
// Releases every key and button and forgets the last click; for test isolation.
void reset_input();

// Delivers the injected input and dispatches the calling thread's messages, paints and due
// timers (translated as a normal loop does) until nothing is left. A WM_QUIT stops the run and
// is posted again for the caller's own loop. Gives up (with a message on stderr) after a
// million messages, as a window that never stops repainting would otherwise hang the test.
// `pretranslate`, when given, sees each message first (accelerators, dialog keys) and returns
// true when it handled it, as a program's own loop would.
void run_until_idle(const std::function<bool(MSG&)>& pretranslate = {});

// The desktop scale (1 to 4, rounded to a quarter; 1 unless a test sets it). Top-level windows
// take it when their backing store is next made or resized; the screen keeps its logical
// 1280 x 800, which is that many times more device pixels. False for a scale outside 1 to 4 or
// on another backend.
bool set_scale(double factor);

// Writes `hwnd` (its whole window; a child cut out of its top-level window) to a PNG file,
// replacing the file only once it is completely written. The picture holds device pixels.
bool save_png(HWND hwnd, const std::string& path);
// How many device pixels `hwnd`'s client area covers on its top-level backing store.
SIZE client_device_size(HWND hwnd);
// The colour at a client point (the first device pixel of that logical pixel), CLR_INVALID (0xFFFFFFFF)
// outside the window or for a bad handle.
COLORREF read_pixel(HWND hwnd, int x, int y);
// The cursor the window system last asked the display to show.
HCURSOR shown_cursor();
// The text on the headless clipboard (UTF-8).
std::string clipboard_text();

}  // namespace platform::headless
