// Helpers shared by the control window procedures: per-window state, notifications to the
// parent, colours asked of the parent, and the 3-D face of push buttons.
#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/api.h"

namespace platform::controls {

// The state of every window of one control class, keyed by window handle. A control attaches
// its state on WM_NCCREATE and detaches it on WM_NCDESTROY. A window procedure holds the pointer
// `find` gives for the whole message, so a handler that destroys its own window (or sends a
// notification whose handler does) still works on live state; it is freed with the last holder.
template <class State>
class StateTable {
 public:
  using Ptr = std::shared_ptr<State>;

  Ptr attach(HWND hwnd) {
    auto state = std::make_shared<State>();
    Ptr replaced;
    std::lock_guard lock(mutex_);
    replaced = std::exchange(states_[hwnd], state);
    return state;
  }
  Ptr find(HWND hwnd) const {
    std::lock_guard lock(mutex_);
    auto it = states_.find(hwnd);
    return it == states_.end() ? nullptr : it->second;
  }
  // The frame of a control's window procedure: the state is made on WM_NCCREATE (told its window
  // when it keeps one) and dropped on WM_NCDESTROY, both then passed to DefWindowProcA; any other
  // message goes to `handle(state)` with the state held throughout, or to DefWindowProcA for a
  // window that has none.
  template <class Handle>
  LRESULT serve(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, Handle&& handle) {
    if (msg == WM_NCCREATE) {
      Ptr state = attach(hwnd);
      if constexpr (requires { state->hwnd = hwnd; }) state->hwnd = hwnd;
      return DefWindowProcA(hwnd, msg, wp, lp);
    }
    if (msg == WM_NCDESTROY) {
      detach(hwnd);
      return DefWindowProcA(hwnd, msg, wp, lp);
    }
    Ptr state = find(hwnd);
    if (!state) return DefWindowProcA(hwnd, msg, wp, lp);
    return handle(*state);
  }
  // For state kept on behalf of windows of any class (no WM_NCCREATE of ours to attach it on).
  Ptr find_or_attach(HWND hwnd) {
    std::lock_guard lock(mutex_);
    auto& slot = states_[hwnd];
    if (!slot) slot = std::make_shared<State>();
    return slot;
  }
  // Drops the state of every window `gone(hwnd)` says is gone.
  template <class Gone>
  void detach_if(Gone gone) {
    std::vector<Ptr> released;  // freed after the lock, as in detach
    std::lock_guard lock(mutex_);
    for (auto it = states_.begin(); it != states_.end();) {
      if (gone(it->first)) {
        released.push_back(std::move(it->second));
        it = states_.erase(it);
      } else {
        ++it;
      }
    }
  }
  void detach(HWND hwnd) {
    Ptr gone;  // released after the lock: a state's destructor may call into the window system
    std::lock_guard lock(mutex_);
    auto it = states_.find(hwnd);
    if (it == states_.end()) return;
    gone = std::move(it->second);
    states_.erase(it);
  }

 private:
  mutable std::mutex mutex_;
  std::unordered_map<HWND, Ptr> states_;
};

// Registers one of the system's control classes: its name, procedure, class style and (system)
// cursor.
inline void register_control_class(LPCSTR name, WNDPROC proc, UINT style, LPCSTR cursor = IDC_ARROW) {
  WNDCLASSA wc{};
  wc.style = style;
  wc.lpfnWndProc = proc;
  wc.hCursor = LoadCursorA(nullptr, cursor);
  wc.lpszClassName = name;
  RegisterClassA(&wc);
}

// Selects a GDI object into a DC for the scope and puts the previous one back.
class ScopedSelect {
 public:
  ScopedSelect(HDC dc, HGDIOBJ object) : dc_(dc), previous_(object ? SelectObject(dc, object) : nullptr) {}
  ~ScopedSelect() {
    if (previous_) SelectObject(dc_, previous_);
  }
  ScopedSelect(const ScopedSelect&) = delete;
  ScopedSelect& operator=(const ScopedSelect&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// Owns a GDI object created for one drawing step.
class OwnedGdiObject {
 public:
  explicit OwnedGdiObject(HGDIOBJ object) : object_(object) {}
  ~OwnedGdiObject() {
    if (object_) DeleteObject(object_);
  }
  OwnedGdiObject(const OwnedGdiObject&) = delete;
  OwnedGdiObject& operator=(const OwnedGdiObject&) = delete;
  HGDIOBJ get() const { return object_; }

 private:
  HGDIOBJ object_;
};

// Saves the whole DC state for the scope (clip, colours, selected objects).
class ScopedDcState {
 public:
  explicit ScopedDcState(HDC dc) : dc_(dc), saved_(SaveDC(dc)) {}
  ~ScopedDcState() {
    if (saved_) RestoreDC(dc_, saved_);
  }
  ScopedDcState(const ScopedDcState&) = delete;
  ScopedDcState& operator=(const ScopedDcState&) = delete;

 private:
  HDC dc_;
  int saved_;
};

// IsWindow for a public entry point: false also sets ERROR_INVALID_WINDOW_HANDLE.
bool live_window(HWND hwnd);

RECT client_rect(HWND hwnd);
std::string window_text(HWND hwnd);
DWORD window_style(HWND hwnd);
bool point_in(const RECT& r, POINT p);

// Sends WM_COMMAND(id, code) to the parent (or owner). May run any code of the program: the
// control can be gone afterwards.
void notify_parent(HWND control, WORD code);

// Prepares `dc` with the classic defaults (button text colour, button face background,
// transparent text), asks the parent with `ctlcolor_message` (WM_CTLCOLORBTN,
// WM_CTLCOLORSTATIC) and returns the brush to fill the background with: the parent's answer,
// or the button face brush when the parent has none.
HBRUSH parent_colours(HWND control, HDC dc, UINT ctlcolor_message);

// The font to draw a control's text with: its own or the stock GUI font.
HFONT font_or_default(HFONT font);

// The classic push button face over `rect`: a black frame for the default button, then raised
// edges (sunken when pressed) around the button face colour. Returns the inside of the frame.
struct FaceLook {
  bool pressed = false;
  bool is_default = false;
  bool flat = false;
  bool checked = false;  // push-like check boxes: a lighter, sunken face
};
RECT draw_push_face(HDC dc, RECT rect, const FaceLook& look);

void fill_rect(HDC dc, const RECT& rect, COLORREF colour);

}  // namespace platform::controls
