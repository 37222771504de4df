// The SDL display backend: windows, presentation, cursors, clipboard and the event pump.
#include "platform/display/sdl_backend.h"

#include <SDL.h>
#include <cairo.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

#include "platform/api/input.h"
#include "platform/api/user.h"  // style bits only; the window system answers through the sink
#include "platform/display/cursor_scale.h"
#include "platform/display/desktop_scale.h"
#include "platform/display/input_sink.h"
#include "platform/display/sdl_keymap.h"
#include "platform/display/sdl_window_icon.h"
#include "platform/display/sdl_x11_errors.h"
#include "platform/display/sdl_x11_hints.h"
#include "platform/display/sdl_x11_present.h"
#include "platform/display/sdl_x11_resources.h"
#include "platform/display/sdl_x11_title.h"
#include "platform/gdi/device_scale.h"

namespace platform::display {
namespace {

struct SurfaceDeleter {
  void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }
};
struct CursorDeleter {
  void operator()(SDL_Cursor* c) const { SDL_FreeCursor(c); }
};
using CursorPtr = std::unique_ptr<SDL_Cursor, CursorDeleter>;

// One of our top-level windows shown as an SDL window.
struct Shown {
  SDL_Window* window = nullptr;
  RECT rect{};    // our window rectangle, screen coordinates
  RECT insets{};  // frame and caption replaced by the native decorations
  bool popup = false;
  // Another client destroyed the X window: nothing more is asked of it but SDL's own teardown.
  bool gone = false;
  // What the window manager was last told of the frame (captioned windows only).
  bool framed = false;
  DWORD framed_style = 0, framed_ex_style = 0;
  HWND framed_owner = nullptr;
  // Puts pixels straight into the X window; null until first presented, or on other displays.
  std::unique_ptr<sdl::X11Presenter> x11;
  bool presenter_chosen = false;
};

RECT union_rect(const RECT& a, const RECT& b) {
  if (a.right <= a.left || a.bottom <= a.top) return b;
  return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
          std::max(a.bottom, b.bottom)};
}

bool has_caption(DWORD style) {
  return (style & WS_CAPTION) == WS_CAPTION;
}

// What the window system says of `top`; empty facts for a window it no longer knows.
TopWindowFacts facts_of(HWND top) {
  TopWindowFacts f;
  if (!input_sink().describe(top, f)) f = {};
  return f;
}

// Where a window's content (what the native frame does not replace) is on the screen, in device
// pixels: the same edges as on the window's backing store.
SDL_Rect device_content(const RECT& window, const RECT& insets, int q) {
  const auto x = gdi::to_device(window.left + insets.left, q), y = gdi::to_device(window.top + insets.top, q);
  const LONG w = window.right - window.left, h = window.bottom - window.top;
  const auto cw = gdi::to_device(w - insets.right, q) - gdi::to_device(insets.left, q);
  const auto ch = gdi::to_device(h - insets.bottom, q) - gdi::to_device(insets.top, q);
  return SDL_Rect{static_cast<int>(x), static_cast<int>(y), static_cast<int>(std::max<long long>(1, cw)),
                  static_cast<int>(std::max<long long>(1, ch))};
}

int desktop_scale() {
  ScaleSources sources;
  sources.lyrics_scale = std::getenv("LYRICS_SCALE");
  sources.gdk_scale = std::getenv("GDK_SCALE");
  const std::string driver = SDL_GetCurrentVideoDriver() ? SDL_GetCurrentVideoDriver() : "";
  std::string dpi;
  if (driver == "x11" && !(sources.lyrics_scale && *sources.lyrics_scale))
    dpi = sdl::x11_resource("Xft.dpi", "Xft.Dpi");
  if (!dpi.empty()) sources.xft_dpi = dpi.c_str();
  float ddpi = 0;
  if (driver == "wayland" && SDL_GetDisplayDPI(0, &ddpi, nullptr, nullptr) == 0 && ddpi > 0)
    sources.wayland_scale = ddpi / 96.0;
  const DesktopScale chosen = choose_scale(sources);
  if (const char* debug = std::getenv("LYRICS_DEBUG"); debug && *debug)
    std::fprintf(stderr, "display: scale %.2f (%s)\n", chosen.quarters / 4.0, chosen.source.c_str());
  return chosen.quarters;
}

// What a window manager is told of a captioned window: an owned window or a modal frame (a
// message box, a dialog) is a dialog, which never minimises or maximises on its own; otherwise
// the minimise and maximise boxes decide; only a sizing border resizes; the system menu brings
// the close button.
sdl::FrameHints frame_hints(const TopWindowFacts& facts) {
  sdl::FrameHints f;
  f.dialog = facts.owner != nullptr || (facts.ex_style & WS_EX_DLGMODALFRAME) != 0;
  f.resize = (facts.style & WS_THICKFRAME) != 0;
  f.minimise = !f.dialog && (facts.style & WS_MINIMIZEBOX) != 0;
  f.maximise = !f.dialog && (facts.style & WS_MAXIMIZEBOX) != 0;
  f.close = (facts.style & WS_SYSMENU) != 0;
  return f;
}

SDL_SystemCursor sdl_system_cursor(WORD id, bool& found) {
  found = true;
  switch (id) {
    case 32512:
      return SDL_SYSTEM_CURSOR_ARROW;
    case 32513:
      return SDL_SYSTEM_CURSOR_IBEAM;
    case 32514:
      return SDL_SYSTEM_CURSOR_WAIT;
    case 32515:
      return SDL_SYSTEM_CURSOR_CROSSHAIR;
    case 32642:
      return SDL_SYSTEM_CURSOR_SIZENWSE;
    case 32643:
      return SDL_SYSTEM_CURSOR_SIZENESW;
    case 32644:
      return SDL_SYSTEM_CURSOR_SIZEWE;
    case 32645:
      return SDL_SYSTEM_CURSOR_SIZENS;
    case 32646:
      return SDL_SYSTEM_CURSOR_SIZEALL;
    case 32648:
      return SDL_SYSTEM_CURSOR_NO;
    case 32649:
      return SDL_SYSTEM_CURSOR_HAND;
    case 32650:
      return SDL_SYSTEM_CURSOR_WAITARROW;
    default:
      found = false;
      return SDL_SYSTEM_CURSOR_ARROW;
  }
}

class SdlBackend final : public Backend {
 public:
  explicit SdlBackend(Uint32 wake_type) : wake_type_(wake_type), thread_(std::this_thread::get_id()) {
    SDL_Rect bounds{0, 0, 1280, 800};
    if (SDL_GetDisplayBounds(0, &bounds) == 0) screen_ = {bounds.w, bounds.h};
    scale_ = desktop_scale();
    SDL_StartTextInput();
    // Raw X events, for the one thing SDL does not report: a window destroyed from outside.
    SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE);
  }
  // The backend lives until the process ends, and the system then closes the display connection
  // with every window. Shutting SDL's video down at that point restores X's default error
  // handler and then flushes requests about windows the server may already have dropped, which
  // that handler turns into exit code 1 of a program that ended cleanly.
  ~SdlBackend() override = default;

  std::string_view name() const override { return "sdl"; }
  SIZE screen_size() const override { return screen_; }
  int scale() const override { return scale_; }
  int bits_per_pixel() const override { return 32; }

  void window_shown(HWND top) override;
  void window_hidden(HWND top) override;
  void window_destroyed(HWND top) override;
  void window_moved(HWND top, const RECT& screen_rect) override;
  void window_title(HWND top, std::string_view utf8) override;
  void window_activated(HWND top) override;
  void invalidate(HWND top, const RECT& dirty) override;
  void set_cursor(HCURSOR cursor) override;
  void set_capture(bool captured) override {
    if (on_thread()) SDL_CaptureMouse(captured ? SDL_TRUE : SDL_FALSE);
  }
  void set_cursor_pos(POINT screen) override {
    if (!on_thread()) return;
    last_pos_ = screen;  // the warp's own motion event is not a new move
    SDL_WarpMouseGlobal(static_cast<int>(gdi::to_device(screen.x, scale_)),
                        static_cast<int>(gdi::to_device(screen.y, scale_)));
  }
  bool set_clipboard_text(std::string_view utf8) override {
    if (!on_thread()) return false;
    return SDL_SetClipboardText(std::string(utf8).c_str()) == 0;
  }
  std::string clipboard_text() override {
    if (!on_thread()) return {};
    char* text = SDL_GetClipboardText();
    std::string result = text ? text : "";
    SDL_free(text);
    return result;
  }
  bool pump() override;
  void wait(int timeout_ms) override;
  void wake() override {
    if (wake_pending_.exchange(true)) return;
    SDL_Event e{};
    e.type = wake_type_;
    SDL_PushEvent(&e);
  }

 private:
  bool on_thread() const { return std::this_thread::get_id() == thread_; }
  HWND hwnd_of(Uint32 window_id) const;
  POINT screen_point(HWND top, int x, int y) const;
  void present();
  void present_one(HWND top, Shown& s, RECT dirty);
  void handle(const SDL_Event& e);
  void handle_window_event(const SDL_WindowEvent& e);
  void close_destroyed(Window gone);
  void handle_key(const SDL_KeyboardEvent& e);
  void give_focus_to_owner(HWND popup);
  void take_keyboard(Shown& s);
  void pass_keyboard_on(HWND gone);
  void apply_frame(Shown& s, const TopWindowFacts& facts);
  SDL_Cursor* sdl_cursor(HCURSOR cursor);

  Uint32 wake_type_;
  std::thread::id thread_;
  SIZE screen_{1280, 800};  // device pixels
  int scale_ = gdi::kUnitScale;
  std::atomic<bool> wake_pending_{false};
  std::map<HWND, Shown> shown_;
  std::mutex dirty_mutex_;
  std::map<HWND, RECT> dirty_;
  std::map<HCURSOR, CursorPtr> cursors_;
  POINT last_pos_{-100000, -100000};
  bool applying_system_change_ = false;
  // The window last given the keyboard at the display level (SDL learns of focus changes only
  // when their events are pumped, which may be after the window has gone).
  SDL_Window* keyboard_ = nullptr;
};

HWND SdlBackend::hwnd_of(Uint32 window_id) const {
  SDL_Window* w = SDL_GetWindowFromID(window_id);
  if (!w) return nullptr;
  for (const auto& [hwnd, s] : shown_)
    if (s.window == w) return hwnd;
  return nullptr;
}

POINT SdlBackend::screen_point(HWND top, int x, int y) const {
  auto it = shown_.find(top);
  if (it == shown_.end()) return {x, y};
  const RECT& r = it->second.rect;
  const RECT& in = it->second.insets;
  const POINT at_window{static_cast<LONG>(gdi::to_device(in.left, scale_) + x),
                        static_cast<LONG>(gdi::to_device(in.top, scale_) + y)};
  return gdi::device_to_screen(r, at_window, scale_);
}

void SdlBackend::window_shown(HWND top) {
  if (!on_thread()) return;
  Shown& s = shown_[top];
  if (s.gone) return;  // closing: its X window is no more
  const TopWindowFacts facts = facts_of(top);
  const RECT wr = facts.rect;
  const DWORD style = facts.style;
  s.rect = wr;
  s.insets = facts.insets;
  const SDL_Rect c = device_content(wr, s.insets, scale_);
  if (!s.window) {
    Uint32 flags = SDL_WINDOW_HIDDEN;
    if (!has_caption(style)) {
      flags |= SDL_WINDOW_BORDERLESS;
      if (style & WS_POPUP) {
        flags |= SDL_WINDOW_POPUP_MENU | SDL_WINDOW_SKIP_TASKBAR;
        s.popup = true;
      }
    } else if (style & WS_THICKFRAME) {
      flags |= SDL_WINDOW_RESIZABLE;
    }
    s.window = SDL_CreateWindow(facts.title.c_str(), c.x, c.y, c.w, c.h, flags);
    if (!s.window) {
      std::fprintf(stderr, "display: SDL could not create a window: %s\n", SDL_GetError());
      shown_.erase(top);
      return;
    }
    sdl::watch_x11_destruction(s.window);
    sdl::set_window_icon(s.window, top);
    sdl::fix_x11_window_name(s.window, facts.title);
  } else {
    SDL_SetWindowPosition(s.window, c.x, c.y);
    SDL_SetWindowSize(s.window, c.w, c.h);
  }
  apply_frame(s, facts);
  SDL_ShowWindow(s.window);
  invalidate(top, {0, 0, wr.right - wr.left, wr.bottom - wr.top});
  if (s.popup)
    give_focus_to_owner(top);
  else if (input_sink().keyboard_window() == top)
    take_keyboard(s);
}

// Tells the window manager what a captioned window is: whether it resizes, which frame buttons
// it has, and whether it is a dialog kept above its owner. Done before the window is first
// mapped, when window managers decide its frame, and again whenever its styles or owner have
// changed since. Our own hints go last, as SDL's calls may rewrite the size hints.
void SdlBackend::apply_frame(Shown& s, const TopWindowFacts& facts) {
  if (!has_caption(facts.style)) return;
  if (s.framed && s.framed_style == facts.style && s.framed_ex_style == facts.ex_style &&
      s.framed_owner == facts.owner)
    return;
  SDL_SetWindowResizable(s.window, (facts.style & WS_THICKFRAME) ? SDL_TRUE : SDL_FALSE);
  sdl::FrameHints hints = frame_hints(facts);
  auto owner = facts.owner ? shown_.find(facts.owner) : shown_.end();
  if (owner != shown_.end() && owner->second.window && !owner->second.gone) {
    hints.owner = owner->second.window;
    SDL_SetWindowModalFor(s.window, hints.owner);  // the same on X11; other drivers need it
  }
  sdl::set_x11_frame_hints(s.window, hints);
  s.framed = true;
  s.framed_style = facts.style;
  s.framed_ex_style = facts.ex_style;
  s.framed_owner = facts.owner;
}

void SdlBackend::take_keyboard(Shown& s) {
  if (!s.window || s.gone || keyboard_ == s.window) return;
  SDL_RaiseWindow(s.window);
  // Without a window manager nobody else moves the X input focus, and the keys would stay with
  // a message box that has closed.
  SDL_SetWindowInputFocus(s.window);
  keyboard_ = s.window;
}

// The window holding the keyboard went away: the active window (or the owner) takes it.
void SdlBackend::pass_keyboard_on(HWND gone) {
  HWND next = input_sink().keyboard_window();
  if (!next || next == gone) next = facts_of(gone).owner;
  auto it = next && next != gone ? shown_.find(next) : shown_.end();
  if (it != shown_.end() && !it->second.popup) take_keyboard(it->second);
}

void SdlBackend::give_focus_to_owner(HWND popup) {
  HWND owner = facts_of(popup).owner;
  if (!owner) owner = input_sink().keyboard_window();
  auto it = owner && owner != popup ? shown_.find(owner) : shown_.end();
  if (it == shown_.end() || !it->second.window || it->second.gone) return;
  SDL_SetWindowInputFocus(it->second.window);
  keyboard_ = it->second.window;
}

void SdlBackend::window_hidden(HWND top) {
  if (!on_thread()) return;
  auto it = shown_.find(top);
  if (it == shown_.end() || !it->second.window) return;
  // SDL waits for the X server to confirm the unmapping, which never comes for a window that is
  // no more (with a window manager its unmapping has been read already): it would wait forever.
  if (!it->second.gone) SDL_HideWindow(it->second.window);
  if (keyboard_ != it->second.window) return;
  keyboard_ = nullptr;
  pass_keyboard_on(top);
}

void SdlBackend::window_destroyed(HWND top) {
  if (!on_thread()) return;
  auto it = shown_.find(top);
  if (it == shown_.end()) return;
  const bool had_keyboard = it->second.window && keyboard_ == it->second.window;
  if (it->second.window && it->second.gone) sdl::release_destroyed_x11_window(it->second.window);
  if (it->second.window) SDL_DestroyWindow(it->second.window);
  shown_.erase(it);
  {
    std::lock_guard lock(dirty_mutex_);
    dirty_.erase(top);
  }
  if (!had_keyboard) return;
  keyboard_ = nullptr;
  pass_keyboard_on(top);
}

void SdlBackend::window_moved(HWND top, const RECT& screen_rect) {
  if (!on_thread()) return;
  auto it = shown_.find(top);
  if (it == shown_.end()) return;
  Shown& s = it->second;
  bool resized = (screen_rect.right - screen_rect.left) != (s.rect.right - s.rect.left) ||
                 (screen_rect.bottom - screen_rect.top) != (s.rect.bottom - s.rect.top);
  s.rect = screen_rect;
  const TopWindowFacts facts = facts_of(top);
  s.insets = facts.insets;
  if (applying_system_change_ || !s.window || s.gone) return;
  apply_frame(s, facts);
  const SDL_Rect c = device_content(screen_rect, s.insets, scale_);
  SDL_SetWindowPosition(s.window, c.x, c.y);
  if (resized) SDL_SetWindowSize(s.window, c.w, c.h);
  invalidate(top, {0, 0, screen_rect.right - screen_rect.left, screen_rect.bottom - screen_rect.top});
}

void SdlBackend::window_title(HWND top, std::string_view utf8) {
  if (!on_thread()) return;
  auto it = shown_.find(top);
  if (it == shown_.end() || !it->second.window || it->second.gone) return;
  SDL_SetWindowTitle(it->second.window, std::string(utf8).c_str());
  sdl::fix_x11_window_name(it->second.window, utf8);
}

void SdlBackend::window_activated(HWND top) {
  if (!on_thread()) return;
  auto it = shown_.find(top);
  if (it == shown_.end() || !it->second.window || it->second.popup) return;
  take_keyboard(it->second);
}

void SdlBackend::invalidate(HWND top, const RECT& dirty) {
  {
    std::lock_guard lock(dirty_mutex_);
    RECT& d = dirty_[top];
    d = union_rect(d, dirty);
  }
  if (!on_thread()) wake();
}

void SdlBackend::present() {
  std::map<HWND, RECT> dirty;
  {
    std::lock_guard lock(dirty_mutex_);
    dirty.swap(dirty_);
  }
  for (auto& [top, rect] : dirty) {
    auto it = shown_.find(top);
    if (it != shown_.end() && it->second.window && !it->second.gone) present_one(top, it->second, rect);
  }
}

void SdlBackend::present_one(HWND top, Shown& s, RECT dirty) {
  if (!s.presenter_chosen) {
    bool vanished = false;
    s.x11 = sdl::X11Presenter::for_window(s.window, vanished);
    // Another client destroyed the X window a moment ago, and its DestroyNotify is on the way.
    // SDL's window surface would only make resources for it (a GC) whose every use then fails.
    if (vanished) return;
    s.presenter_chosen = true;
  }
  SDL_Surface* target = nullptr;
  int target_w = 0, target_h = 0;
  if (s.x11) {
    SDL_GetWindowSize(s.window, &target_w, &target_h);
  } else {
    target = SDL_GetWindowSurface(s.window);
    if (!target) return;
    target_w = target->w;
    target_h = target->h;
  }
  bool drawn = false;
  SDL_Rect dst{};
  input_sink().with_surface(top, [&](cairo_surface_t* surface) {
    cairo_surface_flush(surface);
    int sw = cairo_image_surface_get_width(surface), sh = cairo_image_surface_get_height(surface);
    // Device pixels of the visible content, clipped to the dirty part and to both surfaces.
    const RECT d = gdi::to_device(dirty, scale_);
    const SDL_Rect c =
        device_content(RECT{0, 0, s.rect.right - s.rect.left, s.rect.bottom - s.rect.top}, s.insets, scale_);
    LONG left = std::max<LONG>(d.left, c.x), top_y = std::max<LONG>(d.top, c.y);
    LONG right = std::min<LONG>(
        {d.right, static_cast<LONG>(sw), static_cast<LONG>(c.x + c.w), static_cast<LONG>(c.x + target_w)});
    LONG bottom = std::min<LONG>(
        {d.bottom, static_cast<LONG>(sh), static_cast<LONG>(c.y + c.h), static_cast<LONG>(c.y + target_h)});
    if (right <= left || bottom <= top_y) return;
    SDL_Rect src_rect{left, top_y, right - left, bottom - top_y};
    dst = {left - c.x, top_y - c.y, src_rect.w, src_rect.h};
    if (s.x11) {
      s.x11->put(cairo_image_surface_get_data(surface), sw, sh, cairo_image_surface_get_stride(surface),
                 src_rect, dst.x, dst.y);
      return;
    }
    std::unique_ptr<SDL_Surface, SurfaceDeleter> src(SDL_CreateRGBSurfaceWithFormatFrom(
        cairo_image_surface_get_data(surface), sw, sh, 32, cairo_image_surface_get_stride(surface),
        SDL_PIXELFORMAT_ARGB8888));
    if (!src) return;
    SDL_SetSurfaceBlendMode(src.get(), SDL_BLENDMODE_NONE);
    SDL_Rect blit_dst = dst;
    drawn = SDL_BlitSurface(src.get(), &src_rect, target, &blit_dst) == 0;
  });
  if (drawn) SDL_UpdateWindowSurfaceRects(s.window, &dst, 1);
}

SDL_Cursor* SdlBackend::sdl_cursor(HCURSOR cursor) {
  auto it = cursors_.find(cursor);
  if (it != cursors_.end()) return it->second.get();
  SDL_Cursor* made = nullptr;
  bool system = false;
  const InputSink sink = input_sink();
  SDL_SystemCursor id = sdl_system_cursor(sink.system_cursor_id(cursor), system);
  if (system) {
    made = SDL_CreateSystemCursor(id);
  } else {
    CursorImage img;
    if (sink.cursor_image(cursor, img) && img.width > 0) {
      img = scaled_cursor(img, scale_);
      std::unique_ptr<SDL_Surface, SurfaceDeleter> surface(SDL_CreateRGBSurfaceWithFormatFrom(
          img.pixels.data(), img.width, img.height, 32, img.width * 4, SDL_PIXELFORMAT_ARGB8888));
      if (surface) made = SDL_CreateColorCursor(surface.get(), img.hotspot.x, img.hotspot.y);
    }
  }
  if (!made) return nullptr;
  return cursors_.emplace(cursor, CursorPtr(made)).first->second.get();
}

void SdlBackend::set_cursor(HCURSOR cursor) {
  if (!on_thread()) return;
  if (!cursor) {
    SDL_ShowCursor(SDL_DISABLE);
    return;
  }
  if (SDL_Cursor* c = sdl_cursor(cursor)) SDL_SetCursor(c);
  SDL_ShowCursor(SDL_ENABLE);
}

bool SdlBackend::pump() {
  if (!on_thread()) return false;
  present();
  SDL_Event e;
  if (!SDL_PollEvent(&e)) return false;
  handle(e);
  return true;
}

void SdlBackend::wait(int timeout_ms) {
  if (!on_thread()) return;
  present();
  if (timeout_ms < 0)
    SDL_WaitEvent(nullptr);
  else
    SDL_WaitEventTimeout(nullptr, timeout_ms);
}

void SdlBackend::handle(const SDL_Event& e) {
  if (e.type == wake_type_) {
    wake_pending_ = false;
    return;
  }
  const InputSink sink = input_sink();
  switch (e.type) {
    case SDL_MOUSEMOTION: {
      HWND top = hwnd_of(e.motion.windowID);
      if (!top) return;
      POINT p = screen_point(top, e.motion.x, e.motion.y);
      if (p.x == last_pos_.x && p.y == last_pos_.y) return;
      last_pos_ = p;
      sink.mouse_move(p, e.motion.timestamp);
      return;
    }
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
      HWND top = hwnd_of(e.button.windowID);
      if (!top) return;
      MouseButton b;
      if (e.button.button == SDL_BUTTON_LEFT)
        b = MouseButton::left;
      else if (e.button.button == SDL_BUTTON_RIGHT)
        b = MouseButton::right;
      else if (e.button.button == SDL_BUTTON_MIDDLE)
        b = MouseButton::middle;
      else
        return;
      POINT p = screen_point(top, e.button.x, e.button.y);
      if (p.x != last_pos_.x || p.y != last_pos_.y) {
        last_pos_ = p;
        sink.mouse_move(p, e.button.timestamp);
      }
      // Our own double-click logic decides; SDL's click count is not used.
      sink.mouse_button(b, e.type == SDL_MOUSEBUTTONDOWN, p, e.button.timestamp);
      return;
    }
    case SDL_MOUSEWHEEL: {
      int steps = e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -e.wheel.y : e.wheel.y;
      if (steps) sink.mouse_wheel(steps * WHEEL_DELTA, last_pos_, e.wheel.timestamp);
      return;
    }
    case SDL_KEYDOWN:
    case SDL_KEYUP:
      handle_key(e.key);
      return;
    case SDL_TEXTINPUT: {
      std::string_view text = e.text.text;
      bool ascii = true;
      for (unsigned char c : text) ascii = ascii && c < 0x80;
      // Ctrl and Alt combinations already made their character from the key.
      if (ascii && (sink.key_is_down(VK_CONTROL) || sink.key_is_down(VK_MENU))) return;
      sink.text(text, e.text.timestamp);
      return;
    }
    case SDL_WINDOWEVENT:
      handle_window_event(e.window);
      return;
    case SDL_SYSWMEVENT:
      if (Window gone = sdl::destroyed_x11_window(e.syswm.msg)) close_destroyed(gone);
      return;
    default:
      return;
  }
}

// Another client destroyed one of our X windows (without a window manager nothing else ever
// closes it): the window is asked to close, as if its user had, so that the program never goes
// on without the window it can no longer show.
void SdlBackend::close_destroyed(Window gone) {
  HWND destroyed = nullptr;
  for (auto& [top, s] : shown_) {
    Display* display = nullptr;
    Window xwindow = 0;
    if (s.window == nullptr || s.gone || !sdl::x11_window_of(s.window, display, xwindow) || xwindow != gone)
      continue;
    destroyed = top;
    s.gone = true;
    s.x11.reset();
    if (keyboard_ == s.window) keyboard_ = nullptr;
  }
  if (destroyed == nullptr) return;
  sdl::note_x11_window_gone(gone);
  // Closing may destroy the window and take it out of shown_.
  input_sink().close(destroyed);
}

void SdlBackend::handle_key(const SDL_KeyboardEvent& e) {
  UINT vk = sdl::vk_from_sdl(e.keysym);
  if (!vk) return;
  bool down = e.type == SDL_KEYDOWN;
  const InputSink sink = input_sink();
  bool text_follows = false;
  if (down && SDL_IsTextInputActive() && !sink.key_is_down(VK_CONTROL) && !sink.key_is_down(VK_MENU))
    text_follows = sink.character_for_key(vk) >= 32;
  sink.key(vk, down, e.timestamp, text_follows);
}

void SdlBackend::handle_window_event(const SDL_WindowEvent& e) {
  HWND top = hwnd_of(e.windowID);
  if (!top) return;
  auto it = shown_.find(top);
  if (it == shown_.end()) return;
  Shown& s = it->second;
  const InputSink sink = input_sink();
  switch (e.event) {
    case SDL_WINDOWEVENT_CLOSE:
      sink.close(top);
      return;
    case SDL_WINDOWEVENT_MOVED: {
      const SDL_Rect c = device_content(s.rect, s.insets, scale_);
      if (e.data1 == c.x && e.data2 == c.y) return;
      applying_system_change_ = true;
      sink.moved(top, {static_cast<LONG>(gdi::to_logical(e.data1, scale_)) - s.insets.left,
                       static_cast<LONG>(gdi::to_logical(e.data2, scale_)) - s.insets.top});
      applying_system_change_ = false;
      return;
    }
    case SDL_WINDOWEVENT_SIZE_CHANGED: {
      const SDL_Rect c = device_content(s.rect, s.insets, scale_);
      if (e.data1 == c.w && e.data2 == c.h) return;
      applying_system_change_ = true;
      sink.resized(top, {gdi::to_logical_size(e.data1, scale_) + s.insets.left + s.insets.right,
                         gdi::to_logical_size(e.data2, scale_) + s.insets.top + s.insets.bottom});
      applying_system_change_ = false;
      invalidate(top, {0, 0, s.rect.right - s.rect.left, s.rect.bottom - s.rect.top});
      return;
    }
    case SDL_WINDOWEVENT_EXPOSED:
      invalidate(top, {0, 0, s.rect.right - s.rect.left, s.rect.bottom - s.rect.top});
      return;
    case SDL_WINDOWEVENT_FOCUS_GAINED:
      // Pop-ups (menus, drop-downs) never take the keyboard from their owner.
      if (s.popup) {
        give_focus_to_owner(top);
        return;
      }
      keyboard_ = s.window;
      if (sink.keyboard_window() != top) sink.activate(top);
      return;
    case SDL_WINDOWEVENT_FOCUS_LOST:
      if (keyboard_ == s.window) keyboard_ = nullptr;
      return;
    case SDL_WINDOWEVENT_LEAVE:
      if (!sink.mouse_captured()) sink.mouse_left_screen();
      return;
    default:
      return;
  }
}

}  // namespace

std::unique_ptr<Backend> make_sdl_backend(std::string& error) {
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
  SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
    error = SDL_GetError();
    return nullptr;
  }
  sdl::tolerate_x11_errors();
  Uint32 wake_type = SDL_RegisterEvents(1);
  if (wake_type == static_cast<Uint32>(-1)) {
    error = "no SDL user event left";
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return nullptr;
  }
  return std::make_unique<SdlBackend>(wake_type);
}

}  // namespace platform::display
