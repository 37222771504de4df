// The base of every unit object: a native window (a subclassed control or an own window class)
// that knows the window id and unit id it was created for.
// Contract:
// - attach(hwnd) subclasses the native window: every message goes to handle_message first,
//   whose default passes it to the window's previous procedure (call_previous).
// - The native window answers kMsgGetUnitObject with the object; from_window() finds the
//   object of a native window directly (null for windows that are not units).
// - The object belongs to its native window: when the window receives WM_NCDESTROY the object
//   reports the unit gone (runtime callback 2000) and deletes itself. destroy() is the way to
//   destroy a unit object. An object never attached may be deleted directly.
// - raise() delivers one of the unit's events through runtime callback 2008.
// - Notifications that a native window receives from a child control which is a unit
//   (WM_COMMAND from a control, WM_NOTIFY, WM_CTLCOLOR*, WM_DRAWITEM) are first offered to that
//   child's on_reflected(); when it answers true its result is the answer and the parent's own
//   procedure never sees the message. So each unit handles its own control's notifications
//   whatever unit its control sits in.
#pragma once

#include <cstdint>
#include <initializer_list>

#include "platform/api/messages.h"
#include "platform/api/types.h"
#include "platform/api/user.h"

namespace ui {

struct UnitCreateArgs;

// A unit's native window, of `class_name` with `text`, at the place and under the parent and
// control id that `args` give, with `style` (and `ex_style`); null when it could not be made.
HWND create_unit_window(const UnitCreateArgs& args, LPCSTR class_name, LPCSTR text, DWORD style,
                        DWORD ex_style = 0, HINSTANCE instance = nullptr);

struct EventOutcome {
  bool handled = false;         // a handler ran
  bool result_present = false;  // it returned a value
  std::uint32_t result = 0;
};

class Unit {
 public:
  Unit(std::uint32_t window_id, std::uint32_t unit_id) : window_id_(window_id), unit_id_(unit_id) {}
  virtual ~Unit();
  Unit(const Unit&) = delete;
  Unit& operator=(const Unit&) = delete;

  HWND hwnd() const { return hwnd_; }
  std::uint32_t window_id() const { return window_id_; }
  std::uint32_t unit_id() const { return unit_id_; }
  // A loaded window's own unit (unit class 0x06) rather than one of its controls.
  bool is_window_unit() const { return (unit_id_ >> 24) == 0x06; }

  void attach(HWND hwnd);
  // Destroys the native window (and with it this object); deletes an unattached object.
  void destroy();

  static Unit* from_window(HWND hwnd);

  EventOutcome raise(std::int32_t event, std::initializer_list<std::uint32_t> args = {}) const;

 protected:
  virtual LRESULT handle_message(UINT msg, WPARAM wp, LPARAM lp);
  LRESULT call_previous(UINT msg, WPARAM wp, LPARAM lp);
  // A notification of this unit's own control, sent to its parent window (see above).
  virtual bool on_reflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result);
  // Called from WM_NCDESTROY before the object reports itself gone and is deleted.
  virtual void on_destroyed() {}

 private:
  static LRESULT CALLBACK procedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

  HWND hwnd_ = nullptr;
  WNDPROC previous_ = nullptr;
  std::uint32_t window_id_;
  std::uint32_t unit_id_;
};

}  // namespace ui
