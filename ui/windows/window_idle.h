// The windows' idle event (7), raised from the message loop's idle phase.
// Contract: idle_windows(count) is the window system's idle operation. Count 0 starts a new idle
// period: every live loaded window takes part again and the period's clock starts. Each taking
// part gets event 7 with the milliseconds since the period began; a handler that returns true
// keeps its window in the period, anything else (false, no value, no handler) leaves it until
// the next period. Answers whether any window asked for more.
#pragma once

namespace ui {

bool idle_windows(long count);

}  // namespace ui
