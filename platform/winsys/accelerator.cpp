// Accelerator tables: key combinations that become WM_COMMAND messages.
#include <algorithm>
#include <map>
#include <mutex>
#include <vector>

#include "platform/api/input.h"
#include "platform/api/user.h"

namespace {

struct Tables {
  std::mutex mutex;
  std::map<HACCEL, std::vector<ACCEL>> tables;
  ULONG_PTR next = 0x5A000;
};

Tables& tables() {
  static Tables t;
  return t;
}

bool find_table(HACCEL h, std::vector<ACCEL>& out) {
  Tables& t = tables();
  std::lock_guard lock(t.mutex);
  auto it = t.tables.find(h);
  if (it == t.tables.end()) return false;
  out = it->second;
  return true;
}

bool down(int vk) {
  return GetKeyState(vk) < 0;
}

bool matches(const ACCEL& a, const MSG& msg) {
  bool virt = (a.fVirt & FVIRTKEY) != 0;
  if (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) {
    if (!virt || a.key != msg.wParam) return false;
    return ((a.fVirt & FSHIFT) != 0) == down(VK_SHIFT) && ((a.fVirt & FCONTROL) != 0) == down(VK_CONTROL) &&
           ((a.fVirt & FALT) != 0) == down(VK_MENU);
  }
  if (msg.message == WM_CHAR || msg.message == WM_SYSCHAR) {
    // Character entries compare the character itself; only Alt is part of the combination.
    if (virt || a.key != msg.wParam) return false;
    return ((a.fVirt & FALT) != 0) == (msg.message == WM_SYSCHAR);
  }
  return false;
}

}  // namespace

extern "C" HACCEL CreateAcceleratorTableA(LPACCEL entries, int count) {
  if (!entries || count <= 0) return nullptr;
  Tables& t = tables();
  std::lock_guard lock(t.mutex);
  HACCEL h = reinterpret_cast<HACCEL>(t.next += 4);
  t.tables.emplace(h, std::vector<ACCEL>(entries, entries + count));
  return h;
}

extern "C" BOOL DestroyAcceleratorTable(HACCEL table) {
  Tables& t = tables();
  std::lock_guard lock(t.mutex);
  return t.tables.erase(table) ? TRUE : FALSE;
}

extern "C" int CopyAcceleratorTableA(HACCEL table, LPACCEL out, int count) {
  std::vector<ACCEL> entries;
  if (!find_table(table, entries)) return 0;
  if (!out) return static_cast<int>(entries.size());
  int n = std::min(count, static_cast<int>(entries.size()));
  for (int i = 0; i < n; ++i) out[i] = entries[static_cast<std::size_t>(i)];
  return n < 0 ? 0 : n;
}

extern "C" int TranslateAcceleratorA(HWND hwnd, HACCEL table, LPMSG msg) {
  if (!msg || !IsWindow(hwnd)) return 0;
  std::vector<ACCEL> entries;
  if (!find_table(table, entries)) return 0;
  for (const ACCEL& a : entries) {
    if (!matches(a, *msg)) continue;
    SendMessageA(hwnd, WM_COMMAND, MAKEWPARAM(a.cmd, 1), 0);
    return 1;
  }
  return 0;
}
