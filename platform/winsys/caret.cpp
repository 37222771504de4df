// The caret: one per thread, owned by a window of that thread, drawn by inverting its rectangle
// in the owner's client area. It blinks on a window timer whose procedure never reaches the
// window procedure. Hiding nests: CreateCaret leaves it hidden once, ShowCaret undoes one hide.
#include "platform/winsys/caret.h"

#include <algorithm>
#include <atomic>
#include <vector>

#include "platform/api/gdi.h"
#include "platform/api/kernel.h"
#include "platform/api/user.h"
#include "platform/winsys/window_lookup.h"

namespace platform::winsys {
namespace {

// Far above the ids programs choose for their own timers.
constexpr UINT_PTR kBlinkTimer = 0x7FFFCA00;
constexpr UINT kDefaultBlink = 530;

struct Caret {
  HWND owner = nullptr;
  int width = 0;
  int height = 0;
  POINT pos{};
  int hidden = 0;                  // ShowCaret calls still needed before it blinks
  bool on = false;                 // currently inverted on the screen
  std::vector<HWND> paint_hidden;  // windows whose BeginPaint took the caret off
};

Caret& caret() {
  thread_local Caret c;
  return c;
}

std::atomic<UINT>& blink_time() {
  static std::atomic<UINT> ms{kDefaultBlink};
  return ms;
}

void invert(const Caret& c) {
  if (!IsWindow(c.owner)) return;
  if (HDC dc = GetDC(c.owner)) {
    PatBlt(dc, c.pos.x, c.pos.y, c.width, c.height, DSTINVERT);
    ReleaseDC(c.owner, dc);
  }
}

void set_on(Caret& c, bool on) {
  if (c.on == on) return;
  invert(c);
  c.on = on;
}

void CALLBACK blink(HWND hwnd, UINT, UINT_PTR, DWORD) {
  Caret& c = caret();
  if (c.owner != hwnd) {
    KillTimer(hwnd, kBlinkTimer);
    return;
  }
  if (c.hidden == 0) set_on(c, !c.on);
}

// Restarts the blink cycle: a caret that has just moved or appeared stays on a full period.
void restart_blink(const Caret& c) {
  const UINT ms = blink_time().load();
  if (ms == INFINITE || ms == 0)
    KillTimer(c.owner, kBlinkTimer);
  else
    SetTimer(c.owner, kBlinkTimer, ms, &blink);
}

// The caller's caret when `hwnd` may name it (null means "whichever window owns it").
Caret* owned_by(HWND hwnd) {
  Caret& c = caret();
  if (!c.owner) return nullptr;
  if (hwnd && hwnd != c.owner) return nullptr;
  return &c;
}

}  // namespace

void caret_hide_for_paint(HWND hwnd) {
  Caret& c = caret();
  if (!c.owner || c.owner != hwnd) return;
  set_on(c, false);
  ++c.hidden;
  c.paint_hidden.push_back(hwnd);
}

void caret_show_after_paint(HWND hwnd) {
  Caret& c = caret();
  auto it = std::find(c.paint_hidden.begin(), c.paint_hidden.end(), hwnd);
  if (it == c.paint_hidden.end()) return;
  c.paint_hidden.erase(it);
  ShowCaret(hwnd);
}

void caret_window_destroyed(HWND hwnd) {
  Caret& c = caret();
  std::erase(c.paint_hidden, hwnd);
  if (c.owner == hwnd) c = Caret{};
}

}  // namespace platform::winsys

using namespace platform::winsys;

extern "C" {

BOOL CreateCaret(HWND hwnd, HBITMAP bitmap, int width, int height) {
  if (!valid_window(hwnd) || GetWindowThreadProcessId(hwnd, nullptr) != GetCurrentThreadId()) return FALSE;
  if (width < 0 || height < 0) return FALSE;
  DestroyCaret();
  Caret& c = caret();
  if (bitmap && bitmap != reinterpret_cast<HBITMAP>(1)) {
    BITMAP bm{};
    if (!GetObjectA(bitmap, sizeof bm, &bm)) return FALSE;
    width = bm.bmWidth;
    height = bm.bmHeight;
  }
  c.owner = hwnd;
  c.width = width ? width : GetSystemMetrics(SM_CXBORDER);
  c.height = height ? height : GetSystemMetrics(SM_CYBORDER);
  c.pos = POINT{0, 0};
  c.hidden = 1;
  c.on = false;
  return TRUE;
}

BOOL DestroyCaret() {
  Caret& c = caret();
  if (!c.owner) return FALSE;
  set_on(c, false);
  if (IsWindow(c.owner)) KillTimer(c.owner, kBlinkTimer);
  // A caret made during the same paint starts hidden as usual: EndPaint must not show it.
  c = Caret{};
  return TRUE;
}

BOOL HideCaret(HWND hwnd) {
  Caret* c = owned_by(hwnd);
  if (!c) return FALSE;
  set_on(*c, false);
  ++c->hidden;
  return TRUE;
}

BOOL ShowCaret(HWND hwnd) {
  Caret* c = owned_by(hwnd);
  if (!c || c->hidden == 0) return FALSE;
  if (--c->hidden == 0) {
    set_on(*c, true);
    restart_blink(*c);
  }
  return TRUE;
}

BOOL SetCaretPos(int x, int y) {
  Caret* c = owned_by(nullptr);
  if (!c) return FALSE;
  if (c->pos.x == x && c->pos.y == y) return TRUE;
  const bool was_on = c->on;
  set_on(*c, false);
  c->pos = POINT{x, y};
  if (was_on || c->hidden == 0) {
    set_on(*c, true);
    restart_blink(*c);
  }
  return TRUE;
}

BOOL GetCaretPos(LPPOINT point) {
  Caret* c = owned_by(nullptr);
  if (!point || !c) return FALSE;
  *point = c->pos;
  return TRUE;
}

UINT GetCaretBlinkTime() {
  return blink_time().load();
}

BOOL SetCaretBlinkTime(UINT ms) {
  if (ms == 0) return FALSE;
  blink_time().store(ms);
  if (Caret* c = owned_by(nullptr); c && c->hidden == 0) restart_blink(*c);
  return TRUE;
}

}  // extern "C"
