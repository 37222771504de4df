#include "ui/events/keyboard_interface.h"

#include <cctype>
#include <string>
#include <vector>

#include "platform/api/controls.h"
#include "platform/api/input.h"
#include "platform/api/kernel.h"
#include "platform/api/user.h"
#include "ui/state/window_lookups.h"
#include "ui/templates/window_collection.h"

namespace ui {
namespace {

constexpr std::uint32_t kMnemonicTypes =
    kTypeRadioGroup | kTypeClickable | kTypeCheckable | kTypeFocusPasser | 0x4000;
constexpr std::uint32_t kRaisesClick = kTypeRadioGroup | kTypeClickable | kTypeCheckable;

std::size_t unit_count(const WindowContext& window) {
  return templates::window_collection().window(window.index).units.size();
}

bool is_menu(const WindowContext& window, std::size_t unit) {
  return templates::window_collection().window(window.index).units[unit].is_menu();
}

std::uint32_t type_bits(const WindowContext& window, std::size_t unit) {
  const runtime::UnitTypeDescriptor* type = unit_type_of(window.index, unit);
  return type != nullptr ? type->state_bits : 0;
}

// A control unit that can take the focus now.
Unit* usable(const WindowContext& window, std::size_t unit) {
  if (unit == 0 || is_menu(window, unit)) return nullptr;
  Unit* u = live_unit(window.index, unit);
  if (u == nullptr || !IsWindowVisible(u->hwnd()) || !IsWindowEnabled(u->hwnd())) return nullptr;
  return u;
}

bool tab_stop(const WindowContext& window, std::size_t unit, Unit* u) {
  const auto& record = templates::window_collection().window(window.index).units[unit].control();
  return (record.state_flags & templates::kTabStop) != 0 ||
         (static_cast<DWORD>(GetWindowLongA(u->hwnd(), GWL_STYLE)) & WS_TABSTOP) != 0;
}

// The next (or previous) unit from `from` in template order that passes `accept`, wrapping
// round; -1 when none does. `from` -1 starts before the first unit.
template <class Accept>
int step_units(const WindowContext& window, int from, bool backwards, Accept accept) {
  const int count = static_cast<int>(unit_count(window));
  if (count < 2) return -1;
  int at = from < 1 ? (backwards ? count : 0) : from;
  for (int n = 0; n < count; ++n) {
    at = backwards ? (at <= 1 ? count - 1 : at - 1) : (at >= count - 1 ? 1 : at + 1);
    if (accept(at)) return at;
  }
  return -1;
}

void focus_next(const WindowContext& window, int focused, bool backwards) {
  const int next = step_units(window, focused, backwards, [&](int i) {
    Unit* u = usable(window, static_cast<std::size_t>(i));
    return u != nullptr && tab_stop(window, static_cast<std::size_t>(i), u);
  });
  if (next >= 0) SetFocus(live_unit(window.index, static_cast<std::size_t>(next))->hwnd());
}

bool is_default_button(const WindowContext& window, std::size_t unit, Unit* u) {
  if ((type_bits(window, unit) & kTypeClickable) == 0) return false;
  auto op = reinterpret_cast<DefaultButtonOp>(unit_operation(window.index, unit, kDefaultButtonOp));
  return op != nullptr && op(u) != 0;
}

bool press_enter(const WindowContext& window, int focused) {
  if (focused > 0) {
    Unit* u = live_unit(window.index, static_cast<std::size_t>(focused));
    if (u != nullptr && IsWindowEnabled(u->hwnd()) &&
        is_default_button(window, static_cast<std::size_t>(focused), u)) {
      u->raise(0);
      return true;
    }
  }
  if (window.switches.enter_moves_focus) {
    focus_next(window, focused, false);
    return true;
  }
  for (std::size_t i = 1; i < unit_count(window); ++i) {
    if (static_cast<int>(i) == focused || is_menu(window, i)) continue;
    Unit* u = live_unit(window.index, i);
    if (u != nullptr && IsWindowEnabled(u->hwnd()) && is_default_button(window, i, u)) {
      u->raise(0);
      return true;
    }
  }
  return false;
}

bool in_group(const WindowContext& window, int unit) {
  return unit > 0 && !is_menu(window, static_cast<std::size_t>(unit)) &&
         (type_bits(window, static_cast<std::size_t>(unit)) & kTypeRadioGroup) != 0;
}

// The run of neighbouring group units around `focused`.
bool move_in_group(const WindowContext& window, int focused, bool backwards) {
  if (!in_group(window, focused)) return false;
  int first = focused;
  int last = focused;
  while (in_group(window, first - 1)) --first;
  while (last + 1 < static_cast<int>(unit_count(window)) && in_group(window, last + 1)) ++last;
  for (int n = 0, at = focused; n < last - first + 1; ++n) {
    at = backwards ? (at == first ? last : at - 1) : (at == last ? first : at + 1);
    if (Unit* u = usable(window, static_cast<std::size_t>(at))) {
      SetFocus(u->hwnd());
      break;
    }
  }
  return true;
}

bool has_mnemonic(HWND native, char key) {
  char text[512] = {};
  GetWindowTextA(native, text, sizeof text);
  const char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(key)));
  for (const char* p = text; *p != '\0'; ++p) {
    if (*p != '&') continue;
    if (p[1] == key || p[1] == lower) return true;
    if (p[1] == '&') ++p;  // "&&" is a plain ampersand
  }
  return false;
}

void check_in_group(const WindowContext& window, std::size_t unit) {
  int first = static_cast<int>(unit);
  int last = first;
  while (in_group(window, first - 1)) --first;
  while (last + 1 < static_cast<int>(unit_count(window)) && in_group(window, last + 1)) ++last;
  for (int i = first; i <= last; ++i) {
    if (Unit* u = live_unit(window.index, static_cast<std::size_t>(i)))
      SendMessageA(u->hwnd(), BM_SETCHECK, static_cast<std::size_t>(i) == unit ? BST_CHECKED : 0, 0);
  }
}

bool activate_mnemonic(const WindowContext& window, char key) {
  for (std::size_t i = 1; i < unit_count(window); ++i) {
    const std::uint32_t bits = type_bits(window, i);
    if ((bits & kMnemonicTypes) == 0 || (bits & kTypeStartsHidden) != 0) continue;
    Unit* u = usable(window, i);
    if (u == nullptr || !has_mnemonic(u->hwnd(), key)) continue;
    if ((bits & kTypeCheckable) != 0) {
      const LRESULT state = SendMessageA(u->hwnd(), BM_GETCHECK, 0, 0);
      SendMessageA(u->hwnd(), BM_SETCHECK, state == BST_CHECKED ? 0 : BST_CHECKED, 0);
    }
    if ((bits & kTypeRadioGroup) != 0) check_in_group(window, i);
    if ((bits & kRaisesClick) != 0) {
      u->raise(0);
    } else if ((bits & kTypeFocusPasser) != 0) {
      focus_next(window, static_cast<int>(i), false);
    } else {
      SetFocus(u->hwnd());
    }
    return true;
  }
  return false;
}

bool focused_unit_wants(const WindowContext& window, int focused, UINT key) {
  if (focused < 0) return false;
  auto op = reinterpret_cast<WantsKeyOp>(
      unit_operation(window.index, static_cast<std::size_t>(focused), kWantsKeyOp));
  Unit* u = live_unit(window.index, static_cast<std::size_t>(focused));
  if (op == nullptr || u == nullptr) return false;
  std::uint32_t code = key & 0xFF;
  if (GetKeyState(VK_CONTROL) < 0) code |= kKeyCtrl;
  if (GetKeyState(VK_SHIFT) < 0) code |= kKeyShift;
  if (GetKeyState(VK_MENU) < 0) code |= kKeyAlt;
  return op(u, code) == 1;
}

// The window's help file, or the program file with the extension "hlp" when none is named.
std::string help_file_of(const WindowContext& window) {
  if (window.switches.help_file != nullptr && window.switches.help_file[0] != '\0')
    return window.switches.help_file;
  char program[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, program, sizeof program);
  std::string path = program;
  const std::size_t name = path.find_last_of("\\/");
  const std::size_t dot = path.rfind('.');
  if (dot != std::string::npos && (name == std::string::npos || dot > name)) path.resize(dot);
  return path + ".hlp";
}

// Answers false when there is no help file, so that F1 goes on as an ordinary key.
bool open_help(const WindowContext& window) {
  const std::string file = help_file_of(window);
  const std::int32_t context = window.switches.help_context;
  if (context != 0)
    return WinHelpA(window.native, file.c_str(), HELP_CONTEXT, static_cast<ULONG_PTR>(context)) != FALSE;
  return WinHelpA(window.native, file.c_str(), HELP_FINDER, 0) != FALSE;
}

}  // namespace

bool keyboard_interface(const WindowContext& window, const MSG& message) {
  if (message.message != WM_KEYDOWN && message.message != WM_SYSKEYDOWN) return false;
  const UINT key = static_cast<UINT>(message.wParam);
  const int focused = unit_holding(window, GetFocus());
  if (focused_unit_wants(window, focused, key)) return false;
  const bool ctrl = GetKeyState(VK_CONTROL) < 0;
  const bool shift = GetKeyState(VK_SHIFT) < 0;
  const bool alt = GetKeyState(VK_MENU) < 0;

  switch (key) {
    case VK_TAB:
      if (ctrl || alt) return false;
      focus_next(window, focused, shift);
      return true;
    case VK_RETURN:
      return press_enter(window, focused);
    case VK_ESCAPE:
      if (!window.switches.escape_closes) return false;
      SendMessageA(window.native, WM_CLOSE, 0, 0);
      return true;
    case VK_F1:
      return window.switches.f1_help && open_help(window);
    case VK_LEFT:
    case VK_UP:
      return move_in_group(window, focused, true);
    case VK_RIGHT:
    case VK_DOWN:
      return move_in_group(window, focused, false);
    default:
      break;
  }
  const bool letter_or_digit = (key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z');
  if (alt && !ctrl && !shift && letter_or_digit) return activate_mnemonic(window, static_cast<char>(key));
  return false;
}

}  // namespace ui
