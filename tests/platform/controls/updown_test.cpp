// The up-down control: arrow clicks stepping a buddy's number within the range (reversed
// ranges too), auto-repeat while held, UDN_DELTAPOS, scroll messages, buddies and the
// position and range messages.
#include "tests/platform/controls/edit_fixture.h"

namespace edit_test {
namespace {

class UpDown : public EditTest {
 protected:
  HWND make_updown(DWORD style, HWND buddy, RECT r = {0, 0, 16, 24}, int id = 200) {
    HWND u = CreateWindowExA(0, "msctls_updown32", "", WS_CHILD | WS_VISIBLE | style, r.left, r.top,
                             r.right - r.left, r.bottom - r.top, parent_,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
    EXPECT_NE(u, nullptr);
    if (buddy) SendMessageA(u, UDM_SETBUDDY, reinterpret_cast<WPARAM>(buddy), 0);
    idle();
    return u;
  }
  static POINT up_arrow(HWND u) {
    RECT r{};
    GetClientRect(u, &r);
    return {r.right / 2, r.bottom / 4};
  }
  static POINT down_arrow(HWND u) {
    RECT r{};
    GetClientRect(u, &r);
    return {r.right / 2, r.bottom * 3 / 4};
  }
  static void click_at(HWND u, POINT p) {
    hl::advance_clock(1000);  // never a double click
    hl::click(u, p);
    idle();
  }
};

TEST_F(UpDown, ArrowClicksStepTheBuddyWithinTheRange) {
  HWND buddy = make_edit(0, {10, 10, 100, 34}, 100, "0");
  HWND u = make_updown(UDS_SETBUDDYINT | UDS_ALIGNRIGHT, buddy);
  EXPECT_EQ(reinterpret_cast<HWND>(SendMessageA(u, UDM_GETBUDDY, 0, 0)), buddy);
  SendMessageA(u, UDM_SETRANGE32, 0, 3);
  SendMessageA(u, UDM_SETPOS32, 0, 1);
  EXPECT_EQ(text_of(buddy), "1");
  click_at(u, up_arrow(u));
  EXPECT_EQ(text_of(buddy), "2");
  click_at(u, up_arrow(u));
  click_at(u, up_arrow(u));
  EXPECT_EQ(text_of(buddy), "3") << "stops at the top";
  click_at(u, down_arrow(u));
  EXPECT_EQ(text_of(buddy), "2");
  EXPECT_EQ(SendMessageA(u, UDM_GETPOS32, 0, 0), 2);
  // The parent heard each taken step as a scroll with the new position, and the release.
  std::vector<Scroll> positions;
  for (const Scroll& s : record().scrolls)
    if (s.code == SB_THUMBPOSITION) positions.push_back(s);
  ASSERT_EQ(positions.size(), 3u);
  EXPECT_EQ(positions[0].pos, 2);
  EXPECT_EQ(positions[0].message, static_cast<UINT>(WM_VSCROLL));
  EXPECT_EQ(positions[0].from, u);
  EXPECT_EQ(positions[2].pos, 2);
  EXPECT_EQ(record().scrolls.back().code, SB_ENDSCROLL);
  // Aligned right: the control sits against the buddy's right side, the buddy got narrower.
  RECT b{}, s{};
  GetWindowRect(buddy, &b);
  GetWindowRect(u, &s);
  EXPECT_LT(b.right - b.left, 90);
  EXPECT_EQ(s.top, b.top);
  EXPECT_EQ(s.bottom - s.top, b.bottom - b.top);
  EXPECT_LE(std::abs(s.left - b.right), 2);
}

TEST_F(UpDown, ReversedRangeCountsDownGoingUp) {
  HWND buddy = make_edit(0, {10, 10, 100, 34}, 100);
  HWND u = make_updown(UDS_SETBUDDYINT, buddy, {110, 10, 126, 34});
  // The default range is upper 0, lower 100.
  EXPECT_EQ(SendMessageA(u, UDM_GETRANGE, 0, 0), MAKELONG(0, 100));
  SendMessageA(u, UDM_SETPOS, 0, MAKELONG(50, 0));
  click_at(u, up_arrow(u));
  EXPECT_EQ(text_of(buddy), "49");
  ASSERT_FALSE(record().deltas.empty());
  EXPECT_EQ(record().deltas.back().iPos, 50);
  EXPECT_EQ(record().deltas.back().iDelta, -1);
  click_at(u, down_arrow(u));
  click_at(u, down_arrow(u));
  EXPECT_EQ(text_of(buddy), "51");
  SendMessageA(u, UDM_SETRANGE, 0, MAKELONG(10, 20));  // upper 10, lower 20
  EXPECT_EQ(LOWORD(static_cast<DWORD_PTR>(SendMessageA(u, UDM_GETPOS, 0, 0))), 20) << "clamped";
}

TEST_F(UpDown, WrapAndThousandsSeparators) {
  HWND buddy = make_edit(0, {10, 10, 100, 34}, 100);
  HWND u = make_updown(UDS_SETBUDDYINT | UDS_WRAP, buddy, {110, 10, 126, 34});
  SendMessageA(u, UDM_SETRANGE32, 998, 1000);
  SendMessageA(u, UDM_SETPOS32, 0, 1000);
  EXPECT_EQ(text_of(buddy), "1,000");
  click_at(u, up_arrow(u));
  EXPECT_EQ(text_of(buddy), "998") << "wrapped to the other end";
  click_at(u, down_arrow(u));
  EXPECT_EQ(text_of(buddy), "1,000");
  HWND plain = make_edit(0, {10, 40, 100, 64}, 101);
  HWND v = make_updown(UDS_SETBUDDYINT | UDS_NOTHOUSANDS, plain, {110, 40, 126, 64}, 201);
  SendMessageA(v, UDM_SETRANGE32, -5000, 5000);
  SendMessageA(v, UDM_SETPOS32, 0, -1234);
  EXPECT_EQ(text_of(plain), "-1234");
  EXPECT_EQ(SendMessageA(v, UDM_SETBASE, 16, 0), 10);
  EXPECT_EQ(SendMessageA(v, UDM_SETBASE, 7, 0), 0);
  EXPECT_EQ(SendMessageA(v, UDM_GETBASE, 0, 0), 16);
  SendMessageA(v, UDM_SETPOS32, 0, 255);
  EXPECT_EQ(text_of(plain), "0xFF");
}

TEST_F(UpDown, PositionReadsTheBuddyAndFlagsBadText) {
  HWND buddy = make_edit(0, {10, 10, 100, 34}, 100);
  HWND u = make_updown(UDS_SETBUDDYINT, buddy, {110, 10, 126, 34});
  SendMessageA(u, UDM_SETRANGE32, 0, 5000);
  SetWindowTextA(buddy, "1,234");
  EXPECT_EQ(SendMessageA(u, UDM_GETPOS, 0, 0), MAKELONG(1234, 0));
  SetWindowTextA(buddy, "abc");
  EXPECT_NE(HIWORD(static_cast<DWORD_PTR>(SendMessageA(u, UDM_GETPOS, 0, 0))), 0);
  BOOL error = FALSE;
  EXPECT_EQ(SendMessageA(u, UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(&error)), 1234)
      << "keeps the last good";
  EXPECT_TRUE(error);
  SetWindowTextA(buddy, "42");
  click_at(u, up_arrow(u));
  EXPECT_EQ(text_of(buddy), "43") << "steps from what the user typed";
  int lower = 0, upper = 0;
  SendMessageA(u, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&lower), reinterpret_cast<LPARAM>(&upper));
  EXPECT_EQ(lower, 0);
  EXPECT_EQ(upper, 5000);
}

TEST_F(UpDown, DeltaPosCanCancelAStep) {
  HWND buddy = make_edit(0, {10, 10, 100, 34}, 100);
  HWND u = make_updown(UDS_SETBUDDYINT, buddy, {110, 10, 126, 34});
  SendMessageA(u, UDM_SETRANGE32, 0, 10);
  SendMessageA(u, UDM_SETPOS32, 0, 5);
  record().cancel_deltas = true;
  click_at(u, up_arrow(u));
  EXPECT_EQ(text_of(buddy), "5");
  ASSERT_EQ(record().deltas.size(), 1u);
  EXPECT_EQ(record().deltas[0].hdr.code, UDN_DELTAPOS);
  EXPECT_EQ(record().deltas[0].hdr.hwndFrom, u);
  EXPECT_EQ(record().deltas[0].hdr.idFrom, 200u);
  EXPECT_EQ(record().deltas[0].iDelta, 1);
  for (const Scroll& s : record().scrolls) EXPECT_NE(s.code, SB_THUMBPOSITION);
  record().cancel_deltas = false;
  click_at(u, up_arrow(u));
  EXPECT_EQ(text_of(buddy), "6");
}

TEST_F(UpDown, HoldingAnArrowRepeats) {
  HWND buddy = make_edit(0, {10, 10, 100, 34}, 100);
  HWND u = make_updown(UDS_SETBUDDYINT, buddy, {110, 10, 126, 34});
  SendMessageA(u, UDM_SETRANGE32, 0, 1000);
  SendMessageA(u, UDM_SETPOS32, 0, 0);
  hl::advance_clock(1000);
  hl::mouse_move(u, up_arrow(u));
  hl::mouse_button(u, hl::Button::left, true, up_arrow(u));
  idle();
  EXPECT_EQ(text_of(buddy), "1");
  for (int i = 0; i < 200 && SendMessageA(u, UDM_GETPOS32, 0, 0) < 4; ++i) {
    Sleep(20);
    idle();
  }
  EXPECT_GE(SendMessageA(u, UDM_GETPOS32, 0, 0), 4);
  hl::mouse_button(u, hl::Button::left, false, up_arrow(u));
  idle();
  const LRESULT released = SendMessageA(u, UDM_GETPOS32, 0, 0);
  Sleep(150);
  idle();
  EXPECT_EQ(SendMessageA(u, UDM_GETPOS32, 0, 0), released) << "stops when released";
  EXPECT_EQ(record().scrolls.back().code, SB_ENDSCROLL);
}

TEST_F(UpDown, HorizontalSendsHScrollAndArrowKeysStepInTheBuddy) {
  HWND buddy = make_edit(0, {10, 10, 100, 34}, 100);
  HWND u = make_updown(UDS_SETBUDDYINT | UDS_HORZ | UDS_ARROWKEYS, buddy, {110, 10, 150, 26});
  SendMessageA(u, UDM_SETRANGE32, 0, 10);
  SendMessageA(u, UDM_SETPOS32, 0, 5);
  click_at(u, {30, 8});  // the right arrow
  EXPECT_EQ(text_of(buddy), "6");
  ASSERT_FALSE(record().scrolls.empty());
  EXPECT_EQ(record().scrolls.front().message, static_cast<UINT>(WM_HSCROLL));
  click_at(u, {5, 8});
  click_at(u, {5, 8});
  EXPECT_EQ(text_of(buddy), "4");
  SetFocus(buddy);
  idle();
  press(VK_UP);
  press(VK_UP);
  EXPECT_EQ(text_of(buddy), "6");
  press(VK_DOWN);
  EXPECT_EQ(text_of(buddy), "5");
  // Releasing the buddy gives the keys back to the edit.
  SendMessageA(u, UDM_SETBUDDY, 0, 0);
  EXPECT_EQ(SendMessageA(u, UDM_GETBUDDY, 0, 0), 0);
  press(VK_UP);
  EXPECT_EQ(text_of(buddy), "5");
}

TEST_F(UpDown, AutoBuddyTakesThePreviousSibling) {
  HWND buddy = make_edit(0, {10, 10, 100, 34}, 100, "7");
  HWND u = make_updown(UDS_AUTOBUDDY | UDS_SETBUDDYINT | UDS_ALIGNLEFT, nullptr, {0, 0, 16, 10});
  EXPECT_EQ(reinterpret_cast<HWND>(SendMessageA(u, UDM_GETBUDDY, 0, 0)), buddy);
  EXPECT_EQ(text_of(buddy), "7") << "attaching leaves the text alone";
  RECT b{}, s{};
  GetWindowRect(buddy, &b);
  GetWindowRect(u, &s);
  EXPECT_LE(s.left, b.left) << "aligned left";
  DestroyWindow(buddy);
  idle();
  EXPECT_EQ(SendMessageA(u, UDM_GETBUDDY, 0, 0), 0) << "a destroyed buddy is forgotten";
  UDACCEL steps[2] = {{0, 2}, {1, 10}};
  EXPECT_EQ(SendMessageA(u, UDM_SETACCEL, 2, reinterpret_cast<LPARAM>(steps)), TRUE);
  UDACCEL back[4] = {};
  EXPECT_EQ(SendMessageA(u, UDM_GETACCEL, 4, reinterpret_cast<LPARAM>(back)), 2);
  EXPECT_EQ(back[1].nInc, 10u);
  EXPECT_EQ(SendMessageA(u, UDM_SETACCEL, 0, 0), FALSE);
}

}  // namespace
}  // namespace edit_test
