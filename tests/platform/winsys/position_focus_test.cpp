// SetWindowPos and ShowWindow sequences, coordinates, activation, focus, capture, enabling.
#include "tests/platform/winsys/winsys_fixture.h"

namespace lyr::test {
namespace {

using PositionFocus = WinsysTest;

TEST_F(PositionFocus, MovingAndSizingAChild) {
  HWND top = make(WS_POPUP, 0, 0, 200, 200);
  HWND child = make(WS_CHILD | WS_VISIBLE, 0, 0, 50, 50, top);
  log().clear();
  SetWindowPos(child, nullptr, 10, 20, 60, 70, SWP_NOZORDER | SWP_NOACTIVATE);
  const Expected move_size[] = {
      {WM_WINDOWPOSCHANGING, sent | wparam, 0},
      {WM_NCCALCSIZE, sent | wparam, TRUE},
      {WM_WINDOWPOSCHANGED, sent | wparam, 0},
      {WM_MOVE, sent | defwinproc | lparam, 0, MAKELPARAM(10, 20)},
      {WM_SIZE, sent | defwinproc | wparam | lparam, SIZE_RESTORED, MAKELPARAM(60, 70)},
  };
  EXPECT_TRUE(log().matches(move_size, "move and size"));
  MoveWindow(child, 15, 20, 60, 70, TRUE);
  const Expected move_only[] = {
      {WM_WINDOWPOSCHANGING, sent | wparam, 0},
      {WM_WINDOWPOSCHANGED, sent | wparam, 0},
      {WM_MOVE, sent | defwinproc | lparam, 0, MAKELPARAM(15, 20)},
  };
  EXPECT_TRUE(log().matches(move_only, "move only"));
  SetWindowPos(child, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
  const Expected nothing[] = {{WM_WINDOWPOSCHANGING}, {WM_WINDOWPOSCHANGED}};
  EXPECT_TRUE(log().matches(nothing, "no change"));
}

TEST_F(PositionFocus, WindowPosChangingMayEditThePosition) {
  HWND w = make(WS_POPUP, 0, 0, 50, 50);
  log().set_override([](HWND, UINT msg, WPARAM, LPARAM lp) -> std::optional<LRESULT> {
    if (msg == WM_WINDOWPOSCHANGING) {
      auto* pos = reinterpret_cast<WINDOWPOS*>(lp);
      pos->cx = 33;
      pos->flags |= SWP_NOMOVE;
      return 0;
    }
    return std::nullopt;
  });
  SetWindowPos(w, nullptr, 40, 40, 100, 100, SWP_NOZORDER | SWP_NOACTIVATE);
  RECT rc;
  GetWindowRect(w, &rc);
  EXPECT_EQ(rc.left, 0);
  EXPECT_EQ(rc.right - rc.left, 33);
  EXPECT_EQ(rc.bottom - rc.top, 100);
}

TEST_F(PositionFocus, ShowAndHideAChild) {
  HWND top = make(WS_POPUP, 0, 0, 200, 200);
  HWND child = make(WS_CHILD, 0, 0, 50, 50, top);
  log().clear();
  EXPECT_FALSE(ShowWindow(child, SW_SHOW)) << "was hidden";
  const Expected show[] = {{WM_SHOWWINDOW, sent | wparam, 1}, {WM_WINDOWPOSCHANGING}, {WM_WINDOWPOSCHANGED}};
  EXPECT_TRUE(log().matches(show, "show child"));
  EXPECT_TRUE(GetWindowLongPtrA(child, GWL_STYLE) & WS_VISIBLE);
  EXPECT_FALSE(IsWindowVisible(child)) << "its parent is hidden";
  EXPECT_TRUE(ShowWindow(child, SW_HIDE));
  const Expected hide[] = {{WM_SHOWWINDOW, sent | wparam, 0}, {WM_WINDOWPOSCHANGING}, {WM_WINDOWPOSCHANGED}};
  EXPECT_TRUE(log().matches(hide, "hide child"));
  EXPECT_FALSE(ShowWindow(child, SW_HIDE));
  EXPECT_TRUE(log().matches({}, "hiding a hidden window sends nothing"));
}

TEST_F(PositionFocus, MinimiseMaximiseRestore) {
  HWND w = make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 60, 300, 200);
  log().clear();
  ShowWindow(w, SW_MAXIMIZE);
  EXPECT_TRUE(IsZoomed(w));
  RECT rc;
  GetClientRect(w, &rc);
  EXPECT_EQ(rc.right, GetSystemMetrics(SM_CXSCREEN));
  bool saw_max = false;
  for (const Logged& e : log().entries()) saw_max |= e.message == WM_SIZE && e.wp == SIZE_MAXIMIZED;
  EXPECT_TRUE(saw_max);
  ShowWindow(w, SW_MINIMIZE);
  EXPECT_TRUE(IsIconic(w));
  EXPECT_FALSE(IsZoomed(w));
  log().clear();
  ShowWindow(w, SW_RESTORE);
  EXPECT_FALSE(IsIconic(w));
  GetWindowRect(w, &rc);
  EXPECT_EQ(rc.left, 50);
  EXPECT_EQ(rc.top, 60);
  EXPECT_EQ(rc.right - rc.left, 300);
  bool saw_restored = false;
  for (const Logged& e : log().entries()) saw_restored |= e.message == WM_SIZE && e.wp == SIZE_RESTORED;
  EXPECT_TRUE(saw_restored);
}

TEST_F(PositionFocus, CoordinatesAndHitTesting) {
  HWND top = make(WS_POPUP | WS_VISIBLE | WS_BORDER, 100, 100, 200, 200);
  HWND child = make(WS_CHILD | WS_VISIBLE, 10, 20, 50, 50, top);
  HWND hidden = make(WS_CHILD, 100, 100, 50, 50, top);
  make(WS_CHILD | WS_VISIBLE | WS_DISABLED, 100, 20, 50, 50, top);
  POINT p{0, 0};
  ClientToScreen(child, &p);
  EXPECT_EQ(p.x, 100 + 1 + 10);
  EXPECT_EQ(p.y, 100 + 1 + 20);
  ScreenToClient(top, &p);
  EXPECT_EQ(p.x, 10);
  POINT pts[1] = {{5, 5}};
  MapWindowPoints(child, top, pts, 1);
  EXPECT_EQ(pts[0].x, 15);
  EXPECT_EQ(pts[0].y, 25);
  EXPECT_EQ(WindowFromPoint({100 + 1 + 15, 100 + 1 + 25}), child);
  EXPECT_EQ(WindowFromPoint({100 + 1 + 110, 100 + 1 + 110}), top) << "hidden children are skipped";
  EXPECT_EQ(WindowFromPoint({100 + 1 + 110, 100 + 1 + 30}), top) << "disabled children belong to the parent";
  EXPECT_EQ(ChildWindowFromPointEx(top, {110, 110}, CWP_ALL), hidden);
  EXPECT_EQ(ChildWindowFromPointEx(top, {110, 110}, CWP_SKIPINVISIBLE), top);
  EXPECT_EQ(ChildWindowFromPointEx(top, {110, 30}, CWP_SKIPDISABLED), top);
  EXPECT_EQ(ChildWindowFromPoint(top, {500, 500}), nullptr);
  EXPECT_EQ(SendMessageA(top, WM_NCHITTEST, 0, MAKELPARAM(150, 150)), HTCLIENT);
  EXPECT_EQ(SendMessageA(top, WM_NCHITTEST, 0, MAKELPARAM(100, 150)), HTBORDER);
  EXPECT_EQ(SendMessageA(top, WM_NCHITTEST, 0, MAKELPARAM(99, 150)), HTNOWHERE);
}

TEST_F(PositionFocus, CaptionFrameHitTestAndAdjust) {
  HWND w = make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200);
  RECT rc;
  GetWindowRect(w, &rc);
  auto hit = [&](int x, int y) {
    return SendMessageA(w, WM_NCHITTEST, 0, MAKELPARAM(rc.left + x, rc.top + y));
  };
  EXPECT_EQ(hit(1, 100), HTLEFT);
  EXPECT_EQ(hit(298, 100), HTRIGHT);
  EXPECT_EQ(hit(150, 1), HTTOP);
  EXPECT_EQ(hit(1, 1), HTTOPLEFT);
  EXPECT_EQ(hit(298, 198), HTBOTTOMRIGHT);
  EXPECT_EQ(hit(100, 10), HTCAPTION);
  EXPECT_EQ(hit(300 - 4 - 2 - 5, 4 + 2 + 5), HTCLOSE);
  EXPECT_EQ(hit(150, 100), HTCLIENT);
  RECT want{0, 0, 100, 50};
  AdjustWindowRectEx(&want, WS_OVERLAPPEDWINDOW, FALSE, 0);
  EXPECT_EQ(want.left, -4);
  EXPECT_EQ(want.top, -4 - 19);
  EXPECT_EQ(want.right, 104);
  EXPECT_EQ(want.bottom, 54);
  RECT edged{0, 0, 100, 50};
  AdjustWindowRectEx(&edged, WS_CHILD | WS_BORDER, FALSE, WS_EX_CLIENTEDGE);
  EXPECT_EQ(edged.left, -3);
}

TEST_F(PositionFocus, ActivationMovesBetweenTopLevelWindows) {
  HWND a = make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 200);
  HWND b = make(WS_OVERLAPPEDWINDOW, 0, 0, 200, 200);
  ASSERT_EQ(GetActiveWindow(), a);
  log().clear();
  log().set_parent(a);  // marks a's messages
  EXPECT_EQ(SetActiveWindow(b), a);
  const Expected seq[] = {
      {WM_NCACTIVATE, sent | parent | wparam, 0},
      {WM_ACTIVATE, sent | parent | wparam | lparam, WA_INACTIVE, reinterpret_cast<LPARAM>(b)},
      {WM_NCACTIVATE, sent | wparam, 1},
      {WM_ACTIVATE, sent | wparam | lparam, WA_ACTIVE, reinterpret_cast<LPARAM>(a)},
      {WM_KILLFOCUS, sent | parent | defwinproc | wparam, reinterpret_cast<WPARAM>(b)},
      {WM_SETFOCUS, sent | defwinproc | wparam, reinterpret_cast<WPARAM>(a)},
  };
  EXPECT_TRUE(log().matches(seq, "SetActiveWindow"));
  EXPECT_EQ(GetActiveWindow(), b);
  EXPECT_EQ(GetForegroundWindow(), b);
  EXPECT_EQ(GetFocus(), b);
  EXPECT_EQ(GetTopWindow(nullptr), b) << "activation brings the window to the top";
}

TEST_F(PositionFocus, FocusInsideAWindowAndDisabling) {
  HWND top = make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 200);
  HWND edit = make(WS_CHILD | WS_VISIBLE, 0, 0, 50, 20, top);
  log().clear();
  log().set_parent(top);
  EXPECT_EQ(SetFocus(edit), top);
  const Expected seq[] = {
      {WM_KILLFOCUS, sent | parent | wparam, reinterpret_cast<WPARAM>(edit)},
      {WM_SETFOCUS, sent | wparam, reinterpret_cast<WPARAM>(top)},
  };
  EXPECT_TRUE(log().matches(seq, "SetFocus"));
  EXPECT_FALSE(EnableWindow(edit, FALSE)) << "was enabled";
  const Expected disable[] = {{WM_KILLFOCUS, sent | wparam, 0}, {WM_ENABLE, sent | wparam, 0}};
  EXPECT_TRUE(log().matches(disable, "disable the focus window"));
  EXPECT_EQ(GetFocus(), nullptr);
  EXPECT_FALSE(IsWindowEnabled(edit));
  EXPECT_EQ(SetFocus(edit), nullptr) << "a disabled window takes no focus";
  EXPECT_TRUE(EnableWindow(edit, TRUE)) << "was disabled";
  EXPECT_TRUE(IsWindowEnabled(edit));
  EXPECT_EQ(SetFocus(edit), nullptr);
  EXPECT_EQ(GetFocus(), edit);
  DestroyWindow(edit);
  EXPECT_EQ(GetFocus(), top) << "a destroyed child's focus goes to its parent";
}

TEST_F(PositionFocus, CaptureAnnouncesItsLoss) {
  HWND a = make(WS_POPUP | WS_VISIBLE, 0, 0, 50, 50);
  HWND b = make(WS_POPUP | WS_VISIBLE, 0, 0, 50, 50);
  EXPECT_EQ(SetCapture(a), nullptr);
  EXPECT_EQ(GetCapture(), a);
  log().clear();
  log().set_parent(a);
  EXPECT_EQ(SetCapture(b), a);
  const Expected moved[] = {{WM_CAPTURECHANGED, sent | parent | lparam, 0, reinterpret_cast<LPARAM>(b)}};
  EXPECT_TRUE(log().matches(moved, "capture moves"));
  EXPECT_TRUE(ReleaseCapture());
  const Expected released[] = {{WM_CAPTURECHANGED, sent | lparam, 0, 0}};
  EXPECT_TRUE(log().matches(released, "release"));
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(PositionFocus, TopmostWindowsStayAbove) {
  HWND normal = make(WS_POPUP | WS_VISIBLE, 0, 0, 50, 50);
  HWND topmost = make(WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, WS_EX_TOPMOST);
  HWND later = make(WS_POPUP | WS_VISIBLE, 0, 0, 50, 50);
  EXPECT_EQ(GetTopWindow(nullptr), topmost);
  SetWindowPos(later, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  EXPECT_TRUE(GetWindowLongPtrA(later, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_EQ(GetTopWindow(nullptr), later);
  SetWindowPos(later, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  EXPECT_FALSE(GetWindowLongPtrA(later, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_EQ(GetTopWindow(nullptr), topmost);
  EXPECT_EQ(GetWindow(topmost, GW_HWNDNEXT), later);
  SetWindowPos(later, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  EXPECT_EQ(GetWindow(later, GW_HWNDNEXT), nullptr);
  (void)normal;
}

TEST_F(PositionFocus, CloseBoxCommandDestroysTheWindow) {
  HWND w = make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100);
  log().clear();
  SendMessageA(w, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_FALSE(IsWindow(w));
  auto entries = log().entries();
  ASSERT_GE(entries.size(), 2u);
  EXPECT_EQ(entries[0].message, WM_SYSCOMMAND);
  EXPECT_EQ(entries[1].message, WM_CLOSE);
  EXPECT_TRUE(entries[1].flags & defwinproc);
}

}  // namespace
}  // namespace lyr::test
