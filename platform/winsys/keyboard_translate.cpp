#include "platform/winsys/keyboard_translate.h"

#include "platform/api/input.h"
#include "platform/api/user.h"
#include "platform/winsys/input.h"
#include "platform/winsys/keyboard_state.h"

namespace platform::winsys::keyboard {
namespace {

struct Symbol {
  UINT vk;
  char plain;
  char shifted;
};

constexpr Symbol kSymbols[] = {
    {'0', '0', ')'},          {'1', '1', '!'},          {'2', '2', '@'},           {'3', '3', '#'},
    {'4', '4', '$'},          {'5', '5', '%'},          {'6', '6', '^'},           {'7', '7', '&'},
    {'8', '8', '*'},          {'9', '9', '('},          {VK_OEM_1, ';', ':'},      {VK_OEM_PLUS, '=', '+'},
    {VK_OEM_COMMA, ',', '<'}, {VK_OEM_MINUS, '-', '_'}, {VK_OEM_PERIOD, '.', '>'}, {VK_OEM_2, '/', '?'},
    {VK_OEM_3, '`', '~'},     {VK_OEM_4, '[', '{'},     {VK_OEM_5, '\\', '|'},     {VK_OEM_6, ']', '}'},
    {VK_OEM_7, '\'', '"'},    {VK_SPACE, ' ', ' '},
};

int control_character(UINT vk, bool shift) {
  if (vk >= 'A' && vk <= 'Z') return static_cast<int>(vk - 'A' + 1);
  switch (vk) {
    case VK_OEM_4:
      return 27;
    case VK_OEM_5:
      return 28;
    case VK_OEM_6:
      return 29;
    case '6':
      return shift ? 30 : -1;
    case VK_OEM_MINUS:
      return shift ? 31 : -1;
    case VK_RETURN:
      return 10;
    case VK_BACK:
      return 127;
    case VK_SPACE:
      return ' ';
    case VK_ESCAPE:
      return 27;
    default:
      return -1;
  }
}

}  // namespace

int character_for_key(UINT vk, Modifiers mods) {
  if (mods.ctrl && mods.alt) return -1;
  if (mods.ctrl) return control_character(vk, mods.shift);
  switch (vk) {
    case VK_BACK:
      return 8;
    case VK_TAB:
      return 9;
    case VK_RETURN:
      return 13;
    case VK_ESCAPE:
      return 27;
    case VK_MULTIPLY:
      return '*';
    case VK_ADD:
      return '+';
    case VK_SUBTRACT:
      return '-';
    case VK_DECIMAL:
      return '.';
    case VK_DIVIDE:
      return '/';
    default:
      break;
  }
  if (vk >= 'A' && vk <= 'Z') {
    bool upper = mods.shift != mods.caps_lock;
    return static_cast<int>(upper ? vk : vk - 'A' + 'a');
  }
  if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD9) return static_cast<int>('0' + (vk - VK_NUMPAD0));
  for (const Symbol& s : kSymbols)
    if (s.vk == vk) return static_cast<unsigned char>(mods.shift ? s.shifted : s.plain);
  return -1;
}

int character_for_key(UINT vk) {
  Modifiers mods{is_down(VK_SHIFT), is_down(VK_CONTROL), is_down(VK_MENU), is_toggled(VK_CAPITAL)};
  return character_for_key(vk, mods);
}

}  // namespace platform::winsys::keyboard

extern "C" BOOL TranslateMessage(const MSG* msg) {
  if (!msg) return FALSE;
  UINT m = msg->message;
  if (m == WM_KEYUP || m == WM_SYSKEYUP) return TRUE;
  if (m != WM_KEYDOWN && m != WM_SYSKEYDOWN) return FALSE;
  if (msg->lParam & platform::winsys::input::kTextFollowsBit) return TRUE;
  int ch = platform::winsys::keyboard::character_for_key(static_cast<UINT>(msg->wParam));
  if (ch < 0) return TRUE;
  PostMessageA(msg->hwnd, m == WM_KEYDOWN ? WM_CHAR : WM_SYSCHAR, static_cast<WPARAM>(ch), msg->lParam);
  return TRUE;
}
