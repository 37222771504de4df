// The non-client frame: metrics, what DefWindowProcA draws, text across threads.
#include <atomic>
#include <thread>

#include "platform/winsys/surface_access.h"
#include "tests/platform/winsys/winsys_fixture.h"

namespace lyr::test {
namespace {

using Frame = WinsysTest;

COLORREF at(HWND top, int x, int y) {
  COLORREF out = 0xFFFFFFFF;
  platform::winsys::with_surface(top, [&](cairo_surface_t* s) {
    cairo_surface_flush(s);
    auto* p = reinterpret_cast<const std::uint32_t*>(cairo_image_surface_get_data(s) +
                                                     y * cairo_image_surface_get_stride(s)) +
              x;
    out = RGB((*p >> 16) & 0xFF, (*p >> 8) & 0xFF, *p & 0xFF);
  });
  return out;
}

TEST_F(Frame, CaptionColourFollowsActivation) {
  HWND a = make(WS_POPUP | WS_CAPTION | WS_VISIBLE, 0, 0, 200, 100, nullptr, 0, "");
  HWND b = make(WS_POPUP | WS_CAPTION, 300, 0, 200, 100, nullptr, 0, "");
  pump_messages();
  const int border = GetSystemMetrics(SM_CXDLGFRAME);
  EXPECT_EQ(at(a, 100, border + 5), GetSysColor(COLOR_ACTIVECAPTION));
  EXPECT_EQ(at(a, 0, 50), GetSysColor(COLOR_3DLIGHT)) << "raised outer edge";
  SetActiveWindow(b);
  EXPECT_EQ(at(a, 100, border + 5), GetSysColor(COLOR_INACTIVECAPTION));
}

TEST_F(Frame, ChildBordersAndEdges) {
  HWND top = make(WS_POPUP | WS_VISIBLE, 0, 0, 200, 200);
  HWND thin = make(WS_CHILD | WS_VISIBLE | WS_BORDER, 10, 10, 50, 50, top);
  HWND sunken = make(WS_CHILD | WS_VISIBLE, 100, 10, 50, 50, top, WS_EX_CLIENTEDGE);
  pump_messages();
  EXPECT_EQ(at(top, 10, 30), GetSysColor(COLOR_WINDOWFRAME));
  EXPECT_EQ(at(top, 100, 30), GetSysColor(COLOR_BTNSHADOW));
  EXPECT_EQ(at(top, 101, 30), GetSysColor(COLOR_3DDKSHADOW));
  RECT rc;
  GetClientRect(thin, &rc);
  EXPECT_EQ(rc.right, 48);
  GetClientRect(sunken, &rc);
  EXPECT_EQ(rc.right, 46);
}

TEST_F(Frame, MetricsAreTheClassicValues) {
  EXPECT_EQ(GetSystemMetrics(SM_CYCAPTION), 19);
  EXPECT_EQ(GetSystemMetrics(SM_CXFRAME), 4);
  EXPECT_EQ(GetSystemMetrics(SM_CXEDGE), 2);
  EXPECT_EQ(GetSystemMetrics(SM_CXVSCROLL), 16);
  EXPECT_GT(GetSystemMetrics(SM_CXSCREEN), 0);
  EXPECT_EQ(GetDoubleClickTime(), 500u);
  RECT work{};
  EXPECT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0));
  EXPECT_EQ(work.right, GetSystemMetrics(SM_CXSCREEN));
  NONCLIENTMETRICSA ncm{};
  ncm.cbSize = sizeof ncm;
  EXPECT_TRUE(SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, 0, &ncm, 0));
  EXPECT_EQ(ncm.lfMessageFont.lfHeight, -12);
  EXPECT_EQ(ncm.lfCaptionFont.lfWeight, 700);
  ncm.cbSize = 8;
  EXPECT_FALSE(SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, 0, &ncm, 0)) << "too small a record";
  EXPECT_FALSE(SystemParametersInfoA(SPI_GETWORKAREA, 0, nullptr, 0));
}

TEST_F(Frame, TextOfAnotherThreadsWindowIsReadWithoutWaitingForIt) {
  HWND w = make(WS_POPUP, 0, 0, 10, 10, nullptr, 0, "owner text");
  std::atomic<int> length{-1};
  char copy[32] = {};
  std::thread reader([&] {
    // The owner thread is blocked in join(): a message would never be served.
    length = GetWindowTextLengthA(w);
    GetWindowTextA(w, copy, sizeof copy);
  });
  reader.join();
  EXPECT_EQ(length.load(), 10);
  EXPECT_STREQ(copy, "owner text");
}

TEST_F(Frame, WindowsOfAnEndedThreadBecomeInvalid) {
  std::atomic<HWND> top{nullptr}, child{nullptr};
  std::thread worker([&] {
    HWND t = CreateWindowExA(0, "LogWindow", "", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, nullptr, nullptr,
                             nullptr, nullptr);
    child = CreateWindowExA(0, "LogWindow", "", WS_CHILD, 0, 0, 5, 5, t, nullptr, nullptr, nullptr);
    top = t;
  });
  worker.join();
  EXPECT_FALSE(IsWindow(top));
  EXPECT_FALSE(IsWindow(child));
  std::vector<HWND> tops;
  EnumWindows(
      [](HWND h, LPARAM p) {
        reinterpret_cast<std::vector<HWND>*>(p)->push_back(h);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&tops));
  EXPECT_EQ(std::count(tops.begin(), tops.end(), top.load()), 0);
}

}  // namespace
}  // namespace lyr::test
