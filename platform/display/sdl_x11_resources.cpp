#include "platform/display/sdl_x11_resources.h"

#include <memory>

#include "platform/display/sdl_x11_calls.h"

namespace platform::display::sdl {

std::string x11_resource(const char* name, const char* class_name) {
  const X11Calls& x = x11_calls();
  if (!x.open_display || !x.close_display || !x.resource_manager_string || !x.xrm_initialize ||
      !x.xrm_get_string_database || !x.xrm_get_resource || !x.xrm_destroy_database)
    return {};
  // A short connection of our own: SDL shows its display only through a window.
  std::unique_ptr<Display, int (*)(Display*)> display(x.open_display(nullptr), x.close_display);
  if (!display) return {};
  const char* resources = x.resource_manager_string(display.get());
  if (!resources) return {};
  x.xrm_initialize();
  std::unique_ptr<std::remove_pointer_t<XrmDatabase>, void (*)(XrmDatabase)> db(
      x.xrm_get_string_database(resources), x.xrm_destroy_database);
  if (!db) return {};
  char* type = nullptr;
  XrmValue value{};
  if (!x.xrm_get_resource(db.get(), name, class_name, &type, &value) || !value.addr) return {};
  return std::string(value.addr,
                     value.size > 0 && value.addr[value.size - 1] == '\0' ? value.size - 1 : value.size);
}

}  // namespace platform::display::sdl
