// Waiting for kernel objects and messages at once, and the modal move loop.
#include <atomic>
#include <thread>

#include "platform/winsys/queue_access.h"
#include "tests/platform/winsys/winsys_fixture.h"

namespace lyr::test {
namespace {

using ModalWait = WinsysTest;

TEST_F(ModalWait, MsgWaitEndsForASignalledObject) {
  HANDLE event = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  ASSERT_NE(event, nullptr);
  std::thread setter([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    SetEvent(event);
  });
  EXPECT_EQ(MsgWaitForMultipleObjects(1, &event, FALSE, 5000, QS_ALLINPUT), WAIT_OBJECT_0);
  setter.join();
  CloseHandle(event);
}

TEST_F(ModalWait, MsgWaitEndsForAMessagePostedByAnotherThread) {
  HANDLE event = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  HWND w = make(WS_POPUP, 0, 0, 10, 10);
  std::thread poster([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    PostMessageA(w, WM_USER, 0, 0);
  });
  EXPECT_EQ(MsgWaitForMultipleObjects(1, &event, FALSE, 5000, QS_ALLINPUT), WAIT_OBJECT_0 + 1);
  poster.join();
  MSG msg;
  EXPECT_TRUE(PeekMessageA(&msg, w, WM_USER, WM_USER, PM_REMOVE));
  EXPECT_EQ(MsgWaitForMultipleObjects(1, &event, FALSE, 10, QS_ALLINPUT), static_cast<DWORD>(WAIT_TIMEOUT));
  CloseHandle(event);
}

TEST_F(ModalWait, MsgWaitServesSentMessages) {
  HANDLE event = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  HWND w = make(WS_POPUP, 0, 0, 10, 10);
  log().set_override([&](HWND, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (msg == WM_USER) return 3;
    return std::nullopt;
  });
  std::atomic<LRESULT> got{0};
  std::thread sender([&] {
    got = SendMessageA(w, WM_USER, 0, 0);
    SetEvent(event);
  });
  EXPECT_EQ(MsgWaitForMultipleObjects(1, &event, FALSE, 5000, QS_POSTMESSAGE), WAIT_OBJECT_0);
  sender.join();
  EXPECT_EQ(got.load(), 3);
  CloseHandle(event);
}

TEST_F(ModalWait, CaptionDragMovesTheWindowUntilTheButtonIsReleased) {
  HWND w = make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 200, 150);
  pump_messages();
  log().clear();
  const POINT start{150, 110};
  using platform::winsys::post_input_message;
  ASSERT_TRUE(post_input_message(w, WM_MOUSEMOVE, 0, 0, {160, 130}));
  ASSERT_TRUE(post_input_message(w, WM_MOUSEMOVE, 0, 0, {170, 150}));
  ASSERT_TRUE(post_input_message(w, WM_LBUTTONUP, 0, 0, {170, 150}));
  SendMessageA(w, WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(start.x, start.y));
  RECT rc;
  GetWindowRect(w, &rc);
  EXPECT_EQ(rc.left, 120);
  EXPECT_EQ(rc.top, 140);
  EXPECT_EQ(rc.right - rc.left, 200);
  EXPECT_EQ(GetCapture(), nullptr);
  std::vector<UINT> seen;
  for (const Logged& e : log().entries())
    if (e.message == WM_ENTERSIZEMOVE || e.message == WM_EXITSIZEMOVE || e.message == WM_MOVING ||
        e.message == WM_CAPTURECHANGED || e.message == WM_SYSCOMMAND)
      seen.push_back(e.message);
  const std::vector<UINT> want = {WM_SYSCOMMAND, WM_ENTERSIZEMOVE,  WM_MOVING,
                                  WM_MOVING,     WM_CAPTURECHANGED, WM_EXITSIZEMOVE};
  EXPECT_EQ(seen, want);
}

TEST_F(ModalWait, SizingFromTheCornerKeepsTheMinimumTrackSize) {
  HWND w = make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 200, 150);
  using platform::winsys::post_input_message;
  post_input_message(w, WM_MOUSEMOVE, 0, 0, {299 + 30, 249 + 20});
  post_input_message(w, WM_MOUSEMOVE, 0, 0, {0, 0});  // far past the minimum
  post_input_message(w, WM_LBUTTONUP, 0, 0, {0, 0});
  SendMessageA(w, WM_NCLBUTTONDOWN, HTBOTTOMRIGHT, MAKELPARAM(299, 249));
  RECT rc;
  GetWindowRect(w, &rc);
  EXPECT_EQ(rc.left, 100);
  EXPECT_EQ(rc.right - rc.left, GetSystemMetrics(SM_CXMINTRACK));
  EXPECT_EQ(rc.bottom - rc.top, GetSystemMetrics(SM_CYMINTRACK));
}

TEST_F(ModalWait, EscapePutsTheWindowBack) {
  HWND w = make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 200, 150);
  using platform::winsys::post_input_message;
  post_input_message(w, WM_MOUSEMOVE, 0, 0, {400, 400});
  post_input_message(w, WM_KEYDOWN, VK_ESCAPE, 0, {400, 400});
  SendMessageA(w, WM_SYSCOMMAND, SC_MOVE + HTCAPTION, MAKELPARAM(150, 110));
  RECT rc;
  GetWindowRect(w, &rc);
  EXPECT_EQ(rc.left, 100);
  EXPECT_EQ(rc.top, 100);
}

}  // namespace
}  // namespace lyr::test
