#include "platform/winsys/keyboard_state.h"

#include <mutex>

#include "platform/api/input.h"

namespace platform::winsys::keyboard {
namespace {

constexpr BYTE kDown = 0x80;
constexpr BYTE kToggled = 0x01;

struct State {
  std::mutex mutex;
  std::array<BYTE, 256> keys{};
};

State& state() {
  static State s;
  return s;
}

// Left and right variant of each generic modifier.
struct Pair {
  UINT generic, left, right;
};
constexpr Pair kPairs[] = {
    {VK_SHIFT, VK_LSHIFT, VK_RSHIFT}, {VK_CONTROL, VK_LCONTROL, VK_RCONTROL}, {VK_MENU, VK_LMENU, VK_RMENU}};

void set_one(std::array<BYTE, 256>& keys, UINT vk, bool down) {
  BYTE& k = keys[vk];
  if (down) {
    if (!(k & kDown)) k ^= kToggled;
    k |= kDown;
  } else {
    k &= static_cast<BYTE>(~kDown);
  }
}

}  // namespace

UINT generic_vk(UINT vk) {
  for (const Pair& p : kPairs)
    if (vk == p.left || vk == p.right) return p.generic;
  return vk;
}

void set_key(UINT vk, bool down) {
  if (vk > 255) return;
  State& s = state();
  std::lock_guard lock(s.mutex);
  for (const Pair& p : kPairs) {
    if (vk != p.generic && vk != p.left && vk != p.right) continue;
    // A bare generic modifier counts as the left one.
    UINT side = vk == p.generic ? p.left : vk;
    set_one(s.keys, side, down);
    bool either = (s.keys[p.left] & kDown) || (s.keys[p.right] & kDown);
    set_one(s.keys, p.generic, either);
    return;
  }
  set_one(s.keys, vk, down);
}

bool is_down(UINT vk) {
  if (vk > 255) return false;
  State& s = state();
  std::lock_guard lock(s.mutex);
  return s.keys[vk] & kDown;
}

bool is_toggled(UINT vk) {
  if (vk > 255) return false;
  State& s = state();
  std::lock_guard lock(s.mutex);
  return s.keys[vk] & kToggled;
}

std::array<BYTE, 256> snapshot() {
  State& s = state();
  std::lock_guard lock(s.mutex);
  return s.keys;
}

void reset() {
  State& s = state();
  std::lock_guard lock(s.mutex);
  s.keys.fill(0);
}

}  // namespace platform::winsys::keyboard

namespace kb = platform::winsys::keyboard;

extern "C" SHORT GetKeyState(int vk) {
  if (vk < 0 || vk > 255) return 0;
  auto keys = kb::snapshot();
  BYTE k = keys[static_cast<std::size_t>(vk)];
  SHORT result = (k & 0x80) ? static_cast<SHORT>(0xFF80) : 0;
  if (k & 0x01) result = static_cast<SHORT>(result | 1);
  return result;
}

extern "C" SHORT GetAsyncKeyState(int vk) {
  if (vk < 0 || vk > 255) return 0;
  return kb::is_down(static_cast<UINT>(vk)) ? static_cast<SHORT>(0x8000) : 0;
}

extern "C" BOOL GetKeyboardState(BYTE* state256) {
  if (!state256) return FALSE;
  auto keys = kb::snapshot();
  for (std::size_t i = 0; i < keys.size(); ++i) state256[i] = keys[i];
  return TRUE;
}
