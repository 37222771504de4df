// The state of one "msctls_updown32" window and the helpers its files share. Internal to
// platform/controls.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/api.h"
#include "platform/api/edit.h"

namespace platform::controls::updown {

inline constexpr UINT_PTR kRepeatTimer = 0x5D01;
inline constexpr UINT kFirstDelayMs = 500;
inline constexpr UINT kRepeatMs = 80;

struct State {
  HWND hwnd = nullptr;
  HWND buddy = nullptr;
  int lower = 100;  // the limit "down" moves toward
  int upper = 0;    // the limit "up" moves toward
  int pos = 0;
  int base = 10;
  std::vector<UDACCEL> accel{{0, 1}, {2, 5}, {5, 20}};
  int pressed = 0;            // +1 the up (right) arrow held, -1 the down (left) arrow, 0 none
  bool over_pressed = false;  // the mouse is over the held arrow
  DWORD press_tick = 0;
};

// Integer text as the buddy shows it: base 10 with thousands separators unless
// `separators` is false, base 16 as "0x" and upper-case digits.
std::string format_position(int value, int base, bool separators);
// Reads integer text in that form (separators and surrounding blanks allowed); false when the
// text is no number or does not fit in 32 bits.
bool parse_position(const std::string& text, int base, int& value);

// Buddy handling (updown_buddy.cpp).
void set_buddy(State& st, HWND buddy);
void release_buddy(State& st);
void write_buddy(State& st);
// Takes the buddy's number into `pos` when the control shows integers there; false when the
// buddy's text is no number.
bool read_buddy(State& st);
// One step of `direction` (+1 up, -1 down) from the keyboard or a held arrow.
void step(State& st, int direction);
std::shared_ptr<State> find_state(HWND hwnd);

}  // namespace platform::controls::updown
