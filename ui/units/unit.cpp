#include "ui/units/unit.h"

#include "platform/api/controls.h"
#include "platform/api/listview.h"
#include "platform/api/user.h"
#include "runtime/abi/event_request.h"
#include "runtime/callback.h"
#include "runtime/window_system.h"
#include "ui/units/unit_cursor.h"
#include "ui/units/unit_interface.h"

namespace ui {

HWND create_unit_window(const UnitCreateArgs& args, LPCSTR class_name, LPCSTR text, DWORD style,
                        DWORD ex_style, HINSTANCE instance) {
  return CreateWindowExA(ex_style, class_name, text, style, args.left, args.top, args.width, args.height,
                         args.parent, reinterpret_cast<HMENU>(static_cast<std::uintptr_t>(args.control_id)),
                         instance, nullptr);
}
namespace {

constexpr const char* kUnitProperty = "LyrUnitObject";

// The child control a notification comes from, or null when the message is not one.
HWND notifying_child(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_COMMAND) return reinterpret_cast<HWND>(lp);
  if (msg == WM_NOTIFY) {
    const auto* header = reinterpret_cast<const NMHDR*>(lp);
    return header != nullptr ? header->hwndFrom : nullptr;
  }
  if (msg >= WM_CTLCOLORMSGBOX && msg <= 0x0138) return reinterpret_cast<HWND>(lp);
  (void)wp;
  return nullptr;
}

}  // namespace

Unit::~Unit() = default;

void Unit::attach(HWND hwnd) {
  hwnd_ = hwnd;
  SetPropA(hwnd, kUnitProperty, this);
  previous_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Unit::procedure)));
}

void Unit::destroy() {
  if (hwnd_ != nullptr && IsWindow(hwnd_)) {
    DestroyWindow(hwnd_);  // deletes this on WM_NCDESTROY
    return;
  }
  delete this;
}

Unit* Unit::from_window(HWND hwnd) {
  if (hwnd == nullptr) return nullptr;
  return static_cast<Unit*>(GetPropA(hwnd, kUnitProperty));
}

EventOutcome Unit::raise(std::int32_t event, std::initializer_list<std::uint32_t> args) const {
  runtime::SimpleEventRequest request{};
  request.window_id = window_id_;
  request.unit_id = unit_id_;
  request.event = event;
  for (std::uint32_t a : args) {
    if (request.count == 5) break;
    request.args[request.count++] = a;
  }
  EventOutcome outcome;
  outcome.handled = runtime::runtime_callback(runtime::callback::kRaiseEvent,
                                              reinterpret_cast<std::intptr_t>(&request), 0) != 0;
  outcome.result_present = request.result_present != 0;
  outcome.result = request.result;
  return outcome;
}

LRESULT Unit::handle_message(UINT msg, WPARAM wp, LPARAM lp) {
  return call_previous(msg, wp, lp);
}

bool Unit::on_reflected(UINT, WPARAM, LPARAM, LRESULT*) {
  return false;
}

LRESULT Unit::call_previous(UINT msg, WPARAM wp, LPARAM lp) {
  if (previous_ == nullptr) return DefWindowProcA(hwnd_, msg, wp, lp);
  return CallWindowProcA(previous_, hwnd_, msg, wp, lp);
}

LRESULT CALLBACK Unit::procedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  Unit* unit = from_window(hwnd);
  if (unit == nullptr) return DefWindowProcA(hwnd, msg, wp, lp);
  if (msg == kMsgGetUnitObject) return reinterpret_cast<LRESULT>(unit);
  // WM_SETCURSOR is sent, never posted, so the loop's pre-translation can't see it.
  if (msg == WM_SETCURSOR && apply_unit_cursor(hwnd, reinterpret_cast<HWND>(wp), LOWORD(lp))) return TRUE;
  if (HWND child = notifying_child(msg, wp, lp); child != nullptr && child != hwnd) {
    if (Unit* source = from_window(child)) {
      LRESULT result = 0;
      if (source->on_reflected(msg, wp, lp, &result)) return result;
    }
  }
  if (msg == WM_DRAWITEM) {
    const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
    if (Unit* source = item != nullptr ? from_window(item->hwndItem) : nullptr;
        source != nullptr && source != unit) {
      LRESULT result = 0;
      if (source->on_reflected(msg, wp, lp, &result)) return result;
    }
  }
  if (msg != WM_NCDESTROY) return unit->handle_message(msg, wp, lp);

  LRESULT result = unit->handle_message(msg, wp, lp);
  RemovePropA(hwnd, kUnitProperty);
  unit->on_destroyed();
  const std::uint32_t window_id = unit->window_id_;
  const std::uint32_t unit_id = unit->unit_id_;
  unit->hwnd_ = nullptr;
  delete unit;
  runtime::runtime_callback(runtime::callback::kUnitGone, window_id, unit_id);
  // A window's own unit going means a top-level window is gone: the last one ends the loop.
  if ((unit_id >> 24) == 0x06) runtime::after_window_destroyed();
  return result;
}

}  // namespace ui
