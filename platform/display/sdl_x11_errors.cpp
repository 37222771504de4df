#include "platform/display/sdl_x11_errors.h"

#include <X11/Xproto.h>

#include <cstdio>
#include <mutex>
#include <set>
#include <string_view>

#include "platform/display/sdl_x11_calls.h"

namespace platform::display::sdl {
namespace {

// Resources already reported, and windows known gone. Ids are only reused once a client has
// run through its whole id range, so the sets are bounded rather than pruned precisely.
struct ErrorMemory {
  std::mutex mutex;
  std::set<unsigned long> reported;
  std::set<unsigned long> gone;
};
constexpr std::size_t kMaxRemembered = 4096;

ErrorMemory& memory() {
  static ErrorMemory m;
  return m;
}

void remember(std::set<unsigned long>& set, unsigned long id) {
  if (set.size() >= kMaxRemembered) set.clear();
  set.insert(id);
}

// Whether `id` was made by this client: other clients' windows, such as the frame a window
// manager puts around ours, may go at any moment, and a failed look at one is nothing to report.
bool ours(Display* display, unsigned long id) {
  // Xlib keeps this client's id base and mask in these two fields (resource_base and
  // resource_mask in its internal layout, unchanged for decades).
  const auto d = reinterpret_cast<_XPrivDisplay>(display);
  return id != 0 && (id & ~d->private4) == d->private3;
}

int note_x11_error(Display* display, XErrorEvent* e) {
  // A GC made for a window that had just been destroyed is never created; its creation failed
  // already (and was reported for the window), so freeing it fails too and says nothing new.
  if (e->request_code == X_FreeGC && e->error_code == BadGC) return 0;
  if ((e->error_code == BadWindow || e->error_code == BadDrawable) && !ours(display, e->resourceid)) return 0;
  {
    ErrorMemory& m = memory();
    std::lock_guard lock(m.mutex);
    if (m.gone.count(e->resourceid) != 0 || m.reported.count(e->resourceid) != 0) return 0;
    remember(m.reported, e->resourceid);
  }
  std::fprintf(stderr,
               "X11: request %d failed with error %d (resource 0x%lx); ignored, as are later errors "
               "about it\n",
               static_cast<int>(e->request_code), static_cast<int>(e->error_code), e->resourceid);
  return 0;
}

}  // namespace

void tolerate_x11_errors() {
  const char* driver = SDL_GetCurrentVideoDriver();
  if (std::string_view(driver != nullptr ? driver : "") != "x11") return;
  const X11Calls& f = x11_calls();
  if (f.set_error_handler) f.set_error_handler(&note_x11_error);
}

void note_x11_window_gone(unsigned long xwindow) {
  ErrorMemory& m = memory();
  std::lock_guard lock(m.mutex);
  remember(m.gone, xwindow);
}

}  // namespace platform::display::sdl
