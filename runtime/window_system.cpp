#include "runtime/window_system.h"

#include <atomic>

#include "platform/api/user.h"
#include "runtime/image_reader.h"
#include "runtime/state.h"

namespace runtime {
namespace {

std::atomic<const WindowSystem*>& installed_window_system() {
  static std::atomic<const WindowSystem*> operations{nullptr};
  return operations;
}

std::atomic<ObjectRelease>& installed_object_release() {
  static std::atomic<ObjectRelease> release{nullptr};
  return release;
}

}  // namespace

void install_window_system(const WindowSystem* operations) {
  installed_window_system().store(operations);
}

const WindowSystem& window_system() {
  static const WindowSystem none{};
  const WindowSystem* ws = installed_window_system().load();
  return ws != nullptr ? *ws : none;
}

void install_object_release(ObjectRelease release) {
  installed_object_release().store(release);
}

ObjectRelease object_release() {
  return installed_object_release().load();
}

bool events_blocked() {
  RuntimeState* s = current_state();
  return s != nullptr && s->event_block_count.load() > 0;
}

void block_events() {
  if (RuntimeState* s = current_state()) ++s->event_block_count;
}

void unblock_events() {
  RuntimeState* s = current_state();
  if (s == nullptr) return;
  int count = s->event_block_count.load();
  while (count > 0 && !s->event_block_count.compare_exchange_weak(count, count - 1)) {
  }
}

void set_event_source(std::uint32_t window_id, std::uint32_t unit_id) {
  if (RuntimeState* s = current_state()) {
    s->event_window = window_id;
    s->event_unit = unit_id;
  }
}

void clear_event_source() {
  set_event_source(0, 0);
}

std::uint32_t next_unit_serial() {
  RuntimeState* s = current_state();
  return s != nullptr ? ++s->serial_counter : 0;
}

const UnitTypeDescriptor* unit_type(std::uint32_t type_reference) {
  RuntimeState* s = current_state();
  if (s == nullptr) return nullptr;
  return find_unit_type(s->libraries, type_reference);
}

std::uint32_t modal_window() {
  RuntimeState* s = current_state();
  return s != nullptr ? s->modal_window : 0;
}

void after_window_destroyed() {
  RuntimeState* s = current_state();
  if (s == nullptr || !s->message_loop_started) return;
  const WindowSystem& ws = window_system();
  if (ws.any_window_alive == nullptr || !ws.any_window_alive()) {
    s->last_window_closed = true;
    PostQuitMessage(0);
  }
}

}  // namespace runtime
