// The test-facing functions of the headless display: they drive the window system above it.
#include <cairo.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>

#include "platform/api/input.h"
#include "platform/api/kernel.h"
#include "platform/api/user.h"
#include "platform/display/headless_backend.h"
#include "platform/gdi/device_scale.h"
#include "platform/gdi/screen_info.h"
#include "platform/kernel/clock.h"
#include "platform/winsys/display_sink.h"
#include "platform/winsys/headless.h"
#include "platform/winsys/keyboard_state.h"
#include "platform/winsys/queue_access.h"
#include "platform/winsys/surface_access.h"
#include "platform/winsys/window_access.h"

namespace platform::headless {
namespace {

using display::RawEvent;

bool inject(RawEvent e) {
  display::HeadlessBackend* b = display::headless_backend();
  if (!b) return false;
  winsys::install_display_sink();  // so the event is stamped on the window system's clock
  b->inject(std::move(e));
  return true;
}

bool to_screen(HWND hwnd, POINT& p) {
  return IsWindow(hwnd) && ClientToScreen(hwnd, &p);
}

RawEvent button_event(Button button, bool down, POINT screen) {
  RawEvent e;
  e.kind = RawEvent::Kind::button;
  e.button = static_cast<display::MouseButton>(button);
  e.down = down;
  e.pt = screen;
  return e;
}

bool inject_key(UINT vk, bool down) {
  RawEvent e;
  e.kind = RawEvent::Kind::key;
  e.vk = vk;
  e.down = down;
  return vk > 0 && vk < 256 && inject(e);
}

// Where `hwnd`'s window rectangle sits on its top-level window's surface.
bool window_on_surface(HWND hwnd, HWND& top, RECT& rect) {
  top = winsys::top_level_of(hwnd);
  RECT wr{}, tr{};
  if (!top || !GetWindowRect(hwnd, &wr) || !GetWindowRect(top, &tr)) return false;
  rect = {wr.left - tr.left, wr.top - tr.top, wr.right - tr.left, wr.bottom - tr.top};
  return true;
}

}  // namespace

bool active() {
  return display::headless_backend() != nullptr;
}

bool mouse_move(POINT screen) {
  RawEvent e;
  e.kind = RawEvent::Kind::move;
  e.pt = screen;
  return inject(e);
}

bool mouse_move(HWND hwnd, POINT client) {
  return to_screen(hwnd, client) && mouse_move(client);
}

bool mouse_button(Button button, bool down, POINT screen) {
  return inject(button_event(button, down, screen));
}

bool mouse_button(HWND hwnd, Button button, bool down, POINT client) {
  return to_screen(hwnd, client) && mouse_button(button, down, client);
}

bool click(HWND hwnd, POINT client, Button button) {
  if (!to_screen(hwnd, client)) return false;
  return mouse_move(client) && mouse_button(button, true, client) && mouse_button(button, false, client);
}

bool click_device(HWND top, POINT device, Button button) {
  RECT wr{};
  if (!IsWindow(top) || !GetWindowRect(top, &wr)) return false;
  const POINT p = gdi::device_to_screen(wr, device, gdi::screen_scale());
  return mouse_move(p) && mouse_button(button, true, p) && mouse_button(button, false, p);
}

bool set_scale(double factor) {
  if (!active() || !(factor >= 1.0 && factor <= 4.0)) return false;
  const int q = gdi::scale_quarters(factor);
  display::headless_backend()->set_scale(q);
  gdi::set_screen_scale(q);
  const SIZE device = display::headless_backend()->screen_size();
  gdi::set_screen_size(gdi::to_logical_size(device.cx, q), gdi::to_logical_size(device.cy, q));
  return true;
}

bool double_click(HWND hwnd, POINT client, Button button) {
  if (!to_screen(hwnd, client)) return false;
  return mouse_move(client) && mouse_button(button, true, client) && mouse_button(button, false, client) &&
         mouse_button(button, true, client) && mouse_button(button, false, client);
}

bool wheel(HWND hwnd, POINT client, int delta) {
  if (!to_screen(hwnd, client)) return false;
  RawEvent e;
  e.kind = RawEvent::Kind::wheel;
  e.pt = client;
  e.delta = delta;
  return inject(e);
}

bool key_down(UINT vk) {
  return inject_key(vk, true);
}

bool key_up(UINT vk) {
  return inject_key(vk, false);
}

bool key_press(UINT vk) {
  return key_down(vk) && key_up(vk);
}

bool text(std::string_view utf8) {
  RawEvent e;
  e.kind = RawEvent::Kind::text;
  e.text = utf8;
  return inject(e);
}

void advance_clock(DWORD ms) {
  if (display::HeadlessBackend* b = display::headless_backend()) b->advance_clock(ms);
}

bool use_manual_clock(bool manual) {
  if (!active()) return false;
  platform::clock::set_manual(manual);
  return true;
}

bool advance_time(DWORD ms) {
  return active() && platform::clock::advance(ms);
}

void reset_input() {
  winsys::keyboard::reset();
  advance_clock(60'000);
}

void run_until_idle(const std::function<bool(MSG&)>& pretranslate) {
  display::HeadlessBackend* b = display::headless_backend();
  // Only the display thread takes input from the backend; other threads just run their queue.
  DWORD display_thread = winsys::display_thread_id();
  if (display_thread != 0 && display_thread != GetCurrentThreadId()) b = nullptr;
  constexpr int kLimit = 1'000'000;
  // PeekMessageA may deliver input while it looks and still answer "nothing": only two quiet
  // rounds in a row (no message, no input left) mean idle.
  int quiet = 0;
  for (int n = 0; n < kLimit; ++n) {
    MSG msg{};
    if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      quiet = 0;
      if (msg.message == WM_QUIT) {
        PostQuitMessage(static_cast<int>(msg.wParam));
        return;
      }
      if (pretranslate && pretranslate(msg)) continue;
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
      continue;
    }
    if (b && b->pump()) {
      quiet = 0;
      continue;
    }
    if (++quiet >= 2) return;
  }
  std::fprintf(stderr, "headless: run_until_idle gave up after %d messages\n", kLimit);
}

bool save_png(HWND hwnd, const std::string& path) {
  HWND top = nullptr;
  RECT r{};
  if (path.empty() || !IsWindow(hwnd) || !window_on_surface(hwnd, top, r)) return false;
  UpdateWindow(hwnd);
  bool ok = false;
  std::string temp = path + ".partial";
  winsys::with_surface(top, [&](cairo_surface_t* surface) {
    // Device pixels: the window as the screen shows it.
    const int q = gdi::surface_scale(surface);
    r = gdi::to_device(r, q);
    int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0) return;
    std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)> out(
        cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h), cairo_surface_destroy);
    std::unique_ptr<cairo_t, decltype(&cairo_destroy)> cr(cairo_create(out.get()), cairo_destroy);
    cairo_scale(cr.get(), q / 4.0, q / 4.0);  // undoes the surface's own device scale
    cairo_set_source_surface(cr.get(), surface, -r.left * 4.0 / q, -r.top * 4.0 / q);
    cairo_set_operator(cr.get(), CAIRO_OPERATOR_SOURCE);
    cairo_paint(cr.get());
    cr.reset();
    ok = cairo_surface_write_to_png(out.get(), temp.c_str()) == CAIRO_STATUS_SUCCESS;
  });
  std::error_code ec;
  if (ok) std::filesystem::rename(temp, path, ec);
  if (!ok || ec) {
    std::filesystem::remove(temp, ec);
    return false;
  }
  return true;
}

COLORREF read_pixel(HWND hwnd, int x, int y) {
  constexpr COLORREF kInvalid = 0xFFFFFFFF;
  HWND top = nullptr;
  RECT wr{};
  POINT origin{0, 0};
  RECT client{};
  if (!IsWindow(hwnd) || !GetClientRect(hwnd, &client) || x < 0 || y < 0 || x >= client.right ||
      y >= client.bottom || !window_on_surface(hwnd, top, wr) || !ClientToScreen(hwnd, &origin))
    return kInvalid;
  RECT tr{};
  GetWindowRect(top, &tr);
  int sx = origin.x - tr.left + x, sy = origin.y - tr.top + y;
  COLORREF result = kInvalid;
  winsys::with_surface(top, [&](cairo_surface_t* surface) {
    cairo_surface_flush(surface);
    const int q = gdi::surface_scale(surface);
    sx = static_cast<int>(gdi::to_device(sx, q));
    sy = static_cast<int>(gdi::to_device(sy, q));
    int w = cairo_image_surface_get_width(surface), h = cairo_image_surface_get_height(surface);
    if (sx < 0 || sy < 0 || sx >= w || sy >= h) return;
    const unsigned char* row =
        cairo_image_surface_get_data(surface) + sy * cairo_image_surface_get_stride(surface);
    std::uint32_t p;
    std::memcpy(&p, row + sx * 4, 4);
    result = RGB(static_cast<BYTE>(p >> 16), static_cast<BYTE>(p >> 8), static_cast<BYTE>(p));
  });
  return result;
}

SIZE client_device_size(HWND hwnd) {
  HWND top = winsys::top_level_of(hwnd);
  RECT client{}, tr{};
  POINT origin{0, 0};
  SIZE out{0, 0};
  if (!top || !GetClientRect(hwnd, &client) || !ClientToScreen(hwnd, &origin) || !GetWindowRect(top, &tr))
    return out;
  const RECT on_surface{origin.x - tr.left, origin.y - tr.top, origin.x - tr.left + client.right,
                        origin.y - tr.top + client.bottom};
  winsys::with_surface(top, [&](cairo_surface_t* surface) {
    const RECT d = gdi::to_device(on_surface, gdi::surface_scale(surface));
    out = SIZE{d.right - d.left, d.bottom - d.top};
  });
  return out;
}

HCURSOR shown_cursor() {
  display::HeadlessBackend* b = display::headless_backend();
  return b ? b->shown_cursor() : nullptr;
}

std::string clipboard_text() {
  display::HeadlessBackend* b = display::headless_backend();
  return b ? b->clipboard_text() : std::string();
}

}  // namespace platform::headless
