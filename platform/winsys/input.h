// How display backends hand user input to the window system. Backends call these on the display
// thread, one system event at a time; the window system hit-tests, keeps the keyboard and button
// state, and posts the resulting messages to the owning threads' queues.
// Contract: coordinates are screen pixels (any value; points outside every window reach only the
// capture window). Virtual-key codes are the platform's VK_* numbers; the left/right variants of
// Shift, Ctrl and Alt are accepted and reported as VK_SHIFT, VK_CONTROL and VK_MENU. Text is UTF-8;
// invalid sequences arrive as "?". `time` is the event time in milliseconds on the clock of
// event_clock(): the process clock (platform/kernel/clock.h), as GetTickCount reads it.
#pragma once

#include <string_view>

#include "platform/api/types.h"

namespace platform::winsys::input {

enum class Button { left = 0, right = 1, middle = 2 };

// The process clock's milliseconds (GetTickCount); the time stamp of input events.
DWORD event_clock();

void mouse_move(POINT screen, DWORD time);
void mouse_button(Button button, bool down, POINT screen, DWORD time);
// `delta` in wheel units (WHEEL_DELTA per notch, positive away from the user).
void mouse_wheel(int delta, POINT screen, DWORD time);
// The pointer left every window of the program (no capture): ends mouse-leave tracking.
void mouse_left_screen();

// `text_follows`: the backend will deliver this key's character as text input, so
// TranslateMessage must not make one from the key as well.
void key(UINT vk, bool down, DWORD time, bool text_follows = false);
// Typed or composed text: one WM_CHAR per byte of its ANSI (GB18030) encoding, lead byte first,
// to the focus window (the active window when nothing has the focus).
void text(std::string_view utf8, DWORD time);

// The window that receives keys (and the wheel): the focus window of the foreground window's
// thread, else the foreground window itself; nullptr when there is none.
HWND keyboard_window();

// Where the pointer is, in screen coordinates (as last reported or set).
POINT cursor_pos();

// lParam bit of a WM_KEYDOWN whose character comes separately as text input.
inline constexpr LPARAM kTextFollowsBit = LPARAM{1} << 25;

}  // namespace platform::winsys::input
