// Helpers for the window and label unit tests: an event recorder standing in for the
// application's handlers, a plain parent window, unit creation through the type's interface
// query, small BMP files, and reading what was painted.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

#include "platform/api/types.h"
#include "runtime/abi/event_request.h"
#include "runtime/abi/image.h"
#include "runtime/window_system.h"
#include "ui/units/unit_interface.h"

namespace ui_test {

struct RecordedEvent {
  std::uint32_t window_id;
  std::uint32_t unit_id;
  std::int32_t event;
  std::vector<std::uint32_t> args;
};

// Replaces the window system's event raising while it lives (keeping the rest of whatever table
// is installed). Every event counts as handled; reply() may give the handler's result.
class EventRecorder {
 public:
  EventRecorder();
  ~EventRecorder();
  EventRecorder(const EventRecorder&) = delete;
  EventRecorder& operator=(const EventRecorder&) = delete;

  std::vector<RecordedEvent> events;
  std::function<std::optional<std::uint32_t>(const RecordedEvent&)> reply;

  std::vector<std::int32_t> numbers() const;
  int count(std::int32_t event) const;

 private:
  static std::intptr_t raise(void* request, bool typed);
  const runtime::WindowSystem* previous_;
  runtime::WindowSystem operations_;
};

// A visible top-level window of a plain class, destroyed with the object.
class ParentWindow {
 public:
  ParentWindow(int width = 300, int height = 200);
  ~ParentWindow();
  ParentWindow(const ParentWindow&) = delete;
  ParentWindow& operator=(const ParentWindow&) = delete;
  HWND hwnd() const { return hwnd_; }

 private:
  HWND hwnd_ = nullptr;
};

// Calls the type's create operation (found through its interface query).
void* create_unit(const runtime::UnitTypeDescriptor& type, const ui::UnitCreateArgs& args);

template <class Op>
Op unit_op(const runtime::UnitTypeDescriptor& type, std::int32_t code) {
  return reinterpret_cast<Op>(type.interface_query(code));
}

// A 24-bit BMP file of one colour (0x00BBGGRR).
std::vector<std::uint8_t> solid_bmp(int width, int height, COLORREF colour);

// Delivers pending input and paints, as the program's loop would.
void settle();

// The bounding box of the pixels that differ from `background` inside a client rectangle,
// empty when there are none; and the number of separate bands of rows holding such pixels.
struct Ink {
  RECT box{};
  int row_bands = 0;
  bool any() const { return box.right > box.left; }
};
Ink ink(HWND hwnd, const RECT& area, COLORREF background);

}  // namespace ui_test
