// Keyboard input: key messages with their lParam bits, and text as ANSI WM_CHAR bytes.
#include "platform/api/input.h"
#include "platform/api/user.h"
#include "platform/kernel/codepage.h"
#include "platform/winsys/input.h"
#include "platform/winsys/keyboard_state.h"
#include "platform/winsys/queue_access.h"
#include "platform/winsys/window_access.h"

namespace platform::winsys::input {
namespace {

HWND keyboard_target() {
  return keyboard_window();
}

}  // namespace

HWND keyboard_window() {
  // The foreground window's thread holds the keyboard; its focus window gets the keys.
  if (HWND fg = GetForegroundWindow()) {
    HWND focus = focus_of_thread(window_thread(fg));
    return focus ? focus : fg;
  }
  HWND focus = GetFocus();
  return focus ? focus : GetActiveWindow();
}

void key(UINT vk, bool down, DWORD /*time*/, bool text_follows) {
  if (vk == 0 || vk > 255) return;
  UINT generic = keyboard::generic_vk(vk);
  bool was_down = keyboard::is_down(vk);
  bool alt_before = keyboard::is_down(VK_MENU);
  keyboard::set_key(vk, down);
  bool alt = keyboard::is_down(VK_MENU);
  bool ctrl = keyboard::is_down(VK_CONTROL);

  UINT msg;
  if (down)
    msg = ((alt && !ctrl) || generic == VK_F10) ? WM_SYSKEYDOWN : WM_KEYDOWN;
  else
    msg = ((alt_before && !ctrl) || generic == VK_F10) ? WM_SYSKEYUP : WM_KEYUP;

  LPARAM lp = 1;  // repeat count
  lp |= static_cast<LPARAM>(keyboard::scan_code(vk) & 0xFF) << 16;
  if (keyboard::is_extended(vk)) lp |= LPARAM{1} << 24;
  if (down ? alt : alt_before) lp |= LPARAM{1} << 29;
  if (!down || was_down) lp |= LPARAM{1} << 30;
  if (!down) lp |= LPARAM{1} << 31;
  if (down && text_follows) lp |= kTextFollowsBit;

  HWND target = keyboard_target();
  if (!target) return;
  post_input_message(target, msg, generic, lp, cursor_pos());
}

void text(std::string_view utf8, DWORD /*time*/) {
  if (utf8.empty()) return;
  HWND target = keyboard_target();
  if (!target) return;
  std::string ansi = codepage::utf8_to_ansi(utf8);
  for (unsigned char byte : ansi) post_input_message(target, WM_CHAR, byte, 1, cursor_pos());
}

}  // namespace platform::winsys::input
