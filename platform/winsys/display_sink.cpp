#include "platform/winsys/display_sink.h"

#include <mutex>

#include "platform/api/user.h"
#include "platform/display/input_sink.h"
#include "platform/kernel/codepage.h"
#include "platform/winsys/cursor_handles.h"
#include "platform/winsys/input.h"
#include "platform/winsys/keyboard_state.h"
#include "platform/winsys/keyboard_translate.h"
#include "platform/winsys/surface_access.h"
#include "platform/winsys/window_icon.h"

namespace platform::winsys {
namespace {

namespace in = platform::winsys::input;

bool describe(HWND top, display::TopWindowFacts& out) {
  if (!IsWindow(top) || !GetWindowRect(top, &out.rect)) return false;
  out.style = static_cast<DWORD>(GetWindowLongA(top, GWL_STYLE));
  out.ex_style = static_cast<DWORD>(GetWindowLongA(top, GWL_EXSTYLE));
  out.owner = GetWindow(top, GW_OWNER);
  out.insets = {0, 0, 0, 0};
  if ((out.style & WS_CAPTION) == WS_CAPTION) {
    // The native decorations stand in for our frame and caption, not for the client edge.
    RECT r{0, 0, 0, 0};
    AdjustWindowRectEx(&r, out.style, FALSE, out.ex_style & ~(WS_EX_CLIENTEDGE | WS_EX_STATICEDGE));
    out.insets = {-r.left, -r.top, r.right, r.bottom};
  }
  char buf[512] = {};
  GetWindowTextA(top, buf, sizeof buf);
  out.title = codepage::ansi_to_utf8(buf);
  return true;
}

bool cursor_image(HCURSOR cursor, display::CursorImage& out) {
  cursors::ArgbImage img;
  if (!cursors::icon_pixels(cursor, img)) return false;
  out.width = img.width;
  out.height = img.height;
  out.hotspot = img.hotspot;
  out.pixels = std::move(img.pixels);
  return true;
}

display::InputSink make_sink() {
  display::InputSink sink;
  sink.clock = in::event_clock;
  sink.mouse_move = in::mouse_move;
  sink.mouse_button = [](display::MouseButton b, bool down, POINT screen, DWORD time) {
    in::mouse_button(static_cast<in::Button>(b), down, screen, time);
  };
  sink.mouse_wheel = in::mouse_wheel;
  sink.mouse_left_screen = in::mouse_left_screen;
  sink.key = in::key;
  sink.text = in::text;
  sink.key_is_down = keyboard::is_down;
  sink.character_for_key = [](UINT vk) { return keyboard::character_for_key(vk); };
  sink.keyboard_window = [] { return GetActiveWindow(); };
  sink.describe = describe;
  sink.activate = [](HWND top) { SetActiveWindow(top); };
  sink.close = [](HWND top) { PostMessageA(top, WM_SYSCOMMAND, SC_CLOSE, 0); };
  sink.moved = [](HWND top, POINT origin) {
    SetWindowPos(top, nullptr, origin.x, origin.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  };
  sink.resized = [](HWND top, SIZE size) {
    SetWindowPos(top, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  };
  sink.mouse_captured = [] { return GetCapture() != nullptr; };
  sink.with_surface = with_surface;
  sink.system_cursor_id = cursors::system_cursor_id;
  sink.cursor_image = cursor_image;
  sink.window_icon = window_icon;
  return sink;
}

}  // namespace

void install_display_sink() {
  static std::once_flag once;
  std::call_once(once, [] { display::set_input_sink(make_sink()); });
}

}  // namespace platform::winsys
