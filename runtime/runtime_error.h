// The one report of unrecoverable faults: a fixed-form message box, then the end of the program
// with exit code -1.
// Contract:
// - report_runtime_error(message, code) blocks events, shows the box (caption "错误", error
//   icon, OK only, no owner), forgets the end routine and ends the program with -1. It never
//   returns; on a worker thread whose end request finds the end sequence already running, the
//   thread stays parked until the main thread ends the process.
// - report_error_code(code) takes the message of codes 1-11 from the table; any other code is
//   shown with its number and no message line.
// - The allocation-failure report allocates nothing from the runtime heap.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace runtime {

[[noreturn]] void report_runtime_error(const char* message, std::int32_t code);
[[noreturn]] void report_error_code(std::int32_t code);
[[noreturn]] void report_allocation_failure(std::size_t bytes);
// Something the caller needs is gone: a window, a unit, a DLL command. On a worker thread once
// the program is ending (its last window closed, or the end sequence begun, which releases the
// DLL commands) that is the user closing the window while the worker ran, not a fault: the
// worker stays parked, silently, until the main thread ends the process with the program's own
// exit code. Anywhere else it is report_runtime_error(message, 0).
[[noreturn]] void report_gone(const char* message);
// Worker threads parked so far by either of the two above.
int parked_threads();

// The box text: heading, then "code line" when code != 0, then "message line" when the message
// is neither null nor empty.
std::string runtime_error_text(const char* message, std::int32_t code);

// The allocation-failure message with the byte count as signed decimal, written into a fixed
// buffer (the message is short; the buffer always ends with NUL).
inline constexpr std::size_t kAllocationMessageSize = 100;
void format_allocation_failure(std::size_t bytes, char (&buffer)[kAllocationMessageSize]);

}  // namespace runtime
