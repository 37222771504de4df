// Update regions, paint messages and clipping, checked on the surface pixels.
#include <map>

#include "platform/winsys/surface_access.h"
#include "tests/platform/winsys/winsys_fixture.h"

namespace lyr::test {
namespace {

using Painting = WinsysTest;

COLORREF pixel(HWND top, int x, int y) {
  COLORREF out = 0xFFFFFFFF;
  platform::winsys::with_surface(top, [&](cairo_surface_t* s) {
    cairo_surface_flush(s);
    const unsigned char* data = cairo_image_surface_get_data(s);
    int stride = cairo_image_surface_get_stride(s);
    std::uint32_t argb = *reinterpret_cast<const std::uint32_t*>(data + y * stride + x * 4);
    out = RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF);
  });
  return out;
}

// Each window paints its whole client area in its own colour.
std::map<HWND, COLORREF>& colours() {
  static std::map<HWND, COLORREF> m;
  return m;
}

void paint_in_colours() {
  colours().clear();
  log().set_override([](HWND hwnd, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (msg != WM_PAINT || !colours().count(hwnd)) return std::nullopt;
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    RECT rc;
    GetClientRect(hwnd, &rc);
    HBRUSH brush = CreateSolidBrush(colours()[hwnd]);
    FillRect(dc, &rc, brush);
    DeleteObject(brush);
    EndPaint(hwnd, &ps);
    return 0;
  });
}

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

TEST_F(Painting, ParentWithClipChildrenLeavesChildPixelsAlone) {
  for (bool clip : {true, false}) {
    SCOPED_TRACE(clip ? "WS_CLIPCHILDREN" : "no WS_CLIPCHILDREN");
    paint_in_colours();
    HWND top = make(WS_POPUP | WS_VISIBLE | (clip ? WS_CLIPCHILDREN : 0), 0, 0, 100, 100);
    HWND child = make(WS_CHILD | WS_VISIBLE, 10, 10, 40, 40, top);
    colours()[top] = kRed;
    colours()[child] = kGreen;
    pump_messages();
    EXPECT_EQ(pixel(top, 5, 5), kRed);
    EXPECT_EQ(pixel(top, 20, 20), kGreen);
    // Only the parent repaints now.
    RedrawWindow(top, nullptr, nullptr, RDW_INVALIDATE | RDW_NOCHILDREN | RDW_UPDATENOW);
    EXPECT_EQ(pixel(top, 20, 20), clip ? kGreen : kRed);
    EXPECT_EQ(pixel(top, 60, 60), kRed);
    DestroyWindow(top);
  }
}

TEST_F(Painting, ClipSiblingsKeepsTheUpperSiblingVisible) {
  for (bool clip : {true, false}) {
    SCOPED_TRACE(clip ? "WS_CLIPSIBLINGS" : "no WS_CLIPSIBLINGS");
    paint_in_colours();
    HWND top = make(WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 100, 100);
    DWORD style = WS_CHILD | WS_VISIBLE | (clip ? WS_CLIPSIBLINGS : 0);
    HWND upper = make(style, 0, 0, 50, 50, top);  // created first: on top
    HWND lower = make(style, 25, 25, 50, 50, top);
    colours()[top] = kRed;
    colours()[upper] = kGreen;
    colours()[lower] = kBlue;
    pump_messages();
    RedrawWindow(lower, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(pixel(top, 30, 30), clip ? kGreen : kBlue) << "overlap";
    EXPECT_EQ(pixel(top, 60, 60), kBlue);
    EXPECT_EQ(pixel(top, 10, 10), kGreen);
    DestroyWindow(top);
  }
}

TEST_F(Painting, ChildIsClippedToItsParentsClientArea) {
  paint_in_colours();
  HWND top = make(WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 100, 100);
  HWND box = make(WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 10, 10, 30, 30, top);
  HWND inner = make(WS_CHILD | WS_VISIBLE, 20, 20, 40, 40, box);  // sticks out of `box`
  colours()[top] = kRed;
  colours()[box] = kBlue;
  colours()[inner] = kGreen;
  pump_messages();
  EXPECT_EQ(pixel(top, 35, 35), kGreen);
  EXPECT_EQ(pixel(top, 45, 45), kRed) << "outside the parent's client area";
  EXPECT_EQ(pixel(top, 15, 15), kBlue);
}

TEST_F(Painting, InvalidateValidateAndUpdateRect) {
  HWND w = make(WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
  pump_messages();
  RECT rc;
  EXPECT_FALSE(GetUpdateRect(w, &rc, FALSE));
  RECT part{10, 10, 20, 30};
  InvalidateRect(w, &part, FALSE);
  RECT more{50, 50, 60, 60};
  InvalidateRect(w, &more, TRUE);
  ASSERT_TRUE(GetUpdateRect(w, &rc, FALSE));
  EXPECT_EQ(rc.left, 10);
  EXPECT_EQ(rc.top, 10);
  EXPECT_EQ(rc.right, 60);
  EXPECT_EQ(rc.bottom, 60);
  HRGN rgn = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(GetUpdateRgn(w, rgn, FALSE), COMPLEXREGION);
  ValidateRect(w, &part);
  EXPECT_EQ(GetUpdateRgn(w, rgn, FALSE), SIMPLEREGION);
  DeleteObject(rgn);
  ValidateRect(w, nullptr);
  EXPECT_FALSE(GetUpdateRect(w, &rc, FALSE));
  MSG msg;
  EXPECT_FALSE(PeekMessageA(&msg, w, WM_PAINT, WM_PAINT, PM_NOREMOVE));
  // Invalid areas outside the client area are ignored.
  RECT outside{200, 200, 300, 300};
  InvalidateRect(w, &outside, FALSE);
  EXPECT_FALSE(GetUpdateRect(w, &rc, FALSE));
}

TEST_F(Painting, RedrawWindowFlags) {
  HWND w = make(WS_POPUP | WS_VISIBLE | WS_BORDER, 0, 0, 100, 100);
  pump_messages();
  log().clear();

  RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  const Expected update_now[] = {{WM_PAINT}, {WM_ERASEBKGND, sent | defwinproc}};
  EXPECT_TRUE(log().matches(update_now, "RDW_UPDATENOW"));

  RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ERASENOW);
  const Expected erase_now[] = {{WM_NCPAINT, sent | wparam, 1}, {WM_ERASEBKGND}};
  EXPECT_TRUE(log().matches(erase_now, "RDW_ERASENOW"));
  pump_messages();
  const Expected then_paint[] = {{WM_PAINT, posted}};
  EXPECT_TRUE(log().matches(then_paint, "paint after erase"));

  RedrawWindow(w, nullptr, nullptr, RDW_INTERNALPAINT);
  pump_messages();
  const Expected internal[] = {{WM_PAINT, posted}};
  EXPECT_TRUE(log().matches(internal, "RDW_INTERNALPAINT"));

  RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE);
  RedrawWindow(w, nullptr, nullptr, RDW_VALIDATE | RDW_NOERASE);
  pump_messages();
  EXPECT_TRUE(log().matches({}, "validated"));
}

TEST_F(Painting, ChildrenJoinTheUpdateAsTheFlagsSay) {
  HWND top = make(WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 100, 100);
  HWND child = make(WS_CHILD | WS_VISIBLE, 0, 0, 50, 50, top);
  pump_messages();
  RECT rc;
  RedrawWindow(top, nullptr, nullptr, RDW_INVALIDATE);
  EXPECT_FALSE(GetUpdateRect(child, &rc, FALSE)) << "WS_CLIPCHILDREN parent keeps children out";
  RedrawWindow(top, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
  EXPECT_TRUE(GetUpdateRect(child, &rc, FALSE));
  pump_messages();
  SetWindowLongPtrA(top, GWL_STYLE, WS_POPUP | WS_VISIBLE);
  InvalidateRect(top, nullptr, FALSE);
  EXPECT_TRUE(GetUpdateRect(child, &rc, FALSE)) << "without WS_CLIPCHILDREN the children are included";
  pump_messages();
  RedrawWindow(top, nullptr, nullptr, RDW_INVALIDATE | RDW_NOCHILDREN);
  EXPECT_FALSE(GetUpdateRect(child, &rc, FALSE));
}

TEST_F(Painting, PaintGoesToParentsBeforeChildrenAndUpdateWindowPaintsAtOnce) {
  HWND top = make(WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
  HWND child = make(WS_CHILD | WS_VISIBLE, 0, 0, 50, 50, top);
  pump_messages();
  log().clear();
  InvalidateRect(child, nullptr, FALSE);
  InvalidateRect(top, nullptr, FALSE);
  std::vector<HWND> order;
  for (const Logged& e : (pump_messages(), log().entries()))
    if (e.message == WM_PAINT) order.push_back(e.hwnd);
  const std::vector<HWND> want = {top, child};
  EXPECT_EQ(order, want);
  log().clear();
  InvalidateRect(top, nullptr, FALSE);
  UpdateWindow(top);
  const Expected sent_paint[] = {{WM_PAINT, sent}, {WM_PAINT, sent}};
  EXPECT_TRUE(log().matches(sent_paint, "UpdateWindow"));
  UpdateWindow(top);
  EXPECT_TRUE(log().matches({}, "nothing left to paint"));
}

TEST_F(Painting, HiddenWindowsGetNoPaint) {
  HWND w = make(WS_POPUP, 0, 0, 50, 50);
  InvalidateRect(w, nullptr, TRUE);
  MSG msg;
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_PAINT, WM_PAINT, PM_NOREMOVE));
  ShowWindow(w, SW_SHOWNA);
  EXPECT_TRUE(PeekMessageA(&msg, nullptr, WM_PAINT, WM_PAINT, PM_NOREMOVE));
  EXPECT_EQ(msg.hwnd, w);
}

TEST_F(Painting, WindowRegionClipsDrawingAndHitTesting) {
  paint_in_colours();
  HWND top = make(WS_POPUP | WS_VISIBLE, 300, 300, 100, 100);
  colours()[top] = kBlue;
  pump_messages();
  colours()[top] = kGreen;
  SetWindowRgn(top, CreateRectRgn(0, 0, 50, 50), TRUE);
  pump_messages();
  EXPECT_EQ(pixel(top, 10, 10), kGreen);
  EXPECT_EQ(pixel(top, 70, 70), kBlue) << "outside the window region nothing is drawn";
  EXPECT_EQ(WindowFromPoint({310, 310}), top);
  EXPECT_NE(WindowFromPoint({380, 380}), top);
  HRGN copy = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(GetWindowRgn(top, copy), SIMPLEREGION);
  DeleteObject(copy);
}

TEST_F(Painting, ScrollWindowExMovesPixelsAndInvalidatesTheUncoveredPart) {
  paint_in_colours();
  HWND w = make(WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
  colours()[w] = kRed;
  pump_messages();
  // Paint a marker row at y = 50..60.
  HDC dc = GetDC(w);
  RECT band{0, 50, 100, 60};
  HBRUSH green = CreateSolidBrush(kGreen);
  FillRect(dc, &band, green);
  DeleteObject(green);
  ReleaseDC(w, dc);
  RECT uncovered;
  ScrollWindowEx(w, 0, -20, nullptr, nullptr, nullptr, &uncovered, SW_INVALIDATE);
  EXPECT_EQ(pixel(w, 5, 35), kGreen);
  EXPECT_EQ(uncovered.top, 80);
  EXPECT_EQ(uncovered.bottom, 100);
  RECT upd;
  ASSERT_TRUE(GetUpdateRect(w, &upd, FALSE));
  EXPECT_EQ(upd.top, 80);
  ValidateRect(w, nullptr);
  // ScrollDC moves the same way but leaves the invalidation to the caller.
  dc = GetDC(w);
  RECT rest;
  EXPECT_TRUE(ScrollDC(dc, 0, -20, nullptr, nullptr, nullptr, &rest));
  ReleaseDC(w, dc);
  EXPECT_EQ(pixel(w, 5, 15), kGreen);
  EXPECT_EQ(rest.top, 80);
  EXPECT_FALSE(GetUpdateRect(w, &upd, FALSE));
  EXPECT_FALSE(ScrollDC(nullptr, 0, 1, nullptr, nullptr, nullptr, nullptr));
}

}  // namespace
}  // namespace lyr::test
