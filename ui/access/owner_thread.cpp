#include "ui/access/owner_thread.h"

#include <mutex>

#include "platform/api/kernel.h"
#include "platform/api/user.h"

namespace ui {
namespace {

constexpr const char* kRelayClass = "LyrPropertyRelay";
constexpr UINT kMsgRunRequest = 0x8001;

LRESULT CALLBACK relay_procedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == kMsgRunRequest && lp != 0) {
    (*reinterpret_cast<const std::function<void()>*>(lp))();
    return 1;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

struct Relay {
  std::mutex lock;
  HWND window = nullptr;
  DWORD thread = 0;
};

Relay& relay() {
  static Relay r;
  return r;
}

}  // namespace

void prepare_owner_relay() {
  Relay& r = relay();
  std::lock_guard guard(r.lock);
  const DWORD me = GetCurrentThreadId();
  if (r.window != nullptr && IsWindow(r.window)) return;
  static const bool registered = [] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = relay_procedure;
    wc.lpszClassName = kRelayClass;
    return RegisterClassA(&wc) != 0;
  }();
  if (!registered) return;
  r.window =
      CreateWindowExA(0, kRelayClass, "", WS_POPUP, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  r.thread = r.window != nullptr ? me : 0;
}

void run_on_owner(HWND window, const std::function<void()>& work) {
  const DWORD owner = window != nullptr ? GetWindowThreadProcessId(window, nullptr) : 0;
  HWND target = nullptr;
  if (owner != 0 && owner != GetCurrentThreadId()) {
    Relay& r = relay();
    std::lock_guard guard(r.lock);
    if (r.thread == owner && IsWindow(r.window)) target = r.window;
  }
  if (target == nullptr) {
    work();
    return;
  }
  SendMessageA(target, kMsgRunRequest, 0, reinterpret_cast<LPARAM>(&work));
}

}  // namespace ui
