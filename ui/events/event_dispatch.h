// Delivering events from units to the application's handlers (runtime callbacks 2008 and 2031).
// Contract:
// - find_event_handler answers the handler bound to (window id, unit id, event number), or null:
//   always null while events are blocked; null when the unit has no binding for the event or
//   the binding's handler is none. A menu record has one handler, its selection handler,
//   whatever the event number. On success the current event source is set to the window id and
//   the unit id (the window's own unit id for unit id 0).
// - Runtime errors (they end the program): "未找到引发事件的窗口" for an unknown window id,
//   "未找到引发事件的窗口组件" for an unknown unit id, "引发事件的窗口组件无效" for a unit whose
//   type is unknown or is neither a window-like (0x40) nor a menu-like (0x04) type.
// - raise_event(request, typed) takes a runtime::SimpleEventRequest (typed false) or a
//   runtime::TypedEventRequest (typed true); it answers 1 when a handler ran and 0 otherwise.
//   The result fields are written only when the handler returned a value. Argument counts above
//   5 (simple) or 12 (typed) are cut to those. The event source is cleared after the handler.
// - Typed arguments are passed by their flags and type tags: the address (both words form the
//   native pointer) for flags bit 0; both words for flags bit 1, tags 0x00010003, 0x80000003,
//   0x80000008, 0x80000401 and 0x80000601; the low byte for 0x80000101; the low 16 bits
//   sign-extended to a 32-bit word for 0x80000201; the low word otherwise.
#pragma once

#include <cstdint>

#include "runtime/abi/image.h"

namespace ui {

runtime::Routine find_event_handler(std::uint32_t window_id, std::uint32_t unit_id, std::int32_t event);
std::intptr_t raise_event(void* request, bool typed);

}  // namespace ui
