#include "tests/support/x11/window_manager.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

#include "tests/support/xvfb_session.h"

namespace test_support {
namespace {

// A connection of the test's own, closed with the object.
class Connection {
 public:
  explicit Connection(const std::string& display)
      : display_(XOpenDisplay(display.empty() ? nullptr : display.c_str())) {}
  ~Connection() {
    if (display_ != nullptr) XCloseDisplay(display_);
  }
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;
  Display* get() const { return display_; }

 private:
  Display* display_;
};

// Errors about windows that went away between two requests are expected here; the previous
// handler (in an SDL process, the display backend's) comes back afterwards.
int ignore_error(Display*, XErrorEvent*) {
  return 0;
}

class QuietErrors {
 public:
  explicit QuietErrors(Display* display) : display_(display), previous_(XSetErrorHandler(&ignore_error)) {}
  ~QuietErrors() {
    XSync(display_, False);
    XSetErrorHandler(previous_);
  }
  QuietErrors(const QuietErrors&) = delete;
  QuietErrors& operator=(const QuietErrors&) = delete;

 private:
  Display* display_;
  XErrorHandler previous_;
};

// The 32-bit items of a property of the given type; empty when it is missing or of another type.
std::vector<unsigned long> property32(Display* display, Window window, const char* name, Atom type) {
  Atom actual_type = None;
  int actual_format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  std::vector<unsigned long> items;
  if (XGetWindowProperty(display, window, XInternAtom(display, name, False), 0, 1024, False, type,
                         &actual_type, &actual_format, &count, &after, &data) == Success &&
      data != nullptr && actual_type == type && actual_format == 32) {
    const auto* longs = reinterpret_cast<const unsigned long*>(data);
    items.assign(longs, longs + count);
  }
  if (data != nullptr) XFree(data);
  return items;
}

bool property_exists(Display* display, Window window, const char* name) {
  Atom actual_type = None;
  int actual_format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  const bool found =
      XGetWindowProperty(display, window, XInternAtom(display, name, False), 0, 0, False, AnyPropertyType,
                         &actual_type, &actual_format, &count, &after, &data) == Success &&
      actual_type != None;
  if (data != nullptr) XFree(data);
  return found;
}

std::vector<std::string> atom_names(Display* display, const std::vector<unsigned long>& atoms) {
  std::vector<std::string> names;
  for (unsigned long atom : atoms) {
    char* name = XGetAtomName(display, static_cast<Atom>(atom));
    names.emplace_back(name != nullptr ? name : "");
    if (name != nullptr) XFree(name);
  }
  return names;
}

// The check window a compliant window manager names on the root window and on itself.
Window supporting_wm_check(Display* display) {
  const Atom window_type = XA_WINDOW;
  const auto on_root =
      property32(display, DefaultRootWindow(display), "_NET_SUPPORTING_WM_CHECK", window_type);
  if (on_root.size() != 1) return None;
  const auto on_check = property32(display, on_root[0], "_NET_SUPPORTING_WM_CHECK", window_type);
  return on_check.size() == 1 && on_check[0] == on_root[0] ? on_root[0] : None;
}

std::string utf8_property(Display* display, Window window, const char* name) {
  Atom actual_type = None;
  int actual_format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  std::string text;
  if (XGetWindowProperty(display, window, XInternAtom(display, name, False), 0, 1024, False,
                         XInternAtom(display, "UTF8_STRING", False), &actual_type, &actual_format, &count,
                         &after, &data) == Success &&
      data != nullptr && actual_format == 8)
    text.assign(reinterpret_cast<const char*>(data), count);
  if (data != nullptr) XFree(data);
  return text;
}

// Whether a window manager manages new windows on `display` yet: a small window of the test's
// own is mapped until it is framed (WM_STATE), and asked again every two seconds, because a
// window manager still starting up can drop a request (openbox announces itself before it
// serves them, and a window whose request it dropped is never mapped at all).
bool manages_windows(const std::string& display, std::chrono::steady_clock::time_point deadline) {
  Connection c(display);
  if (c.get() == nullptr) return false;
  Display* d = c.get();
  const Window probe = XCreateSimpleWindow(d, DefaultRootWindow(d), 0, 0, 10, 10, 0, 0, 0);
  XStoreName(d, probe, "window-manager-probe");
  bool managed = false;
  auto asked = std::chrono::steady_clock::time_point{};
  while (!managed && std::chrono::steady_clock::now() < deadline) {
    if (std::chrono::steady_clock::now() - asked > std::chrono::seconds(2)) {
      XUnmapWindow(d, probe);
      XMapWindow(d, probe);
      XSync(d, False);
      asked = std::chrono::steady_clock::now();
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    managed = property_exists(d, probe, "WM_STATE");
  }
  XDestroyWindow(d, probe);
  XSync(d, False);
  return managed;
}

std::string text_of(const std::string& path) {
  std::string text;
  if (FILE* f = std::fopen(path.c_str(), "r")) {
    char buffer[512];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) text.append(buffer, n);
    std::fclose(f);
  }
  return text;
}

}  // namespace

std::string window_manager_name(const std::string& display) {
  Connection c(display);
  if (c.get() == nullptr) return {};
  QuietErrors quiet(c.get());
  const Window check = supporting_wm_check(c.get());
  if (check == None) return {};
  const std::string name = utf8_property(c.get(), check, "_NET_WM_NAME");
  return name.empty() ? "unnamed" : name;
}

Openbox::Openbox(const std::string& display) {
  if (!on_path("openbox")) {
    problem_ = "openbox is not installed";
    return;
  }
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  // A connection held open all along: an X server resets whenever its last client leaves, and
  // refuses connections meanwhile, so the checks below would each let openbox's own connection
  // fail.
  while ((keep_open_ = XOpenDisplay(display.c_str())) == nullptr) {
    if (std::chrono::steady_clock::now() > deadline) {
      problem_ = "the X server on " + display + " takes no connections";
      return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  // Its own settings only: no session manager, and no user configuration that could change
  // which buttons a frame has.
  output_ = "/tmp/openbox-" + std::to_string(getpid()) + display + ".out";
  pid_ = spawn({"openbox", "--sm-disable"}, {"DISPLAY=" + display, "XDG_CONFIG_HOME=/nonexistent"}, output_);
  if (pid_ <= 0) {
    problem_ = "openbox could not be started";
    return;
  }
  while (std::chrono::steady_clock::now() < deadline) {
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) == pid_) {
      pid_ = -1;
      problem_ = "openbox ended (status " + std::to_string(status) +
                 ") before it managed the screen: " + text_of(output_);
      return;
    }
    if (window_manager_name(display) == "Openbox") {
      running_ = manages_windows(display, deadline);
      if (!running_) problem_ = "openbox did not manage a window within 30 seconds";
      return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  problem_ = "openbox did not take over the screen within 30 seconds";
}

Openbox::~Openbox() {
  if (pid_ > 0) {
    kill(pid_, SIGTERM);
    wait_child(pid_, std::chrono::seconds(10));
  }
  if (!output_.empty()) std::remove(output_.c_str());
  if (keep_open_ != nullptr) XCloseDisplay(static_cast<Display*>(keep_open_));
}

bool XWindowFacts::allows(const std::string& action) const {
  return std::find(allowed_actions.begin(), allowed_actions.end(), action) != allowed_actions.end();
}

bool XWindowFacts::in_state(const std::string& wanted) const {
  return std::find(state.begin(), state.end(), wanted) != state.end();
}

bool XWindowFacts::is_type(const std::string& type) const {
  return !window_type.empty() && window_type.front() == type;
}

XWindowFacts x_window_facts(const std::string& display, unsigned long id) {
  XWindowFacts facts;
  Connection c(display);
  if (c.get() == nullptr) return facts;
  Display* d = c.get();
  QuietErrors quiet(d);
  const auto window = static_cast<Window>(id);
  XWindowAttributes attributes;
  if (XGetWindowAttributes(d, window, &attributes) == 0) return facts;
  facts.exists = true;
  facts.window_type = atom_names(d, property32(d, window, "_NET_WM_WINDOW_TYPE", XA_ATOM));
  const Atom motif = XInternAtom(d, "_MOTIF_WM_HINTS", False);
  facts.motif = property32(d, window, "_MOTIF_WM_HINTS", motif);
  Window owner = None;
  if (XGetTransientForHint(d, window, &owner) != 0) {
    facts.has_transient_for = true;
    facts.transient_for = owner;
  }
  XSizeHints* hints = XAllocSizeHints();
  long supplied = 0;
  if (hints != nullptr && XGetWMNormalHints(d, window, hints, &supplied) != 0) {
    facts.has_min_size = (hints->flags & PMinSize) != 0;
    facts.has_max_size = (hints->flags & PMaxSize) != 0;
    facts.min_width = hints->min_width;
    facts.min_height = hints->min_height;
    facts.max_width = hints->max_width;
    facts.max_height = hints->max_height;
  }
  if (hints != nullptr) XFree(hints);
  facts.managed = property_exists(d, window, "WM_STATE");
  facts.allowed_actions = atom_names(d, property32(d, window, "_NET_WM_ALLOWED_ACTIONS", XA_ATOM));
  facts.state = atom_names(d, property32(d, window, "_NET_WM_STATE", XA_ATOM));
  return facts;
}

void x_request_state(const std::string& display, unsigned long window, const std::string& state,
                     const std::string& second) {
  Connection c(display);
  if (c.get() == nullptr) return;
  Display* d = c.get();
  XEvent request{};
  request.xclient.type = ClientMessage;
  request.xclient.window = static_cast<Window>(window);
  request.xclient.message_type = XInternAtom(d, "_NET_WM_STATE", False);
  request.xclient.format = 32;
  request.xclient.data.l[0] = 1;  // _NET_WM_STATE_ADD
  request.xclient.data.l[1] = static_cast<long>(XInternAtom(d, state.c_str(), False));
  request.xclient.data.l[2] = second.empty() ? 0 : static_cast<long>(XInternAtom(d, second.c_str(), False));
  request.xclient.data.l[3] = 2;  // from a pager, as a user's action
  XSendEvent(d, DefaultRootWindow(d), False, SubstructureRedirectMask | SubstructureNotifyMask, &request);
  XSync(d, False);
}

bool x_map_characters(const std::string& display, std::u32string_view characters) {
  Connection c(display);
  if (c.get() == nullptr) return false;
  int first = 0, last = 0;
  XDisplayKeycodes(c.get(), &first, &last);
  int per_key = 0;
  KeySym* map = XGetKeyboardMapping(c.get(), static_cast<KeyCode>(first), last - first + 1, &per_key);
  if (map == nullptr) return false;
  std::vector<int> free_keys;  // from the top, where layouts leave keycodes unused
  for (int code = last; code >= first; --code) {
    const KeySym* syms = map + static_cast<std::size_t>(code - first) * static_cast<std::size_t>(per_key);
    if (std::all_of(syms, syms + per_key, [](KeySym s) { return s == NoSymbol; })) free_keys.push_back(code);
  }
  XFree(map);
  if (free_keys.size() < characters.size()) return false;
  for (std::size_t i = 0; i < characters.size(); ++i) {
    // Unicode keysyms: 0x01000000 plus the code point.
    std::vector<KeySym> syms(static_cast<std::size_t>(per_key), NoSymbol);
    syms[0] = 0x01000000 | characters[i];
    if (per_key > 1) syms[1] = syms[0];
    XChangeKeyboardMapping(c.get(), free_keys[i], per_key, syms.data(), 1);
  }
  XSync(c.get(), False);
  return true;
}

unsigned long x_input_focus(const std::string& display) {
  Connection c(display);
  if (c.get() == nullptr) return 0;
  Window focus = None;
  int revert = 0;
  XGetInputFocus(c.get(), &focus, &revert);
  return focus == PointerRoot ? 0 : focus;
}

}  // namespace test_support
