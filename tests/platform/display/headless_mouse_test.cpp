// Mouse input on the headless display: routing, client coordinates, double clicks, capture,
// cursor requests, activation and leave tracking.
#include <gtest/gtest.h>

#include "platform/api.h"
#include "platform/winsys/headless.h"
#include "tests/support/headless_recorder.h"
#include "tests/support/headless_test.h"
#include "tests/support/manual_clock.h"

namespace hl = platform::headless;
using lyr::test::Recorder;

namespace {

using HeadlessMouse = lyr::test::HeadlessTest;

POINT at(LPARAM lp) {
  return {GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
}

TEST_F(HeadlessMouse, ClickReachesChildAtItsClientPoint) {
  Recorder rec;
  HWND top = rec.top({100, 100, 500, 400});
  HWND child = rec.child(top, {20, 30, 120, 80});
  ASSERT_TRUE(child);
  ASSERT_TRUE(hl::click(child, {5, 7}));
  hl::run_until_idle();

  auto buttons = rec.messages({WM_LBUTTONDOWN, WM_LBUTTONUP});
  ASSERT_EQ(buttons.size(), 2u);
  EXPECT_EQ(buttons[0].hwnd, child);
  EXPECT_EQ(buttons[0].message, static_cast<UINT>(WM_LBUTTONDOWN));
  EXPECT_EQ(at(buttons[0].lp).x, 5);
  EXPECT_EQ(at(buttons[0].lp).y, 7);
  EXPECT_TRUE(buttons[0].wp & MK_LBUTTON);
  EXPECT_EQ(buttons[1].message, static_cast<UINT>(WM_LBUTTONUP));
  EXPECT_FALSE(buttons[1].wp & MK_LBUTTON) << "the released button is no longer down";
  EXPECT_TRUE(rec.messages_of(top, {WM_LBUTTONDOWN}).empty());

  // Position of the message, in screen coordinates, as GetCursorPos reports afterwards.
  POINT screen{5, 7};
  ClientToScreen(child, &screen);
  POINT cursor{};
  ASSERT_TRUE(GetCursorPos(&cursor));
  EXPECT_EQ(cursor.x, screen.x);
  EXPECT_EQ(cursor.y, screen.y);
}

TEST_F(HeadlessMouse, RightClickAndShiftFlag) {
  Recorder rec;
  HWND top = rec.top({100, 100, 500, 400});
  hl::key_down(VK_SHIFT);
  hl::click(top, {40, 50}, hl::Button::right);
  hl::key_up(VK_SHIFT);
  hl::run_until_idle();
  auto down = rec.messages_of(top, {WM_RBUTTONDOWN});
  ASSERT_EQ(down.size(), 1u);
  EXPECT_EQ(down[0].wp, MK_RBUTTON | MK_SHIFT);
  EXPECT_EQ(rec.messages_of(top, {WM_RBUTTONUP}).size(), 1u);
}

TEST_F(HeadlessMouse, DoubleClickOnlyForClassesThatAskForIt) {
  Recorder plain;
  Recorder dbl(CS_DBLCLKS);
  HWND a = plain.top({100, 100, 400, 300});
  HWND b = dbl.top({450, 100, 750, 300});

  hl::double_click(a, {10, 10});
  hl::run_until_idle();
  std::vector<UINT> seen;
  for (auto& m : plain.messages(lyr::test::kMouseButtons)) seen.push_back(m.message);
  EXPECT_EQ(seen, (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDOWN, WM_LBUTTONUP}));

  hl::advance_clock(5000);
  hl::double_click(b, {10, 10});
  hl::run_until_idle();
  seen.clear();
  for (auto& m : dbl.messages(lyr::test::kMouseButtons)) seen.push_back(m.message);
  EXPECT_EQ(seen, (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP}));
  auto dblclk = dbl.messages({WM_LBUTTONDBLCLK});
  ASSERT_EQ(dblclk.size(), 1u);
  EXPECT_EQ(at(dblclk[0].lp).x, 10);
}

TEST_F(HeadlessMouse, SlowOrDistantSecondClickIsASingleClick) {
  Recorder dbl(CS_DBLCLKS);
  HWND w = dbl.top({100, 100, 400, 300});
  hl::click(w, {10, 10});
  hl::advance_clock(GetDoubleClickTime() + 1);
  hl::click(w, {10, 10});
  hl::advance_clock(5000);
  hl::click(w, {50, 50});
  hl::click(w, {50 + GetSystemMetrics(SM_CXDOUBLECLK), 50});
  hl::run_until_idle();
  EXPECT_TRUE(dbl.messages({WM_LBUTTONDBLCLK}).empty());
  EXPECT_EQ(dbl.messages({WM_LBUTTONDOWN}).size(), 4u);

  // A third quick click after a double click starts a new pair.
  hl::advance_clock(5000);
  dbl.clear();
  hl::click(w, {80, 80});
  hl::click(w, {80, 80});
  hl::click(w, {80, 80});
  hl::run_until_idle();
  std::vector<UINT> seen;
  for (auto& m : dbl.messages({WM_LBUTTONDOWN, WM_LBUTTONDBLCLK})) seen.push_back(m.message);
  EXPECT_EQ(seen, (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, WM_LBUTTONDOWN}));
}

TEST_F(HeadlessMouse, CaptureRoutesMovesOutsideTheWindow) {
  Recorder rec;
  HWND top = rec.top({100, 100, 500, 400});
  HWND child = rec.child(top, {20, 30, 120, 80});
  hl::run_until_idle();
  SetCapture(child);
  hl::mouse_move(POINT{20, 40});  // outside every window
  hl::mouse_button(hl::Button::left, false, POINT{900, 700});
  hl::run_until_idle();
  POINT origin{0, 0};
  ClientToScreen(child, &origin);
  auto moves = rec.messages_of(child, {WM_MOUSEMOVE});
  ASSERT_FALSE(moves.empty());
  EXPECT_EQ(at(moves.back().lp).x, 20 - origin.x);
  EXPECT_EQ(at(moves.back().lp).y, 40 - origin.y);
  auto ups = rec.messages_of(child, {WM_LBUTTONUP});
  ASSERT_EQ(ups.size(), 1u);
  EXPECT_EQ(at(ups[0].lp).x, 900 - origin.x);
  EXPECT_TRUE(rec.messages_of(child, {WM_SETCURSOR}).empty()) << "no cursor requests while captured";
  ReleaseCapture();

  rec.clear();
  hl::mouse_move(POINT{20, 40});
  hl::run_until_idle();
  EXPECT_TRUE(rec.messages({WM_MOUSEMOVE}).empty()) << "without capture nothing is under that point";
}

TEST_F(HeadlessMouse, CursorRequestCarriesHitCodeAndMouseMessage) {
  Recorder rec;
  HWND top = rec.top({100, 100, 500, 400});
  HWND child = rec.child(top, {20, 30, 120, 80});
  hl::mouse_move(child, {3, 4});
  hl::run_until_idle();
  auto sc = rec.messages_of(child, {WM_SETCURSOR});
  ASSERT_FALSE(sc.empty());
  EXPECT_EQ(reinterpret_cast<HWND>(sc[0].wp), child);
  EXPECT_EQ(LOWORD(sc[0].lp), HTCLIENT);
  EXPECT_EQ(HIWORD(sc[0].lp), WM_MOUSEMOVE);

  // On the caption: non-client messages with the hit code and screen coordinates.
  rec.clear();
  RECT wr{};
  GetWindowRect(top, &wr);
  POINT caption{wr.left + 60, wr.top + GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYCAPTION) / 2};
  hl::mouse_move(caption);
  hl::mouse_button(hl::Button::left, true, caption);
  hl::mouse_button(hl::Button::left, false, caption);
  hl::run_until_idle();
  auto ncmove = rec.messages_of(top, {WM_NCMOUSEMOVE});
  ASSERT_FALSE(ncmove.empty());
  EXPECT_EQ(static_cast<LRESULT>(ncmove[0].wp), HTCAPTION);
  EXPECT_EQ(at(ncmove[0].lp).x, caption.x);
  EXPECT_EQ(at(ncmove[0].lp).y, caption.y);
  auto sc2 = rec.messages_of(top, {WM_SETCURSOR});
  ASSERT_FALSE(sc2.empty());
  EXPECT_EQ(LOWORD(sc2[0].lp), HTCAPTION);
  EXPECT_TRUE(rec.messages({WM_LBUTTONDOWN}).empty());
}

TEST_F(HeadlessMouse, TransparentChildAndDisabledChildPassThePointOn) {
  Recorder rec;
  Recorder see_through;
  see_through.on(WM_NCHITTEST, [](HWND, WPARAM, LPARAM) { return HTTRANSPARENT; });
  HWND top = rec.top({100, 100, 500, 400});
  HWND glass = see_through.child(top, {0, 0, 200, 200});
  HWND below = rec.child(top, {10, 10, 60, 60});
  SetWindowPos(glass, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  hl::click(below, {5, 5});
  hl::run_until_idle();
  EXPECT_EQ(rec.messages_of(below, {WM_LBUTTONDOWN}).size(), 1u);
  EXPECT_TRUE(see_through.messages({WM_LBUTTONDOWN}).empty());

  rec.clear();
  EnableWindow(below, FALSE);
  hl::click(below, {5, 5});
  hl::run_until_idle();
  EXPECT_TRUE(rec.messages_of(below, {WM_LBUTTONDOWN}).empty());
  auto parent_down = rec.messages_of(top, {WM_LBUTTONDOWN});
  ASSERT_EQ(parent_down.size(), 1u);
  EXPECT_EQ(at(parent_down[0].lp).x, 15);
  EXPECT_EQ(at(parent_down[0].lp).y, 15);
}

TEST_F(HeadlessMouse, DisabledTopLevelTakesNoClicks) {
  Recorder rec;
  HWND top = rec.top({100, 100, 500, 400});
  EnableWindow(top, FALSE);
  hl::click(top, {10, 10});
  hl::run_until_idle();
  EXPECT_TRUE(rec.messages({WM_LBUTTONDOWN, WM_LBUTTONUP, WM_MOUSEMOVE}).empty());
  auto sc = rec.messages_of(top, {WM_SETCURSOR});
  ASSERT_FALSE(sc.empty());
  EXPECT_EQ(static_cast<SHORT>(LOWORD(sc.back().lp)), HTERROR);
}

TEST_F(HeadlessMouse, ClickActivatesAnInactiveWindowUnlessEaten) {
  Recorder rec;
  HWND first = rec.top({100, 100, 400, 300});
  HWND second = rec.top({500, 100, 800, 300});
  SetActiveWindow(second);
  hl::run_until_idle();
  hl::click(first, {10, 10});
  hl::run_until_idle();
  auto ma = rec.messages_of(first, {WM_MOUSEACTIVATE});
  ASSERT_EQ(ma.size(), 1u);
  EXPECT_EQ(reinterpret_cast<HWND>(ma[0].wp), first);
  EXPECT_EQ(LOWORD(ma[0].lp), HTCLIENT);
  EXPECT_EQ(HIWORD(ma[0].lp), WM_LBUTTONDOWN);
  EXPECT_EQ(GetActiveWindow(), first);
  EXPECT_EQ(rec.messages_of(first, {WM_LBUTTONDOWN}).size(), 1u);

  // Clicking the active window asks nothing.
  rec.clear();
  hl::click(first, {20, 20});
  hl::run_until_idle();
  EXPECT_TRUE(rec.messages({WM_MOUSEACTIVATE}).empty());

  Recorder eater;
  eater.on(WM_MOUSEACTIVATE, [](HWND, WPARAM, LPARAM) { return MA_ACTIVATEANDEAT; });
  HWND hungry = eater.top({100, 400, 400, 600});
  SetActiveWindow(first);
  hl::run_until_idle();
  hl::click(hungry, {10, 10});
  hl::run_until_idle();
  EXPECT_EQ(GetActiveWindow(), hungry);
  EXPECT_TRUE(eater.messages({WM_LBUTTONDOWN}).empty());
  EXPECT_EQ(eater.messages({WM_LBUTTONUP}).size(), 1u);
}

TEST_F(HeadlessMouse, WheelGoesToTheFocusWindow) {
  Recorder rec;
  HWND top = rec.top({100, 100, 500, 400});
  HWND focus = rec.child(top, {20, 30, 120, 80});
  HWND other = rec.child(top, {200, 30, 300, 80});
  SetActiveWindow(top);
  SetFocus(focus);
  hl::wheel(other, {5, 5}, -2 * WHEEL_DELTA);
  hl::run_until_idle();
  auto wheel = rec.messages({WM_MOUSEWHEEL});
  ASSERT_FALSE(wheel.empty());
  EXPECT_EQ(wheel[0].hwnd, focus) << "the focus window gets it first (the default passes it up)";
  EXPECT_TRUE(rec.messages_of(other, {WM_MOUSEWHEEL}).empty());
  EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(wheel[0].wp), -240);
  POINT screen{5, 5};
  ClientToScreen(other, &screen);
  EXPECT_EQ(at(wheel[0].lp).x, screen.x) << "the wheel's position stays in screen coordinates";
}

TEST_F(HeadlessMouse, LeaveTrackingPostsOneLeave) {
  Recorder rec;
  HWND top = rec.top({100, 100, 500, 400});
  HWND child = rec.child(top, {20, 30, 120, 80});
  hl::mouse_move(child, {5, 5});
  hl::run_until_idle();
  TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, child, 0};
  ASSERT_TRUE(TrackMouseEvent(&tme));
  TRACKMOUSEEVENT query{sizeof query, TME_QUERY, nullptr, 0};
  ASSERT_TRUE(TrackMouseEvent(&query));
  EXPECT_EQ(query.hwndTrack, child);
  hl::mouse_move(child, {6, 6});
  hl::run_until_idle();
  EXPECT_TRUE(rec.messages({WM_MOUSELEAVE}).empty());
  hl::mouse_move(top, {300, 200});
  hl::mouse_move(top, {301, 200});
  hl::run_until_idle();
  auto leave = rec.messages({WM_MOUSELEAVE});
  ASSERT_EQ(leave.size(), 1u);
  EXPECT_EQ(leave[0].hwnd, child);

  TRACKMOUSEEVENT bad{sizeof bad - 1, TME_LEAVE, child, 0};
  EXPECT_FALSE(TrackMouseEvent(&bad));
}

// The hover comes exactly the hover time after the pointer came to rest, and only once; leaving
// the client area ends the request. The clock moves a millisecond at a time, as a loop that is
// never late sees it.
TEST_F(HeadlessMouse, HoverIsPostedOnceThePointerRests) {
  struct Case {
    const char* name;
    DWORD hover_time;    // as asked; HOVER_DEFAULT is 400 ms
    DWORD moved_at;      // ms after the request; 0: it never moves
    POINT moved_to;      // moving within the 4 x 4 box around the rest point does not count
    bool leaves;         // the move goes to the parent, out of the client area
    DWORD resting_from;  // ms after the request
  };
  const Case cases[] = {
      {"default time", HOVER_DEFAULT, 0, {}, false, 0},
      {"own time", 30, 0, {}, false, 0},
      {"moved away restarts", HOVER_DEFAULT, 200, {12, 6}, false, 200},
      {"moved within the box", HOVER_DEFAULT, 200, {7, 8}, false, 0},
      {"left the client area", HOVER_DEFAULT, 100, {300, 200}, true, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    lyr::test::ManualClock clock;
    ASSERT_TRUE(clock.active());
    Recorder rec;
    HWND top = rec.top({100, 100, 500, 400});
    HWND child = rec.child(top, {20, 30, 120, 80});
    hl::mouse_move(child, {5, 6});
    hl::run_until_idle();
    TRACKMOUSEEVENT tme{sizeof tme, TME_HOVER, child, c.hover_time};
    ASSERT_TRUE(TrackMouseEvent(&tme));
    const DWORD hover_ms = c.hover_time == HOVER_DEFAULT ? 400 : c.hover_time;
    DWORD came = 0;
    for (DWORD ms = 1; ms <= c.resting_from + 3 * hover_ms; ++ms) {
      clock.advance(1);
      if (ms == c.moved_at) hl::mouse_move(c.leaves ? top : child, c.moved_to);
      hl::run_until_idle();
      if (came == 0 && !rec.messages({WM_MOUSEHOVER}).empty()) came = ms;
    }
    auto hover = rec.messages({WM_MOUSEHOVER});
    if (c.leaves) {
      EXPECT_TRUE(hover.empty());
    } else {
      EXPECT_EQ(came, c.resting_from + hover_ms);
      ASSERT_EQ(hover.size(), 1u) << "one notification per request";
      EXPECT_EQ(hover[0].hwnd, child);
      EXPECT_EQ(at(hover[0].lp).x, c.moved_at != 0 ? c.moved_to.x : 5);
      EXPECT_EQ(at(hover[0].lp).y, c.moved_at != 0 ? c.moved_to.y : 6);
    }
    DestroyWindow(top);
  }
}

// Two presses make a double click while the second comes within the double-click time.
TEST_F(HeadlessMouse, DoubleClickTimeCountsOnTheClock) {
  lyr::test::ManualClock clock;
  ASSERT_TRUE(clock.active());
  Recorder rec(CS_DBLCLKS);
  HWND top = rec.top({100, 100, 500, 400});
  for (DWORD gap : {GetDoubleClickTime(), GetDoubleClickTime() + 1}) {
    SCOPED_TRACE(gap);
    hl::advance_clock(5000);  // the last press of the round before is long past
    rec.clear();
    ASSERT_TRUE(hl::click(top, {10, 10}));
    hl::run_until_idle();
    clock.advance(gap);
    ASSERT_TRUE(hl::click(top, {10, 10}));
    hl::run_until_idle();
    const bool within = gap <= GetDoubleClickTime();
    EXPECT_EQ(rec.messages({WM_LBUTTONDBLCLK}).size(), within ? 1u : 0u);
    EXPECT_EQ(rec.messages({WM_LBUTTONDOWN}).size(), within ? 1u : 2u);
  }
}

TEST_F(HeadlessMouse, SetCursorPosMovesThePointer) {
  Recorder rec;
  HWND top = rec.top({100, 100, 500, 400});
  POINT target{0, 0};
  ClientToScreen(top, &target);
  target.x += 30;
  target.y += 40;
  ASSERT_TRUE(SetCursorPos(target.x, target.y));
  hl::run_until_idle();
  POINT p{};
  GetCursorPos(&p);
  EXPECT_EQ(p.x, target.x);
  EXPECT_EQ(p.y, target.y);
  auto moves = rec.messages_of(top, {WM_MOUSEMOVE});
  ASSERT_EQ(moves.size(), 1u);
  EXPECT_EQ(at(moves[0].lp).x, 30);
  // Setting the same position again still asks for the cursor (shows a changed cursor at once).
  rec.clear();
  SetCursorPos(target.x, target.y);
  hl::run_until_idle();
  EXPECT_EQ(rec.messages_of(top, {WM_SETCURSOR}).size(), 1u);
}

}  // namespace
