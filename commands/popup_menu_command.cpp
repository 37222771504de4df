#include "commands/popup_menu_command.h"

#include "commands/arguments.h"
#include "platform/api/input.h"
#include "platform/api/menu.h"
#include "runtime/abi/callback_codes.h"

namespace commands {
namespace {

constexpr int kCursorOffset = 3;

}  // namespace

POINT popup_position(POINT cursor, const runtime::ArgRecord* args, std::int32_t count) {
  const Arguments a(count, args);
  POINT at{cursor.x + kCursorOffset, cursor.y + kCursorOffset};
  if (a.given(3)) at.x = a.integer(3, at.x);
  if (a.given(4)) at.y = a.integer(4, at.y);
  return at;
}

void popup_menu_command(runtime::ArgRecord*, std::int32_t count, runtime::ArgRecord* args) {
  const Arguments a(count, args);
  const std::uint32_t window_id = a.given(1) ? a.record(1).lo : 0;
  // Does not return when the window is not loaded.
  call_runtime(runtime::callback::kFindUnitOrFail, window_id, 0);
  if (!a.given(2) || a.record(2).lo != window_id) return;

  // The window system builds the menu from the window's menu records; showing it is ours.
  auto popup =
      reinterpret_cast<HMENU>(call_runtime(runtime::callback::kBuildPopupMenu, window_id, a.record(2).hi));
  if (popup == nullptr) return;
  if (GetMenuItemCount(popup) > 0) {
    POINT cursor{};
    GetCursorPos(&cursor);
    const POINT at = popup_position(cursor, args, count);
    auto owner = reinterpret_cast<HWND>(call_runtime(runtime::callback::kWindowHandle, window_id, 0));
    TrackPopupMenu(popup, TPM_RIGHTBUTTON, at.x, at.y, 0, owner, nullptr);
  }
  DestroyMenu(popup);
}

}  // namespace commands
