// A real window manager on a test's private X server, and what the server says of a window as a
// window manager reads it: its type, Motif and size hints, owner, and the actions a managing
// window manager allows. Kept apart from the other support files because it links libX11, whose
// macros clash with GoogleTest.
#pragma once

#include <sys/types.h>

#include <string>
#include <string_view>
#include <vector>

namespace test_support {

// Openbox started on `display`; running() once it has taken over the screen (it announces
// itself through _NET_SUPPORTING_WM_CHECK on the root window) and manages new windows, within
// 30 seconds. Ended with the object.
class Openbox {
 public:
  explicit Openbox(const std::string& display);
  ~Openbox();
  Openbox(const Openbox&) = delete;
  Openbox& operator=(const Openbox&) = delete;
  bool running() const { return running_; }
  // Why it is not running, for the test's message.
  const std::string& problem() const { return problem_; }

 private:
  pid_t pid_ = -1;
  bool running_ = false;
  std::string problem_;
  std::string output_;         // what openbox says, for problem()
  void* keep_open_ = nullptr;  // a connection of the test's (an Xlib Display)
};

// The name (_NET_WM_NAME of its check window) of the EWMH window manager now managing
// `display`; empty when none is.
std::string window_manager_name(const std::string& display);

struct XWindowFacts {
  bool exists = false;
  std::vector<std::string> window_type;  // _NET_WM_WINDOW_TYPE, atom names
  std::vector<unsigned long> motif;      // _MOTIF_WM_HINTS: flags, functions, decorations, ...
  bool has_transient_for = false;
  unsigned long transient_for = 0;  // WM_TRANSIENT_FOR
  bool has_min_size = false, has_max_size = false;
  int min_width = 0, min_height = 0, max_width = 0, max_height = 0;  // WM_NORMAL_HINTS
  bool managed = false;  // WM_STATE, which a window manager sets on the windows it manages
  std::vector<std::string> allowed_actions;  // _NET_WM_ALLOWED_ACTIONS, set by the window manager
  std::vector<std::string> state;            // _NET_WM_STATE, kept by the window manager

  bool allows(const std::string& action) const;
  bool in_state(const std::string& state) const;
  bool is_type(const std::string& type) const;
};

// Reads `window` (xdotool's decimal id) on `display` (empty: $DISPLAY) from a connection of
// its own.
XWindowFacts x_window_facts(const std::string& display, unsigned long window);

// Asks the window manager to add `state` (and `second`, when given) to the window's _NET_WM_STATE,
// as pagers and key bindings ask it (a client message to the root window); the window manager
// then does it or not. Requests are dealt with in order, so once a later request shows, an
// earlier one has been answered.
void x_request_state(const std::string& display, unsigned long window, const std::string& state,
                     const std::string& second = {});

// The window that has the X input focus on `display` now; 0 for none.
unsigned long x_input_focus(const std::string& display);

// Gives each of `characters` a keycode of its own, one no key uses, in the keyboard map of
// `display` (empty: $DISPLAY), as a layout that has them would. xdotool then types them
// without remapping a spare key around each press, which a program that reads its keys late
// would read after the key was put back. False when the map has too few free keycodes.
bool x_map_characters(const std::string& display, std::u32string_view characters);

}  // namespace test_support
