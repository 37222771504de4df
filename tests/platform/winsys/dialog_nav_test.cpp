// Keyboard navigation of IsDialogMessageA.
#include "tests/platform/winsys/winsys_fixture.h"

namespace lyr::test {
namespace {

using DialogNav = WinsysTest;

MSG key(HWND hwnd, UINT vk) {
  return MSG{hwnd, WM_KEYDOWN, vk, 1, 0, {0, 0}};
}

TEST_F(DialogNav, TabSkipsDisabledAndNonTabStopControls) {
  HWND dlg = make(WS_POPUP | WS_VISIBLE, 0, 0, 200, 200);
  HWND a = make(WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 0, 10, 10, dlg);
  make(WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_DISABLED, 0, 20, 10, 10, dlg);
  make(WS_CHILD | WS_VISIBLE, 0, 40, 10, 10, dlg);
  HWND d = make(WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 60, 10, 10, dlg);
  SetFocus(a);
  MSG tab = key(a, VK_TAB);
  EXPECT_TRUE(IsDialogMessageA(dlg, &tab));
  EXPECT_EQ(GetFocus(), d);
  tab = key(d, VK_TAB);
  EXPECT_TRUE(IsDialogMessageA(dlg, &tab));
  EXPECT_EQ(GetFocus(), a) << "wraps around";
}

TEST_F(DialogNav, EnterAndEscapeBecomeCommands) {
  HWND dlg = make(WS_POPUP | WS_VISIBLE, 0, 0, 200, 200);
  HWND ok = CreateWindowExA(0, "LogWindow", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 0, 10, 10, dlg,
                            reinterpret_cast<HMENU>(IDOK), nullptr, nullptr);
  made_.push_back(ok);
  SetFocus(ok);
  std::vector<WPARAM> commands;
  log().set_override([&](HWND hwnd, UINT msg, WPARAM wp, LPARAM) -> std::optional<LRESULT> {
    if (hwnd == dlg && msg == WM_COMMAND) commands.push_back(wp);
    if (hwnd == dlg && msg == DM_GETDEFID) return MAKELRESULT(77, DC_HASDEFID);
    return std::nullopt;
  });
  MSG enter = key(ok, VK_RETURN);
  EXPECT_TRUE(IsDialogMessageA(dlg, &enter));
  MSG esc = key(ok, VK_ESCAPE);
  EXPECT_TRUE(IsDialogMessageA(dlg, &esc));
  const std::vector<WPARAM> want = {77, IDCANCEL};
  EXPECT_EQ(commands, want);
  MSG other = key(make(WS_POPUP, 0, 0, 10, 10), VK_RETURN);
  EXPECT_FALSE(IsDialogMessageA(dlg, &other)) << "a message of another window is not the dialog's";
}

TEST_F(DialogNav, ControlsThatWantAllKeysGetThem) {
  HWND dlg = make(WS_POPUP | WS_VISIBLE, 0, 0, 200, 200);
  HWND edit = make(WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 0, 10, 10, dlg);
  HWND next = make(WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 20, 10, 10, dlg);
  SetFocus(edit);
  log().set_override([&](HWND hwnd, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (hwnd == edit && msg == WM_GETDLGCODE) return DLGC_WANTALLKEYS;
    return std::nullopt;
  });
  log().clear();
  MSG tab = key(edit, VK_TAB);
  EXPECT_TRUE(IsDialogMessageA(dlg, &tab));
  EXPECT_EQ(GetFocus(), edit);
  bool delivered = false;
  for (const Logged& e : log().entries()) delivered |= e.hwnd == edit && e.message == WM_KEYDOWN;
  EXPECT_TRUE(delivered);
  (void)next;
}

}  // namespace
}  // namespace lyr::test
