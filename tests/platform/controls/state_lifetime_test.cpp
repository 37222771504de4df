// Every control class keeps its state alive for the whole message: a parent that destroys the
// control from the notification the control sends must not leave it working on freed state.
#include <functional>

#include "controls_fixture.h"
#include "platform/api/edit.h"
#include "platform/api/listview.h"

namespace controls_test {
namespace {

HWND g_condemned = nullptr;

LRESULT CALLBACK destroying_parent_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  HWND from = nullptr;
  if (msg == WM_COMMAND) from = reinterpret_cast<HWND>(lp);
  if (msg == WM_NOTIFY) from = reinterpret_cast<NMHDR*>(lp)->hwndFrom;
  if (from && from == g_condemned) {
    g_condemned = nullptr;
    DestroyWindow(from);
    return 0;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

struct Case {
  const char* cls;
  DWORD style;
  std::function<void(HWND)> prepare;  // runs before the parent starts destroying
  std::function<void(HWND)> trigger;  // makes the control notify its parent
};

TEST_F(ControlsTest, ControlDestroyedFromItsOwnNotificationKeepsItsStateUntilTheMessageEnds) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = destroying_parent_proc;
  wc.lpszClassName = "ControlsSelfDestroyParent";
  RegisterClassA(&wc);
  const Case cases[] = {
      {"BUTTON", BS_PUSHBUTTON, [](HWND) {}, [](HWND c) { SendMessageA(c, BM_CLICK, 0, 0); }},
      {"EDIT", ES_AUTOHSCROLL, [](HWND) {}, [](HWND c) { SendMessageA(c, WM_CHAR, 'a', 1); }},
      {UPDOWN_CLASSA, UDS_ARROWKEYS, [](HWND c) { SendMessageA(c, UDM_SETRANGE32, 0, 10); },
       [](HWND c) { SendMessageA(c, WM_KEYDOWN, VK_UP, 1); }},
      {WC_HEADERA, 0,
       [](HWND c) {
         HDITEMA item{};
         item.mask = HDI_WIDTH;
         item.cxy = 50;
         SendMessageA(c, HDM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
       },
       [](HWND c) {
         HDITEMA item{};
         item.mask = HDI_WIDTH;
         item.cxy = 80;
         SendMessageA(c, HDM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
       }},
      {WC_LISTVIEWA, LVS_REPORT,
       [](HWND c) {
         LVCOLUMNA col{};
         col.mask = LVCF_WIDTH;
         col.cx = 80;
         SendMessageA(c, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&col));
         LVITEMA item{};
         item.mask = LVIF_TEXT;
         item.pszText = const_cast<char*>("x");
         SendMessageA(c, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
       },
       [](HWND c) {
         LVITEMA state{};
         state.stateMask = LVIS_SELECTED;
         state.state = LVIS_SELECTED;
         SendMessageA(c, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&state));
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.cls);
    HWND parent = CreateWindowExA(0, "ControlsSelfDestroyParent", "", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200,
                                  nullptr, nullptr, nullptr, nullptr);
    HWND control = CreateWindowExA(0, c.cls, "", WS_CHILD | WS_VISIBLE | c.style, 10, 10, 200, 100, parent,
                                   reinterpret_cast<HMENU>(7), nullptr, nullptr);
    ASSERT_NE(control, nullptr);
    c.prepare(control);
    idle();
    g_condemned = control;
    c.trigger(control);
    idle();
    EXPECT_EQ(g_condemned, nullptr) << "the control never notified its parent";
    EXPECT_FALSE(IsWindow(control));
    g_condemned = nullptr;
    DestroyWindow(parent);
    idle();
  }
}

}  // namespace
}  // namespace controls_test
