// Message order of window creation and destruction.
#include "tests/platform/winsys/winsys_fixture.h"

namespace lyr::test {
namespace {

using CreateDestroy = WinsysTest;

TEST_F(CreateDestroy, OverlappedWindowWithCaption) {
  HWND w = make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200);
  ASSERT_NE(w, nullptr);
  const Expected create[] = {
      {WM_GETMINMAXINFO},
      {WM_NCCREATE},
      {WM_NCCALCSIZE, sent | wparam, 0},
      {WM_CREATE},
      {WM_SIZE, sent | wparam, SIZE_RESTORED},
      {WM_MOVE},
      {WM_SHOWWINDOW, sent | wparam, 1},
      {WM_WINDOWPOSCHANGING, sent | wparam, 0},
      {WM_ACTIVATEAPP, sent | wparam | optional, 1},
      {WM_NCACTIVATE, sent | wparam, 1},
      {WM_ACTIVATE, sent | wparam, WA_ACTIVE},
      {WM_SETFOCUS, sent | defwinproc},
      {WM_WINDOWPOSCHANGED, sent | wparam, 0},
  };
  EXPECT_TRUE(log().matches(create, "create overlapped"));
  EXPECT_EQ(GetActiveWindow(), w);
  EXPECT_EQ(GetFocus(), w);

  pump_messages();
  const Expected first_paint[] = {
      {WM_PAINT, posted},
      {WM_NCPAINT, sent | defwinproc | wparam, 1},
      {WM_ERASEBKGND, sent | defwinproc},
  };
  EXPECT_TRUE(log().matches(first_paint, "first paint"));

  RECT rc, client;
  GetWindowRect(w, &rc);
  GetClientRect(w, &client);
  EXPECT_EQ(rc.right - rc.left, 300);
  // Sizing frame 4, caption 19.
  EXPECT_EQ(client.right, 300 - 2 * 4);
  EXPECT_EQ(client.bottom, 200 - 2 * 4 - 19);

  ASSERT_TRUE(DestroyWindow(w));
  const Expected destroy[] = {
      {WM_WINDOWPOSCHANGING, sent | wparam, 0},
      {WM_WINDOWPOSCHANGED, sent | wparam, 0},
      {WM_NCACTIVATE, sent | wparam, 0},
      {WM_ACTIVATE, sent | wparam, WA_INACTIVE},
      {WM_ACTIVATEAPP, sent | wparam | optional, 0},
      {WM_KILLFOCUS, sent | wparam, 0},
      {WM_DESTROY},
      {WM_NCDESTROY},
  };
  EXPECT_TRUE(log().matches(destroy, "destroy overlapped"));
  EXPECT_FALSE(IsWindow(w));
  EXPECT_EQ(GetActiveWindow(), nullptr);
  EXPECT_EQ(GetFocus(), nullptr);
}

TEST_F(CreateDestroy, VisibleChildNotifiesItsParent) {
  HWND top = make(WS_POPUP, 0, 0, 200, 200);
  log().clear();
  log().set_parent(top);
  HWND child = make(WS_CHILD | WS_VISIBLE, 10, 20, 50, 40, top);
  ASSERT_NE(child, nullptr);
  const Expected create[] = {
      {WM_NCCREATE},
      {WM_NCCALCSIZE, sent | wparam, 0},
      {WM_CREATE},
      {WM_SIZE, sent | wparam | lparam, SIZE_RESTORED, MAKELPARAM(50, 40)},
      {WM_MOVE, sent | lparam, 0, MAKELPARAM(10, 20)},
      {WM_PARENTNOTIFY, sent | parent | wparam | lparam, WM_CREATE, reinterpret_cast<LPARAM>(child)},
      {WM_SHOWWINDOW, sent | wparam, 1},
      {WM_WINDOWPOSCHANGING, sent | wparam, 0},
      {WM_WINDOWPOSCHANGED, sent | wparam, 0},
  };
  EXPECT_TRUE(log().matches(create, "create child"));

  ASSERT_TRUE(DestroyWindow(child));
  const Expected destroy[] = {
      {WM_PARENTNOTIFY, sent | parent | wparam | lparam, WM_DESTROY, reinterpret_cast<LPARAM>(child)},
      {WM_SHOWWINDOW, sent | wparam, 0},
      {WM_WINDOWPOSCHANGING, sent | wparam, 0},
      {WM_WINDOWPOSCHANGED, sent | wparam, 0},
      {WM_DESTROY},
      {WM_NCDESTROY},
  };
  EXPECT_TRUE(log().matches(destroy, "destroy child"));
}

TEST_F(CreateDestroy, NoParentNotifyStyleSilencesTheParent) {
  HWND top = make(WS_POPUP, 0, 0, 200, 200);
  log().clear();
  log().set_parent(top);
  HWND child = make(WS_CHILD, 0, 0, 10, 10, top, WS_EX_NOPARENTNOTIFY);
  ASSERT_NE(child, nullptr);
  DestroyWindow(child);
  for (const Logged& e : log().entries()) EXPECT_NE(e.message, WM_PARENTNOTIFY);
}

TEST_F(CreateDestroy, ChildrenAreDestroyedParentFirstThenFinalisedChildFirst) {
  HWND top = make(WS_POPUP, 0, 0, 200, 200);
  HWND mid = make(WS_CHILD | WS_VISIBLE, 0, 0, 100, 100, top);
  HWND leaf = make(WS_CHILD | WS_VISIBLE, 0, 0, 50, 50, mid);
  HWND leaf2 = make(WS_CHILD, 50, 0, 50, 50, mid);
  log().clear();
  ASSERT_TRUE(DestroyWindow(mid));
  std::vector<std::pair<HWND, UINT>> order;
  for (const Logged& e : log().entries())
    if (e.message == WM_DESTROY || e.message == WM_NCDESTROY) order.emplace_back(e.hwnd, e.message);
  const std::vector<std::pair<HWND, UINT>> want = {{mid, WM_DESTROY},     {leaf, WM_DESTROY},
                                                   {leaf2, WM_DESTROY},   {leaf, WM_NCDESTROY},
                                                   {leaf2, WM_NCDESTROY}, {mid, WM_NCDESTROY}};
  EXPECT_EQ(order, want);
  EXPECT_FALSE(IsWindow(leaf));
  EXPECT_FALSE(IsWindow(leaf2));
  EXPECT_TRUE(IsWindow(top));
  EXPECT_EQ(GetWindow(top, GW_CHILD), nullptr);
}

TEST_F(CreateDestroy, CreateReturningMinusOneAbortsCreation) {
  HWND top = make(WS_POPUP, 0, 0, 200, 200);
  log().clear();
  log().set_override([](HWND, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (msg == WM_CREATE) return -1;
    return std::nullopt;
  });
  HWND child = make(WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, top);
  EXPECT_EQ(child, nullptr);
  auto entries = log().entries();
  const Expected seq[] = {
      {WM_NCCREATE}, {WM_NCCALCSIZE, sent | wparam, 0}, {WM_CREATE}, {WM_DESTROY}, {WM_NCDESTROY},
  };
  EXPECT_TRUE(log().matches(seq, "create fails"));
  ASSERT_FALSE(entries.empty());
  EXPECT_FALSE(IsWindow(entries.front().hwnd));
  EXPECT_EQ(GetWindow(top, GW_CHILD), nullptr);
}

TEST_F(CreateDestroy, NcCreateReturningFalseOnlyFinalises) {
  log().set_override([](HWND, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (msg == WM_NCCREATE) return FALSE;
    return std::nullopt;
  });
  EXPECT_EQ(make(WS_POPUP | WS_VISIBLE, 0, 0, 10, 10), nullptr);
  const Expected seq[] = {{WM_NCCREATE}, {WM_NCDESTROY}};
  EXPECT_TRUE(log().matches(seq, "nccreate fails"));
}

TEST_F(CreateDestroy, OwnedWindowsGoFirst) {
  HWND owner = make(WS_POPUP, 0, 0, 100, 100);
  HWND owned = make(WS_POPUP, 0, 0, 50, 50, owner);
  EXPECT_EQ(GetWindow(owned, GW_OWNER), owner);
  EXPECT_EQ(GetParent(owned), owner);  // popups report their owner
  EXPECT_EQ(GetAncestor(owned, GA_PARENT), GetDesktopWindow());
  EXPECT_EQ(GetAncestor(owned, GA_ROOTOWNER), owner);
  log().clear();
  DestroyWindow(owner);
  std::vector<std::pair<HWND, UINT>> order;
  for (const Logged& e : log().entries())
    if (e.message == WM_DESTROY || e.message == WM_NCDESTROY) order.emplace_back(e.hwnd, e.message);
  const std::vector<std::pair<HWND, UINT>> want = {
      {owned, WM_DESTROY}, {owned, WM_NCDESTROY}, {owner, WM_DESTROY}, {owner, WM_NCDESTROY}};
  EXPECT_EQ(order, want);
}

TEST_F(CreateDestroy, DestroyingItselfInsideItsProcedureIsSafe) {
  HWND w = make(WS_POPUP | WS_VISIBLE, 0, 0, 50, 50);
  log().clear();
  LONG_PTR seen_after = -1;
  BOOL is_window_after = TRUE;
  log().set_override([&](HWND hwnd, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (msg != WM_USER) return std::nullopt;
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, 42);
    DestroyWindow(hwnd);
    // The handle is dead at once, the procedure keeps running.
    is_window_after = IsWindow(hwnd);
    seen_after = GetWindowLongPtrA(hwnd, GWLP_USERDATA);
    DefWindowProcA(hwnd, WM_PAINT, 0, 0);
    DestroyWindow(hwnd);
    return 5;
  });
  EXPECT_EQ(SendMessageA(w, WM_USER, 0, 0), 5);
  EXPECT_FALSE(is_window_after);
  EXPECT_EQ(seen_after, 0);
  EXPECT_FALSE(IsWindow(w));
  int destroys = 0, ncdestroys = 0;
  for (const Logged& e : log().entries()) {
    destroys += e.message == WM_DESTROY;
    ncdestroys += e.message == WM_NCDESTROY;
  }
  EXPECT_EQ(destroys, 1);
  EXPECT_EQ(ncdestroys, 1);
}

TEST_F(CreateDestroy, DestroyedOrUnknownHandlesAreRejectedEverywhere) {
  HWND w = make(WS_POPUP, 0, 0, 50, 50);
  DestroyWindow(w);
  const HWND bad[] = {w, reinterpret_cast<HWND>(0x1234), reinterpret_cast<HWND>(~uintptr_t{0} - 7)};
  for (HWND h : bad) {
    SCOPED_TRACE(reinterpret_cast<uintptr_t>(h));
    RECT rc{1, 2, 3, 4};
    POINT pt{0, 0};
    char text[8] = "x";
    MSG msg;
    EXPECT_FALSE(IsWindow(h));
    EXPECT_FALSE(DestroyWindow(h));
    EXPECT_EQ(SendMessageA(h, WM_USER, 0, 0), 0);
    EXPECT_FALSE(PostMessageA(h, WM_USER, 0, 0));
    EXPECT_EQ(GetWindowLongPtrA(h, GWL_STYLE), 0);
    EXPECT_EQ(SetWindowLongPtrA(h, GWLP_USERDATA, 1), 0);
    EXPECT_FALSE(SetWindowPos(h, nullptr, 0, 0, 1, 1, SWP_NOZORDER));
    EXPECT_FALSE(ShowWindow(h, SW_SHOW));
    EXPECT_FALSE(GetWindowRect(h, &rc));
    EXPECT_FALSE(GetClientRect(h, &rc));
    EXPECT_FALSE(ClientToScreen(h, &pt));
    EXPECT_FALSE(InvalidateRect(h, nullptr, TRUE));
    EXPECT_FALSE(UpdateWindow(h));
    EXPECT_EQ(GetDC(h), nullptr);
    EXPECT_EQ(SetTimer(h, 1, 10, nullptr), 0u);
    EXPECT_EQ(GetWindowTextA(h, text, sizeof text), 0);
    EXPECT_EQ(text[0], '\0');
    EXPECT_EQ(GetClassNameA(h, text, sizeof text), 0);
    EXPECT_FALSE(SetWindowTextA(h, "a"));
    EXPECT_EQ(GetParent(h), nullptr);
    EXPECT_EQ(SetFocus(h), nullptr);
    EXPECT_EQ(SetCapture(h), nullptr);
    EXPECT_FALSE(EnableWindow(h, FALSE));
    EXPECT_FALSE(SetPropA(h, "p", h));
    EXPECT_EQ(GetPropA(h, "p"), nullptr);
    EXPECT_EQ(GetWindowThreadProcessId(h, nullptr), 0u);
    EXPECT_EQ(GetMessageA(&msg, h, 0, 0), -1);
    EXPECT_FALSE(PeekMessageA(&msg, h, 0, 0, PM_REMOVE));
    EXPECT_EQ(CreateWindowExA(0, "LogWindow", "", WS_CHILD, 0, 0, 1, 1, h, nullptr, nullptr, nullptr),
              nullptr);
  }
}

TEST_F(CreateDestroy, UnknownClassFailsAndClassNamesIgnoreCase) {
  EXPECT_EQ(CreateWindowExA(0, "NoSuchClass", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr),
            nullptr);
  HWND w = CreateWindowExA(0, "logwindow", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(w, nullptr);
  made_.push_back(w);
  char name[32];
  EXPECT_EQ(GetClassNameA(w, name, sizeof name), 9);
  EXPECT_STREQ(name, "LogWindow");
  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.lpszClassName = "LOGWINDOW";
  EXPECT_EQ(RegisterClassA(&wc), 0) << "a second class of the same name";
  EXPECT_FALSE(UnregisterClassA("LogWindow", nullptr)) << "a class in use stays";
}

}  // namespace
}  // namespace lyr::test
