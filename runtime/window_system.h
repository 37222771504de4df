// The seam between the runtime and the window system (window templates, units, property
// access, event dispatch), which installs its operations here before start-up.
// Contract:
// - Every operation may be left null; the runtime then behaves as with no window system: no
//   template can be read (a non-empty template block is a load error), no start window can be
//   loaded, no window is alive, property access and events answer 0.
// - load_templates gets the raw template block and the image's code base; it reads every
//   window into its window collection and relocates the handler offsets (resolve_handler of
//   code_base.h). Answering false makes start-up report the template load error.
// - Runtime errors that the window system raises itself go through runtime_error.h.
// - The runtime calls these on the thread that called the service; only the main thread runs
//   start-up, loading, unloading and event delivery.
#pragma once

#include <cstdint>
#include <span>

#include "platform/api/messages.h"
#include "platform/api/types.h"
#include "runtime/abi/image.h"

namespace runtime {

struct WindowSystem {
  bool (*load_templates)(std::span<const std::uint8_t> block, const CodeBase* code_base) = nullptr;
  bool (*load_start_window)(std::uint32_t window_id) = nullptr;
  // At least one loaded window has a live native window.
  bool (*any_window_alive)() = nullptr;
  // End sequence: destroy every loaded window.
  void (*unload_all)() = nullptr;
  // Service table slots 4 and 5 (value: an 8-byte runtime value).
  std::uint64_t (*read_property)(std::uint32_t window_id, std::uint32_t unit_id, std::int32_t index,
                                 std::int32_t selector) = nullptr;
  void (*write_property)(std::uint32_t window_id, std::uint32_t unit_id, std::int32_t index,
                         std::int32_t selector, std::uint64_t value) = nullptr;
  // Numbered services 4 and 5.
  std::uint64_t (*read_object_property)(std::uint32_t type_reference, void* object, std::int32_t index,
                                        std::int32_t selector) = nullptr;
  void (*write_object_property)(std::uint32_t type_reference, void* object, std::int32_t index,
                                std::int32_t selector, std::uint64_t value) = nullptr;
  // Runtime callbacks 2008 (typed = false) and 2031 (typed = true): 1 when a handler ran.
  std::intptr_t (*raise_event)(void* request, bool typed) = nullptr;
  // Runtime callback 2000; answers true when the unit was the window itself (its table reset).
  bool (*unit_gone)(std::uint32_t window_id, std::uint32_t unit_id) = nullptr;
  // Runtime callbacks 2006/2007: the unit object whose native window is live, or null.
  void* (*find_unit)(std::uint32_t window_id, std::uint32_t unit_id) = nullptr;
  // Runtime callback 1014: the handle belongs to a unit of a loaded window.
  bool (*owns_window)(HWND window) = nullptr;
  // Runtime callback 2033: the live native window of a loaded window, or null.
  HWND (*window_handle)(std::uint32_t window_id) = nullptr;
  // Runtime callback 1001.
  void* (*window_collection)() = nullptr;
  // Runtime callback 2036: the pop-up menu of a menu unit's sub-items (the caller destroys it),
  // or null.
  HMENU (*popup_menu)(std::uint32_t window_id, std::uint32_t unit_id) = nullptr;
  // Message pre-translation of the host application: true drops the message.
  bool (*pre_translate)(MSG* message) = nullptr;
  // Idle operation of the host application (count 0 starts an idle period): true asks for
  // more idle time.
  bool (*idle)(long count) = nullptr;
};

// Installs the window system's operations (null restores "no window system"). The table must
// outlive its installation.
void install_window_system(const WindowSystem* operations);
const WindowSystem& window_system();

// ---- what the runtime offers the window system ----

// Event delivery: while the block count is above 0 no event reaches the application.
bool events_blocked();
void block_events();
void unblock_events();  // never below 0
// The event being delivered (window id 0: none); runtime callback 2017 reads it.
void set_event_source(std::uint32_t window_id, std::uint32_t unit_id);
void clear_event_source();
// The next unit serial number (incremented before each use).
std::uint32_t next_unit_serial();
// The unit type descriptor of a type reference, from the image's libraries; null if none.
const UnitTypeDescriptor* unit_type(std::uint32_t type_reference);
// The window id the modal loop waits for (0: none); see message_loop.h for the loop itself.
std::uint32_t modal_window();

// The window system tells the runtime that a native window was destroyed (after callback 2000
// has run): when the message loop has started and no loaded window is alive any more, the quit
// message is posted.
void after_window_destroyed();

// Runtime callback 2035 (release an object record as the object type's Clear does) belongs to
// the automation types, which install it through runtime callback 2037.
using ObjectRelease = void (*)(void* object_record);
void install_object_release(ObjectRelease release);
ObjectRelease object_release();

}  // namespace runtime
