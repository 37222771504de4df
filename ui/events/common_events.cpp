#include "ui/events/common_events.h"

#include "platform/api/input.h"
#include "ui/events/window_context.h"

namespace ui {
namespace {

constexpr std::uint32_t kCtrlBit = 1;
constexpr std::uint32_t kShiftBit = 2;
constexpr std::uint32_t kAltBit = 4;
constexpr int kWheelStep = 120;

std::int32_t mouse_event_number(UINT message) {
  switch (message) {
    case WM_LBUTTONDOWN:
      return -1;
    case WM_LBUTTONUP:
      return -2;
    case WM_LBUTTONDBLCLK:
      return -3;
    case WM_RBUTTONDOWN:
      return -4;
    case WM_RBUTTONUP:
      return -5;
    case WM_MOUSEMOVE:
      return -6;
    default:
      return 0;
  }
}

std::uint32_t own_modifier(std::uint32_t vk) {
  switch (vk) {
    case VK_CONTROL:
    case 0xA2:  // left and right Ctrl
    case 0xA3:
      return kCtrlBit;
    case VK_SHIFT:
    case 0xA0:
    case 0xA1:
      return kShiftBit;
    case VK_MENU:
    case 0xA4:
    case 0xA5:
      return kAltBit;
    default:
      return 0;
  }
}

}  // namespace

std::uint32_t common_key_code(std::uint32_t virtual_key) {
  const std::uint32_t vk = virtual_key & 0xFF;
  if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD9) return '0' + (vk - VK_NUMPAD0);
  if (vk == VK_SUBTRACT) return 189;
  if (vk == VK_DECIMAL) return 190;
  if (vk == VK_DIVIDE) return 191;
  return vk;
}

std::uint32_t key_modifier_bits(std::uint32_t virtual_key) {
  return modifier_bits() & ~own_modifier(virtual_key & 0xFF);
}

bool raise_common_event(const Unit& target, MSG& message) {
  EventOutcome outcome;
  switch (message.message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MOUSEMOVE: {
      const auto position = static_cast<std::uint32_t>(message.lParam);
      outcome = target.raise(mouse_event_number(message.message),
                             {position & 0xFFFF, position >> 16, modifier_bits()});
      break;
    }
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYUP: {
      const bool down = message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN;
      const auto vk = static_cast<std::uint32_t>(message.wParam);
      outcome = target.raise(down ? -9 : -10, {common_key_code(vk), key_modifier_bits(vk)});
      break;
    }
    case WM_CHAR:
      outcome = target.raise(-11, {static_cast<std::uint32_t>(message.wParam)});
      if (outcome.result_present && outcome.result != 0) message.wParam = outcome.result;
      break;
    case WM_MOUSEWHEEL: {
      const int steps = GET_WHEEL_DELTA_WPARAM(message.wParam) / kWheelStep;
      outcome = target.raise(-12, {static_cast<std::uint32_t>(steps), modifier_bits()});
      break;
    }
    default:
      return false;
  }
  return outcome.result_present && outcome.result == 0;
}

}  // namespace ui
