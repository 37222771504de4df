// Every window entry point refuses a handle that names no window (destroyed, or never issued)
// the same way: its failure value, with ERROR_INVALID_WINDOW_HANDLE for GetLastError.
#include <functional>
#include <string>

#include "tests/platform/winsys/winsys_fixture.h"

namespace lyr::test {
namespace {

struct Entry {
  const char* name;
  std::function<bool(HWND)> fails;  // calls the entry with the handle; true for its failure value
};

const std::vector<Entry>& entries() {
  static const std::vector<Entry> all = {
      {"GetClassNameA",
       [](HWND h) {
         char b[32];
         return GetClassNameA(h, b, 32) == 0;
       }},
      {"GetClassLongPtrA", [](HWND h) { return GetClassLongPtrA(h, GCL_STYLE) == 0; }},
      {"SetClassLongPtrA", [](HWND h) { return SetClassLongPtrA(h, GCL_STYLE, 0) == 0; }},
      {"GetClassLongA", [](HWND h) { return GetClassLongA(h, GCL_STYLE) == 0; }},
      {"DestroyWindow", [](HWND h) { return !DestroyWindow(h); }},
      {"GetParent", [](HWND h) { return GetParent(h) == nullptr; }},
      {"SetParent", [](HWND h) { return SetParent(h, nullptr) == nullptr; }},
      {"GetAncestor", [](HWND h) { return GetAncestor(h, GA_PARENT) == nullptr; }},
      {"GetWindow", [](HWND h) { return GetWindow(h, GW_CHILD) == nullptr; }},
      {"GetTopWindow", [](HWND h) { return GetTopWindow(h) == nullptr; }},
      {"IsChild", [](HWND h) { return !IsChild(h, h); }},
      {"GetWindowThreadProcessId", [](HWND h) { return GetWindowThreadProcessId(h, nullptr) == 0; }},
      {"EnumChildWindows",
       [](HWND h) {
         return !EnumChildWindows(
             h, [](HWND, LPARAM) -> BOOL { return TRUE; }, 0);
       }},
      {"GetDlgItem", [](HWND h) { return GetDlgItem(h, 1) == nullptr; }},
      {"GetDlgCtrlID", [](HWND h) { return GetDlgCtrlID(h) == 0; }},
      {"SendDlgItemMessageA", [](HWND h) { return SendDlgItemMessageA(h, 1, WM_USER, 0, 0) == 0; }},
      {"SetDlgItemTextA", [](HWND h) { return !SetDlgItemTextA(h, 1, "x"); }},
      {"GetDlgItemTextA",
       [](HWND h) {
         char b[8];
         return GetDlgItemTextA(h, 1, b, 8) == 0;
       }},
      {"GetWindowLongPtrA", [](HWND h) { return GetWindowLongPtrA(h, GWLP_USERDATA) == 0; }},
      {"SetWindowLongPtrA", [](HWND h) { return SetWindowLongPtrA(h, GWLP_USERDATA, 1) == 0; }},
      {"GetWindowLongA", [](HWND h) { return GetWindowLongA(h, GWL_STYLE) == 0; }},
      {"SetWindowLongA", [](HWND h) { return SetWindowLongA(h, GWL_STYLE, 0) == 0; }},
      {"SetPropA", [](HWND h) { return !SetPropA(h, "p", reinterpret_cast<HANDLE>(1)); }},
      {"GetPropA", [](HWND h) { return GetPropA(h, "p") == nullptr; }},
      {"RemovePropA", [](HWND h) { return RemovePropA(h, "p") == nullptr; }},
      {"GetWindowTextA",
       [](HWND h) {
         char b[8];
         return GetWindowTextA(h, b, 8) == 0;
       }},
      {"GetWindowTextLengthA", [](HWND h) { return GetWindowTextLengthA(h) == 0; }},
      {"SetWindowTextA", [](HWND h) { return !SetWindowTextA(h, "x"); }},
      {"SetWindowPos", [](HWND h) { return !SetWindowPos(h, nullptr, 1, 1, 10, 10, SWP_NOZORDER); }},
      {"MoveWindow", [](HWND h) { return !MoveWindow(h, 1, 1, 10, 10, TRUE); }},
      {"GetWindowRect",
       [](HWND h) {
         RECT r;
         return !GetWindowRect(h, &r);
       }},
      {"GetClientRect",
       [](HWND h) {
         RECT r;
         return !GetClientRect(h, &r);
       }},
      {"ClientToScreen",
       [](HWND h) {
         POINT p{};
         return !ClientToScreen(h, &p);
       }},
      {"ScreenToClient",
       [](HWND h) {
         POINT p{};
         return !ScreenToClient(h, &p);
       }},
      {"MapWindowPoints",
       [](HWND h) {
         POINT p{};
         return MapWindowPoints(h, nullptr, &p, 1) == 0;
       }},
      {"ChildWindowFromPoint",
       [](HWND h) {
         return ChildWindowFromPoint(h, {1, 1}) == nullptr;
       }},
      {"ChildWindowFromPointEx",
       [](HWND h) {
         return ChildWindowFromPointEx(h, {1, 1}, 0) == nullptr;
       }},
      {"BringWindowToTop", [](HWND h) { return !BringWindowToTop(h); }},
      {"ShowWindow", [](HWND h) { return !ShowWindow(h, SW_SHOW); }},
      {"IsWindowVisible", [](HWND h) { return !IsWindowVisible(h); }},
      {"IsIconic", [](HWND h) { return !IsIconic(h); }},
      {"IsZoomed", [](HWND h) { return !IsZoomed(h); }},
      {"EnableWindow", [](HWND h) { return !EnableWindow(h, FALSE); }},
      {"IsWindowEnabled", [](HWND h) { return !IsWindowEnabled(h); }},
      {"SetWindowRgn", [](HWND h) { return SetWindowRgn(h, nullptr, FALSE) == 0; }},
      {"GetWindowRgn", [](HWND h) { return GetWindowRgn(h, nullptr) == ERROR; }},
      {"SetForegroundWindow", [](HWND h) { return !SetForegroundWindow(h); }},
      {"SetActiveWindow", [](HWND h) { return SetActiveWindow(h) == nullptr; }},
      {"SetFocus", [](HWND h) { return SetFocus(h) == nullptr; }},
      {"SetCapture", [](HWND h) { return SetCapture(h) == nullptr; }},
      {"GetDC", [](HWND h) { return GetDC(h) == nullptr; }},
      {"GetDCEx", [](HWND h) { return GetDCEx(h, nullptr, 0) == nullptr; }},
      {"GetWindowDC", [](HWND h) { return GetWindowDC(h) == nullptr; }},
      {"BeginPaint",
       [](HWND h) {
         PAINTSTRUCT ps{};
         return BeginPaint(h, &ps) == nullptr;
       }},
      {"InvalidateRect", [](HWND h) { return !InvalidateRect(h, nullptr, TRUE); }},
      {"InvalidateRgn", [](HWND h) { return !InvalidateRgn(h, nullptr, TRUE); }},
      {"ValidateRect", [](HWND h) { return !ValidateRect(h, nullptr); }},
      {"ValidateRgn", [](HWND h) { return !ValidateRgn(h, nullptr); }},
      {"GetUpdateRect",
       [](HWND h) {
         RECT r;
         return !GetUpdateRect(h, &r, FALSE);
       }},
      {"GetUpdateRgn",
       [](HWND h) {
         HRGN r = CreateRectRgn(0, 0, 0, 0);
         const bool failed = GetUpdateRgn(h, r, FALSE) == ERROR;
         DeleteObject(r);
         return failed;
       }},
      {"UpdateWindow", [](HWND h) { return !UpdateWindow(h); }},
      {"RedrawWindow", [](HWND h) { return !RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE); }},
      {"ScrollWindowEx",
       [](HWND h) { return ScrollWindowEx(h, 1, 1, nullptr, nullptr, nullptr, nullptr, 0) == ERROR; }},
      {"ScrollWindow", [](HWND h) { return !ScrollWindow(h, 1, 1, nullptr, nullptr); }},
      {"CreateCaret", [](HWND h) { return !CreateCaret(h, nullptr, 1, 10); }},
      {"SendMessageA", [](HWND h) { return SendMessageA(h, WM_USER, 0, 0) == 0; }},
      {"SendMessageTimeoutA",
       [](HWND h) { return SendMessageTimeoutA(h, WM_USER, 0, 0, SMTO_NORMAL, 100, nullptr) == 0; }},
      {"SendNotifyMessageA", [](HWND h) { return !SendNotifyMessageA(h, WM_USER, 0, 0); }},
      {"PostMessageA", [](HWND h) { return !PostMessageA(h, WM_USER, 0, 0); }},
      {"SetTimer", [](HWND h) { return SetTimer(h, 1, 1000, nullptr) == 0; }},
      {"KillTimer", [](HWND h) { return !KillTimer(h, 1); }},
      {"GetScrollInfo",
       [](HWND h) {
         SCROLLINFO si{sizeof si, SIF_ALL, 0, 0, 0, 0, 0};
         return !GetScrollInfo(h, SB_VERT, &si);
       }},
      {"SetScrollPos", [](HWND h) { return SetScrollPos(h, SB_VERT, 1, FALSE) == 0; }},
      {"GetScrollPos", [](HWND h) { return GetScrollPos(h, SB_VERT) == 0; }},
      {"SetScrollRange", [](HWND h) { return !SetScrollRange(h, SB_VERT, 0, 10, FALSE); }},
      {"GetScrollRange",
       [](HWND h) {
         int a, b;
         return !GetScrollRange(h, SB_VERT, &a, &b);
       }},
      {"ShowScrollBar", [](HWND h) { return !ShowScrollBar(h, SB_VERT, TRUE); }},
      {"EnableScrollBar", [](HWND h) { return !EnableScrollBar(h, SB_VERT, ESB_DISABLE_BOTH); }},
      {"GetMenu", [](HWND h) { return GetMenu(h) == nullptr; }},
      {"SetMenu", [](HWND h) { return !SetMenu(h, nullptr); }},
      {"DrawMenuBar", [](HWND h) { return !DrawMenuBar(h); }},
  };
  return all;
}

class BadHandle : public WinsysTest {
 protected:
  // Calls every entry with `hwnd` and lists those that answer anything but a refusal.
  static std::string misbehaving(HWND hwnd) {
    std::string out;
    for (const Entry& e : entries()) {
      SetLastError(ERROR_SUCCESS);
      const bool failed = e.fails(hwnd);
      const DWORD error = GetLastError();
      if (!failed || error != ERROR_INVALID_WINDOW_HANDLE)
        out +=
            std::string(e.name) + (failed ? " (error " + std::to_string(error) + ")" : " (succeeded)") + "\n";
    }
    return out;
  }
};

TEST_F(BadHandle, EveryEntryRefusesADestroyedWindow) {
  HWND gone = make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 200, 150);
  ASSERT_NE(gone, nullptr);
  ASSERT_TRUE(DestroyWindow(gone));
  pump_messages();
  EXPECT_EQ(misbehaving(gone), "");
}

TEST_F(BadHandle, EveryEntryRefusesAHandleNeverIssued) {
  EXPECT_EQ(misbehaving(reinterpret_cast<HWND>(static_cast<std::uintptr_t>(0x7ABC0001))), "");
}

// A valid window answers normally and leaves the error alone: the check fires only on bad handles.
TEST_F(BadHandle, ALiveWindowLeavesTheErrorUntouched) {
  HWND live = make(WS_OVERLAPPEDWINDOW, 10, 10, 200, 150);
  SetLastError(ERROR_SUCCESS);
  RECT r{};
  EXPECT_TRUE(GetWindowRect(live, &r));
  EXPECT_TRUE(SetWindowTextA(live, "t"));
  EXPECT_NE(GetWindowLongA(live, GWL_STYLE), 0);
  EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
}

}  // namespace
}  // namespace lyr::test
