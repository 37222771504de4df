// Runtime start-up (numbered service 6), run once by the application's entry routine.
// Contract: fills the installed runtime state from its program image, in this order: process
// heap; build mode, reserved word and unit serial counter; OLE (unless start-up started it
// already); program directory and file name (the directory becomes the current directory);
// hidden runtime window; main thread; the constant block as a constant range (when not empty);
// the DLL tables (when there are declarations); each library's notify routine with code 1 and
// the runtime callback, in library order, then the library table and zeroed per-library
// values; finally the window templates (when the block is not empty) through the window
// system. A malformed image or an unreadable template block is a runtime error.
#pragma once

#include <cstdint>

namespace runtime {

void startup();

// The load-start-window service: a window that is missing or can't be built is the runtime
// error "loading the start window failed".
void load_start_window(std::uint32_t window_id);

}  // namespace runtime
