#include "tests/support/popup_watch.h"

#include <string_view>

#include "platform/api/input.h"
#include "platform/api/kernel.h"
#include "platform/api/user.h"
#include "platform/winsys/headless.h"

namespace test_support {
namespace {

PopupWatch* g_watch = nullptr;

LRESULT on_cbt(int code, WPARAM wp, LPARAM lp) {
  char name[32] = {};
  if (code == HCBT_CREATEWND && g_watch != nullptr &&
      GetClassNameA(reinterpret_cast<HWND>(wp), name, sizeof name) > 0 &&
      std::string_view(name) == "#32768") {
    ++g_watch->opened;
    const CREATESTRUCTA* cs = reinterpret_cast<CBT_CREATEWNDA*>(lp)->lpcs;
    g_watch->corners.push_back({cs->x, cs->y});
    if (g_watch->click_at) {
      const POINT at{cs->x + g_watch->click_at->x, cs->y + g_watch->click_at->y};
      platform::headless::mouse_button(platform::headless::Button::left, true, at);
      platform::headless::mouse_button(platform::headless::Button::left, false, at);
    }
    platform::headless::key_press(VK_ESCAPE);
  }
  return CallNextHookEx(nullptr, code, wp, lp);
}

}  // namespace

PopupWatch::PopupWatch() {
  g_watch = this;
  hook_ = SetWindowsHookExA(WH_CBT, &on_cbt, nullptr, GetCurrentThreadId());
}

PopupWatch::~PopupWatch() {
  UnhookWindowsHookEx(hook_);
  g_watch = nullptr;
}

}  // namespace test_support
