// The orderly end of the program.
// Contract:
// - run_end_sequence(code) on the main thread, the first time: blocks events, marks the runtime
//   as exiting, clears idle callbacks, unloads every window, runs the end routine once (then
//   forgets it), notifies every library with code 6, frees DLL modules, drops the runtime's
//   objects, icons, constant ranges and hidden window, and ends OLE when start-up started it.
//   Answers true. Any later call on the main thread does nothing and answers false.
// - On another thread it never cleans up itself: unless the end has begun already, it hands
//   the request to the main thread (synchronous end-program message to the hidden runtime
//   window) and, should that come back, ends the process with the code. When the end has begun
//   it answers false at once, so the worker carries on.
// - end_program(code): run_end_sequence, then ExitProcess(code); returns only in the worker
//   case above.
#pragma once

#include <cstdint>

namespace runtime {

// The end-program message handled by the hidden runtime window (application base + 999).
inline constexpr unsigned kEndProgramMessage = 0x8000 + 999;

bool run_end_sequence(std::int32_t code);
void end_program(std::int32_t code);

}  // namespace runtime
