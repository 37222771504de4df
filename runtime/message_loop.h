// The runtime's message loop with its idle phase, and its nested (modal) mode.
// Contract:
// - message_loop() marks the loop as started and, only while some loaded window is alive,
//   pumps messages until the quit message; otherwise it returns at once.
// - Idle phase (whenever the queue is empty after an idle-triggering message): the idle
//   callbacks run from the last registered to the first, each whose window is gone being
//   removed; then the host's on_idle(count) runs while it asks for more.
// - run_modal_loop(window_id) runs the loop for a modal window: it returns when the quit
//   message is seen (left in the queue for the outer loop) or when the modal window id has been
//   cleared (the window was destroyed); the previous modal window id is restored afterwards.
// - pump_pending_messages() dispatches every waiting message now and returns; a quit message
//   stays in the queue.
#pragma once

#include <cstdint>

#include "platform/api/messages.h"

namespace runtime {

void message_loop();
void run_modal_loop(std::uint32_t window_id);
void pump_pending_messages();

// Whether a message re-enters the idle phase (paint, the system timer and a mouse move that
// repeats the previous mouse message at the same point don't).
class IdleTrigger {
 public:
  bool operator()(const MSG& message);

 private:
  UINT last_mouse_message_ = 0;
  POINT last_point_{-1, -1};
};

}  // namespace runtime
