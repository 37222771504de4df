// Fake unit types for window-building tests, in a support library of their own (library 2 of a
// UiHost), so that window building is tested apart from the real unit types.
// - kFakeWindow: a top-level window; WM_CLOSE ends its modal state and destroys it; WM_COMMAND
//   with a menu command id is handed to the menu dispatch.
// - kFakeControl: a child window; a property block whose first word is kFailCreate makes create
//   fail; serialize gives the block back; the setter always asks for re-creation.
// - kFakeNoQuery (no interface query), kFakeStartsHidden (state bit 0x8000) and
//   kFakePageContainer (state bit 0x100).
// Every create and every layout message (0x806F, 0x8004, 0x8076) is written to fake_log().
// record_events() replaces the window system's event raising with a recorder that keeps each
// request and runs an optional reaction.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "platform/api/types.h"
#include "runtime/abi/image.h"
#include "ui/templates/template_builder.h"

namespace ui_test {

inline constexpr std::uint32_t kFakeWindow = 0x00020001;
inline constexpr std::uint32_t kFakeControl = 0x00020002;
inline constexpr std::uint32_t kFakeNoQuery = 0x00020003;
inline constexpr std::uint32_t kFakeStartsHidden = 0x00020004;
inline constexpr std::uint32_t kFakePageContainer = 0x00020005;

inline constexpr std::uint32_t kFailCreate = 0xFA11FA11;
// Sent or posted to a fake window: runs fake_log().probe.
inline constexpr UINT kMsgProbe = 0x0400 + 77;

struct LoggedMessage {
  std::uint32_t unit_id;
  UINT message;
};

struct RaisedEvent {
  std::uint32_t window_id;
  std::uint32_t unit_id;
  std::int32_t event;
};

struct FakeLog {
  std::vector<std::uint32_t> created;  // unit ids in creation order
  std::vector<LoggedMessage> layout;
  std::vector<RaisedEvent> events;
  HMENU last_window_menu = nullptr;
  HWND last_window_owner = nullptr;
  bool fail_next_create = false;
  std::function<void()> probe;
  std::function<void(const RaisedEvent&)> on_event;
};

FakeLog& fake_log();
void reset_fake_log();

const runtime::LibraryRecord& fake_unit_library();
void record_events();

// A property block for kFakeControl: the mode word and a few bytes to carry.
std::vector<std::uint8_t> fake_properties(std::uint32_t mode = 0);

}  // namespace ui_test

namespace ui_test {

// Composes windows of fake units; keeps the property blocks the records point into.
class FakeTemplates {
 public:
  ui::templates::WindowTemplate& add_window(std::uint32_t window_id, std::uint32_t own_id,
                                            std::uint32_t flags = ui::templates::kVisible,
                                            std::uint32_t mode = 0);
  ui::templates::UnitRecord& add_control(ui::templates::WindowTemplate& window, std::uint32_t id,
                                         std::uint32_t type_reference, std::uint32_t flags,
                                         std::uint32_t mode = 0, ui::templates::Rect rect = {10, 10, 40, 20});
  void add_menu(ui::templates::WindowTemplate& window, std::uint32_t id, std::string caption,
                std::uint32_t level, std::uint32_t flags = 0, std::uint32_t hotkey = 0);
  std::vector<std::uint8_t> block() const;

 private:
  std::span<const std::uint8_t> keep(std::vector<std::uint8_t> properties);

  std::deque<std::vector<std::uint8_t>> properties_;
  std::deque<ui::templates::WindowTemplate> windows_;
};

}  // namespace ui_test
