// For tests that drive a real display from outside: serving the calling thread's windows while
// waiting for something to arrive, and running the outside commands.
#pragma once

#include <chrono>
#include <functional>
#include <string>

namespace test_support {

// Dispatches the calling thread's messages (translated, as a program's loop does) until `done`
// holds or the time is up; answers `done()` at the end.
bool pump_until(const std::function<bool()>& done,
                std::chrono::milliseconds limit = std::chrono::milliseconds(4000));

// Runs a shell command while this thread keeps serving its windows: xdotool remaps a spare key
// for characters the keyboard lacks and restores it right after, so the program must read the
// key while the mapping is still in place.
void run_pumping(const std::string& cmd);

// The id (decimal, as xdotool prints it) of the mapped X window with this UTF-8 title, waiting
// up to fifteen seconds for it while serving the windows; empty when none appears.
std::string x_window_named(const std::string& title);
// Whether no mapped X window has this title, waiting (serving the windows) up to fifteen
// seconds for the last one to go.
bool x_window_gone(const std::string& title);

}  // namespace test_support
