#include "tests/ui/window_unit_support.h"

#include <algorithm>
#include <cstring>

#include "platform/api/kernel.h"
#include "platform/api/user.h"
#include "platform/winsys/headless.h"
#include "ui/bytes/byte_writer.h"
#include "ui/units/window_class.h"

namespace ui_test {
namespace {

EventRecorder* active_recorder = nullptr;

}  // namespace

EventRecorder::EventRecorder() : previous_(&runtime::window_system()), operations_(*previous_) {
  operations_.raise_event = &EventRecorder::raise;
  active_recorder = this;
  runtime::install_window_system(&operations_);
}

EventRecorder::~EventRecorder() {
  runtime::install_window_system(previous_);
  active_recorder = nullptr;
}

std::intptr_t EventRecorder::raise(void* request, bool typed) {
  if (active_recorder == nullptr || typed) return 0;
  auto* r = static_cast<runtime::SimpleEventRequest*>(request);
  RecordedEvent e{
      r->window_id, r->unit_id, r->event, {r->args, r->args + std::min<std::uint32_t>(r->count, 5)}};
  active_recorder->events.push_back(e);
  if (active_recorder->reply) {
    if (std::optional<std::uint32_t> result = active_recorder->reply(e)) {
      r->result_present = 1;
      r->result = *result;
    }
  }
  return 1;
}

std::vector<std::int32_t> EventRecorder::numbers() const {
  std::vector<std::int32_t> out;
  for (const RecordedEvent& e : events) out.push_back(e.event);
  return out;
}

int EventRecorder::count(std::int32_t event) const {
  return static_cast<int>(
      std::count_if(events.begin(), events.end(), [&](const RecordedEvent& e) { return e.event == event; }));
}

ParentWindow::ParentWindow(int width, int height) {
  ui::ensure_unit_class("WinLabelTestParent");
  hwnd_ =
      CreateWindowExA(0, "WinLabelTestParent", "parent", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE,
                      20, 20, width, height, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

ParentWindow::~ParentWindow() {
  if (hwnd_ != nullptr && IsWindow(hwnd_)) DestroyWindow(hwnd_);
}

void* create_unit(const runtime::UnitTypeDescriptor& type, const ui::UnitCreateArgs& args) {
  auto create = unit_op<ui::CreateOp>(type, ui::kCreateOp);
  return create != nullptr ? create(args) : nullptr;
}

std::vector<std::uint8_t> solid_bmp(int width, int height, COLORREF colour) {
  const int row = (width * 3 + 3) & ~3;
  lyr::ByteWriter w;
  w.u8('B');
  w.u8('M');
  w.u32(static_cast<std::uint32_t>(54 + row * height));  // file size
  w.u32(0);
  w.u32(54);  // pixel offset
  w.u32(40);  // header size
  w.i32(width);
  w.i32(height);
  w.u16(1);                              // planes
  w.u16(24);                             // bits per pixel
  for (int i = 0; i < 6; ++i) w.u32(0);  // compression ... important colours
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      w.u8(static_cast<std::uint8_t>(colour >> 16));
      w.u8(static_cast<std::uint8_t>(colour >> 8));
      w.u8(static_cast<std::uint8_t>(colour));
    }
    for (int p = width * 3; p < row; ++p) w.u8(0);
  }
  return w.take();
}

void settle() {
  platform::headless::run_until_idle();
}

Ink ink(HWND hwnd, const RECT& area, COLORREF background) {
  Ink result;
  RECT box{area.right, area.bottom, area.left, area.top};
  bool previous_row_inked = false;
  for (int y = area.top; y < area.bottom; ++y) {
    bool row_inked = false;
    for (int x = area.left; x < area.right; ++x) {
      if (platform::headless::read_pixel(hwnd, x, y) == background) continue;
      row_inked = true;
      box.left = std::min<LONG>(box.left, x);
      box.right = std::max<LONG>(box.right, x + 1);
      box.top = std::min<LONG>(box.top, y);
      box.bottom = std::max<LONG>(box.bottom, y + 1);
    }
    if (row_inked && !previous_row_inked) ++result.row_bands;
    previous_row_inked = row_inked;
  }
  if (result.row_bands > 0) result.box = box;
  return result;
}

}  // namespace ui_test
