// TrackPopupMenu, TrackPopupMenuEx and EndMenu, and the class registration of the menu windows.
#include "platform/controls/menu_bar.h"
#include "platform/controls/menu_track.h"
#include "platform/controls/menu_window.h"
#include "platform/winsys/system_classes.h"

namespace platform::controls::menu {
namespace {

void register_menu_classes() {
  register_popup_class();
  install_menu_bar_hooks();
}

const bool kRegistered = winsys::add_system_classes(&register_menu_classes);

}  // namespace
}  // namespace platform::controls::menu

using namespace platform::controls::menu;

extern "C" {

BOOL TrackPopupMenuEx(HMENU menu, UINT flags, int x, int y, HWND owner, LPTPMPARAMS) {
  (void)kRegistered;
  if (!IsMenu(menu)) return refuse(FALSE);
  if (!IsWindow(owner)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  TrackRequest req;
  req.owner = owner;
  req.flags = flags;
  req.popup = menu;
  req.at = {x, y};
  TrackResult r = track(req);
  if (!r.ran) return FALSE;
  if (flags & TPM_RETURNCMD) return static_cast<BOOL>(r.command);
  return TRUE;
}

BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int, HWND owner, const RECT*) {
  return TrackPopupMenuEx(menu, flags, x, y, owner, nullptr);
}

BOOL EndMenu() {
  return end_tracking() ? TRUE : FALSE;
}

}  // extern "C"
