// Window data, subclassing chains, WH_CALLWNDPROC hooks, properties and text.
#include <atomic>
#include <thread>

#include "tests/platform/winsys/winsys_fixture.h"

namespace lyr::test {
namespace {

using WindowData = WinsysTest;

std::vector<std::string>& calls() {
  static std::vector<std::string> v;
  return v;
}
WNDPROC g_prev1 = nullptr;
WNDPROC g_prev2 = nullptr;

LRESULT CALLBACK base_proc(HWND h, UINT m, WPARAM wp, LPARAM lp) {
  if (m == WM_USER) {
    calls().push_back("base");
    return 100;
  }
  return DefWindowProcA(h, m, wp, lp);
}
LRESULT CALLBACK sub1(HWND h, UINT m, WPARAM wp, LPARAM lp) {
  if (m == WM_USER) calls().push_back("sub1");
  LRESULT r = CallWindowProcA(g_prev1, h, m, wp, lp);
  return m == WM_USER ? r + 10 : r;
}
LRESULT CALLBACK sub2(HWND h, UINT m, WPARAM wp, LPARAM lp) {
  if (m == WM_USER) calls().push_back("sub2");
  LRESULT r = CallWindowProcA(g_prev2, h, m, wp, lp);
  return m == WM_USER ? r + 1 : r;
}

TEST_F(WindowData, TwoLevelSubclassChain) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = base_proc;
  wc.lpszClassName = "SubclassBase";
  static const ATOM atom = RegisterClassA(&wc);
  ASSERT_NE(atom, 0);
  HWND w = CreateWindowExA(0, "SubclassBase", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(w, nullptr);
  made_.push_back(w);
  calls().clear();
  g_prev1 = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(sub1)));
  EXPECT_EQ(g_prev1, base_proc);
  g_prev2 = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(sub2)));
  EXPECT_EQ(g_prev2, sub1);
  EXPECT_EQ(GetWindowLongPtrA(w, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(sub2));
  EXPECT_EQ(SendMessageA(w, WM_USER, 0, 0), 111);
  const std::vector<std::string> want = {"sub2", "sub1", "base"};
  EXPECT_EQ(calls(), want);

  // The 32-bit view hands out a handle that CallWindowProcA and SetWindowLongA understand.
  LONG handle = GetWindowLongA(w, GWL_WNDPROC);
  ASSERT_NE(handle, 0);
  calls().clear();
  EXPECT_EQ(CallWindowProcA(reinterpret_cast<WNDPROC>(static_cast<LONG_PTR>(handle)), w, WM_USER, 0, 0), 111);
  LONG base_handle = SetWindowLongA(w, GWL_WNDPROC, handle);  // same procedure again
  EXPECT_EQ(base_handle, handle);
  // A code address cut to 32 bits is refused rather than called later.
  EXPECT_EQ(SetWindowLongA(w, GWL_WNDPROC, 0x00401000), 0);
  EXPECT_EQ(GetWindowLongPtrA(w, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(sub2));
  SetWindowLongPtrA(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(base_proc));
  EXPECT_EQ(SendMessageA(w, WM_USER, 0, 0), 100);
  EXPECT_EQ(GetClassLongPtrA(w, GCLP_WNDPROC), reinterpret_cast<ULONG_PTR>(base_proc));
}

TEST_F(WindowData, CallWndProcHookSeesOnlyItsOwnThreadsWindows) {
  HHOOK hk = SetWindowsHookExA(WH_CALLWNDPROC, logging_callwndproc, nullptr, GetCurrentThreadId());
  ASSERT_NE(hk, nullptr);
  set_logging_hook_handle(hk);
  log().clear();
  HWND mine = make(WS_POPUP, 0, 0, 10, 10);
  std::atomic<HWND> theirs{nullptr};
  std::thread worker([&] {
    HWND h = CreateWindowExA(0, "LogWindow", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    theirs = h;
    DestroyWindow(h);
  });
  worker.join();
  EXPECT_TRUE(UnhookWindowsHookEx(hk));
  EXPECT_FALSE(UnhookWindowsHookEx(hk));
  bool saw_nccreate = false, saw_create = false;
  for (const Logged& e : log().entries()) {
    if (!(e.flags & hook)) continue;
    EXPECT_EQ(e.hwnd, mine) << message_name(e.message) << " of another thread's window";
    saw_nccreate |= e.message == WM_NCCREATE;
    saw_create |= e.message == WM_CREATE;
  }
  EXPECT_TRUE(saw_nccreate);
  EXPECT_TRUE(saw_create);
  // Each sent message is seen by the hook just before the procedure.
  auto entries = log().entries();
  for (std::size_t i = 0; i + 1 < entries.size(); ++i)
    if ((entries[i].flags & hook) && entries[i].hwnd == mine) {
      EXPECT_EQ(entries[i + 1].message, entries[i].message);
      EXPECT_TRUE(entries[i + 1].flags & sent);
    }
  log().clear();
  SendMessageA(mine, WM_USER, 0, 0);
  const Expected after_unhook[] = {{WM_USER}};
  EXPECT_TRUE(log().matches(after_unhook, "no hook after unhooking"));
}

HHOOK g_subclass_hook = nullptr;
std::vector<UINT>& subclass_seen() {
  static std::vector<UINT> v;
  return v;
}
LRESULT CALLBACK counting_subclass(HWND h, UINT m, WPARAM wp, LPARAM lp) {
  subclass_seen().push_back(m);
  return CallWindowProcA(logging_proc, h, m, wp, lp);
}
LRESULT CALLBACK subclass_on_create(int code, WPARAM wp, LPARAM lp) {
  auto* cwp = reinterpret_cast<const CWPSTRUCT*>(lp);
  if (code >= 0 && cwp->message == WM_CREATE)
    SetWindowLongPtrA(cwp->hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(counting_subclass));
  return CallNextHookEx(g_subclass_hook, code, wp, lp);
}

TEST_F(WindowData, HookThatSubclassesOnCreateGetsTheCreateMessageInItsProcedure) {
  g_subclass_hook = SetWindowsHookExA(WH_CALLWNDPROC, subclass_on_create, nullptr, GetCurrentThreadId());
  ASSERT_NE(g_subclass_hook, nullptr);
  subclass_seen().clear();
  HWND w = make(WS_POPUP, 0, 0, 10, 10);
  UnhookWindowsHookEx(g_subclass_hook);
  ASSERT_FALSE(subclass_seen().empty());
  EXPECT_EQ(subclass_seen().front(), static_cast<UINT>(WM_CREATE));
  SendMessageA(w, WM_USER, 0, 0);
  EXPECT_EQ(subclass_seen().back(), static_cast<UINT>(WM_USER));
}

TEST_F(WindowData, StylesExtraBytesAndIds) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.cbWndExtra = 16;
  wc.cbClsExtra = 8;
  wc.lpszClassName = "ExtraBytes";
  // Registered afresh each run: the test unregisters it at the end.
  const ATOM atom = RegisterClassA(&wc);
  ASSERT_NE(atom, 0);
  HWND top = make(WS_POPUP, 0, 0, 100, 100);
  HWND w = CreateWindowExA(0, "ExtraBytes", "", WS_CHILD, 0, 0, 10, 10, top, reinterpret_cast<HMENU>(55),
                           nullptr, nullptr);
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(GetDlgCtrlID(w), 55);
  EXPECT_EQ(GetDlgItem(top, 55), w);
  EXPECT_EQ(SetWindowLongPtrA(w, 8, 0x1122334455667788), 0);
  EXPECT_EQ(GetWindowLongPtrA(w, 8), 0x1122334455667788);
  EXPECT_EQ(SetWindowLongPtrA(w, 9, 1), 0) << "beyond the extra bytes";
  EXPECT_EQ(SetWindowLongA(w, 12, 77), 0x11223344);
  EXPECT_EQ(GetWindowLongA(w, 12), 77);
  EXPECT_EQ(SetClassLongPtrA(w, 0, 5), 0u);
  EXPECT_EQ(GetClassLongPtrA(w, 0), 5u);
  EXPECT_EQ(GetClassLongPtrA(w, 1), 0u) << "beyond the class bytes";
  EXPECT_EQ(SetWindowLongPtrA(w, GWLP_USERDATA, 9), 0);
  EXPECT_EQ(GetWindowLongPtrA(w, GWLP_USERDATA), 9);
  DestroyWindow(w);
  UnregisterClassA("ExtraBytes", nullptr);
}

TEST_F(WindowData, StyleChangesAreAnnounced) {
  HWND w = make(WS_POPUP, 0, 0, 10, 10);
  log().clear();
  LONG_PTR old = SetWindowLongPtrA(w, GWL_EXSTYLE, WS_EX_CLIENTEDGE);
  EXPECT_EQ(old & WS_EX_CLIENTEDGE, 0);
  const Expected seq[] = {{WM_STYLECHANGING, sent | wparam, static_cast<WPARAM>(GWL_EXSTYLE)},
                          {WM_STYLECHANGED, sent | wparam, static_cast<WPARAM>(GWL_EXSTYLE)}};
  EXPECT_TRUE(log().matches(seq, "exstyle"));
  EXPECT_TRUE(GetWindowLongPtrA(w, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
  // The frame follows once SWP_FRAMECHANGED recalculates it.
  SetWindowPos(w, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
  RECT rc;
  GetClientRect(w, &rc);
  EXPECT_EQ(rc.right, 10 - 4);
}

TEST_F(WindowData, PropertiesIgnoreCase) {
  HWND w = make(WS_POPUP, 0, 0, 10, 10);
  int a = 1, b = 2;
  EXPECT_TRUE(SetPropA(w, "Prop", &a));
  EXPECT_EQ(GetPropA(w, "PROP"), &a);
  EXPECT_TRUE(SetPropA(w, "prop", &b));
  EXPECT_EQ(GetPropA(w, "Prop"), &b);
  EXPECT_EQ(RemovePropA(w, "pRoP"), &b);
  EXPECT_EQ(GetPropA(w, "Prop"), nullptr);
  EXPECT_EQ(RemovePropA(w, "Prop"), nullptr);
}

TEST_F(WindowData, TextRoundTripsWithoutSplittingDoubleByteCharacters) {
  HWND w = make(WS_POPUP, 0, 0, 10, 10, nullptr, 0, "");
  const char gbk[] = "A\xC4\xE3\xBA\xC3";  // "A" and two double-byte characters
  EXPECT_TRUE(SetWindowTextA(w, gbk));
  EXPECT_EQ(GetWindowTextLengthA(w), 5);
  char buf[16];
  EXPECT_EQ(GetWindowTextA(w, buf, sizeof buf), 5);
  EXPECT_STREQ(buf, gbk);
  EXPECT_EQ(GetWindowTextA(w, buf, 3), 1) << "a character that does not fit is left out whole";
  EXPECT_STREQ(buf, "A");
  EXPECT_EQ(GetWindowTextA(w, buf, 0), 0);
}

TEST_F(WindowData, TreeNavigationFollowsZOrder) {
  HWND top = make(WS_POPUP, 0, 0, 100, 100);
  HWND a = make(WS_CHILD, 0, 0, 10, 10, top);
  HWND b = make(WS_CHILD, 0, 0, 10, 10, top);
  HWND c = make(WS_CHILD, 0, 0, 10, 10, b);
  EXPECT_EQ(GetWindow(top, GW_CHILD), a) << "creation order is z-order from the top";
  EXPECT_EQ(GetWindow(a, GW_HWNDNEXT), b);
  EXPECT_EQ(GetWindow(b, GW_HWNDPREV), a);
  EXPECT_EQ(GetWindow(a, GW_HWNDLAST), b);
  EXPECT_EQ(GetParent(c), b);
  EXPECT_EQ(GetAncestor(c, GA_ROOT), top);
  EXPECT_TRUE(IsChild(top, c));
  EXPECT_FALSE(IsChild(c, top));
  std::vector<HWND> seen;
  EnumChildWindows(
      top,
      [](HWND h, LPARAM p) {
        reinterpret_cast<std::vector<HWND>*>(p)->push_back(h);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&seen));
  const std::vector<HWND> want = {a, b, c};
  EXPECT_EQ(seen, want);
  SetWindowPos(b, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  EXPECT_EQ(GetWindow(top, GW_CHILD), b);
  EXPECT_EQ(SetParent(c, top), b);
  EXPECT_EQ(GetParent(c), top);
  EXPECT_EQ(SetParent(top, c), nullptr) << "a window cannot move under its own descendant";
  EXPECT_EQ(FindWindowA("logwindow", "test"),
            GetTopWindow(nullptr) == top ? top : FindWindowA("LogWindow", "test"));
  EXPECT_EQ(GetWindowThreadProcessId(c, nullptr), GetCurrentThreadId());
}

}  // namespace
}  // namespace lyr::test

namespace lyr::test {
namespace {

HHOOK g_cbt = nullptr;
std::vector<int>& cbt_codes() {
  static std::vector<int> v;
  return v;
}
LRESULT CALLBACK refusing_cbt(int code, WPARAM wp, LPARAM lp) {
  cbt_codes().push_back(code);
  if (code == HCBT_CREATEWND) {
    auto* cbt = reinterpret_cast<CBT_CREATEWNDA*>(lp);
    if (cbt->lpcs->lpszName && std::string(cbt->lpcs->lpszName) == "refuse") return 1;
  }
  return CallNextHookEx(g_cbt, code, wp, lp);
}

TEST_F(WindowData, CbtHookSeesCreationAndDestructionAndMayRefuse) {
  g_cbt = SetWindowsHookExA(WH_CBT, refusing_cbt, nullptr, GetCurrentThreadId());
  ASSERT_NE(g_cbt, nullptr);
  cbt_codes().clear();
  log().clear();
  EXPECT_EQ(make(WS_POPUP, 0, 0, 10, 10, nullptr, 0, "refuse"), nullptr);
  EXPECT_TRUE(log().matches({}, "a refused window gets no message"));
  HWND w = make(WS_POPUP, 0, 0, 10, 10, nullptr, 0, "fine");
  ASSERT_NE(w, nullptr);
  DestroyWindow(w);
  UnhookWindowsHookEx(g_cbt);
  const std::vector<int> want = {HCBT_CREATEWND, HCBT_CREATEWND, HCBT_DESTROYWND};
  EXPECT_EQ(cbt_codes(), want);
}

}  // namespace
}  // namespace lyr::test
