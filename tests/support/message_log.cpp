#include "tests/support/message_log.h"

#include <algorithm>
#include <cstdio>
#include <sstream>

namespace lyr::test {
namespace {

thread_local int defproc_depth = 0;
thread_local const MSG* dispatching = nullptr;
HHOOK& hook_handle() {
  static HHOOK h = nullptr;
  return h;
}

std::string describe(UINT msg, unsigned flags, WPARAM wp, LPARAM lp, bool show_params) {
  std::ostringstream out;
  out << message_name(msg);
  if (flags & sent) out << " sent";
  if (flags & posted) out << " posted";
  if (flags & parent) out << " parent";
  if (flags & defwinproc) out << " defwinproc";
  if (flags & hook) out << " hook";
  if (flags & optional) out << " optional";
  if (show_params || (flags & wparam)) out << " wp=" << std::hex << "0x" << wp;
  if (show_params || (flags & lparam)) out << " lp=" << std::hex << "0x" << lp;
  return out.str();
}

bool same(const Expected& e, const Logged& a) {
  if (e.message != a.message) return false;
  const unsigned kinds = sent | posted | parent | defwinproc | hook;
  if ((e.flags & kinds) != (a.flags & kinds)) return false;
  if ((e.flags & wparam) && e.wp != a.wp) return false;
  if ((e.flags & lparam) && e.lp != a.lp) return false;
  return true;
}

}  // namespace

MessageLog& log() {
  static MessageLog instance;
  return instance;
}

void MessageLog::record(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, unsigned flags) {
  std::lock_guard guard(mutex_);
  if (!watched_.empty() && std::find(watched_.begin(), watched_.end(), hwnd) == watched_.end()) return;
  if (hwnd && hwnd == parent_) flags |= parent;
  entries_.push_back(Logged{hwnd, msg, flags, wp, lp, GetCurrentThreadId()});
}

void MessageLog::clear() {
  std::lock_guard guard(mutex_);
  entries_.clear();
}

std::vector<Logged> MessageLog::entries() const {
  std::lock_guard guard(mutex_);
  return entries_;
}

void MessageLog::watch_only(std::vector<HWND> windows) {
  std::lock_guard guard(mutex_);
  watched_ = std::move(windows);
}

void MessageLog::set_parent(HWND hwnd) {
  std::lock_guard guard(mutex_);
  parent_ = hwnd;
}

void MessageLog::set_override(Override fn) {
  std::lock_guard guard(mutex_);
  override_ = std::move(fn);
}

std::optional<LRESULT> MessageLog::run_override(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  Override fn;
  {
    std::lock_guard guard(mutex_);
    fn = override_;
  }
  return fn ? fn(hwnd, msg, wp, lp) : std::nullopt;
}

::testing::AssertionResult MessageLog::matches(std::span<const Expected> expected, const char* context) {
  std::vector<Logged> actual;
  {
    std::lock_guard guard(mutex_);
    actual.swap(entries_);
  }
  std::size_t e = 0, a = 0;
  bool ok = true;
  std::string first_problem;
  while (e < expected.size() && a < actual.size()) {
    if (same(expected[e], actual[a])) {
      ++e;
      ++a;
    } else if (expected[e].flags & optional) {
      ++e;
    } else {
      ok = false;
      first_problem =
          "at expected #" + std::to_string(e) + ": wanted " +
          describe(expected[e].message, expected[e].flags, expected[e].wp, expected[e].lp, false) + ", got " +
          describe(actual[a].message, actual[a].flags, actual[a].wp, actual[a].lp, true);
      break;
    }
  }
  while (ok && e < expected.size() && (expected[e].flags & optional)) ++e;
  if (ok && e < expected.size()) {
    ok = false;
    first_problem =
        "missing " + describe(expected[e].message, expected[e].flags, expected[e].wp, expected[e].lp, false);
  }
  if (ok && a < actual.size()) {
    ok = false;
    first_problem =
        "unexpected " + describe(actual[a].message, actual[a].flags, actual[a].wp, actual[a].lp, true);
  }
  if (ok) return ::testing::AssertionSuccess();
  std::ostringstream out;
  out << context << ": " << first_problem << "\n  expected:";
  for (const Expected& x : expected) out << "\n    " << describe(x.message, x.flags, x.wp, x.lp, false);
  out << "\n  actual:";
  for (const Logged& x : actual) out << "\n    " << describe(x.message, x.flags, x.wp, x.lp, true);
  return ::testing::AssertionFailure() << out.str();
}

std::string message_name(UINT msg) {
  static const std::pair<UINT, const char*> names[] = {
      {WM_CREATE, "WM_CREATE"},
      {WM_DESTROY, "WM_DESTROY"},
      {WM_MOVE, "WM_MOVE"},
      {WM_SIZE, "WM_SIZE"},
      {WM_ACTIVATE, "WM_ACTIVATE"},
      {WM_SETFOCUS, "WM_SETFOCUS"},
      {WM_KILLFOCUS, "WM_KILLFOCUS"},
      {WM_ENABLE, "WM_ENABLE"},
      {WM_SETTEXT, "WM_SETTEXT"},
      {WM_GETTEXT, "WM_GETTEXT"},
      {WM_GETTEXTLENGTH, "WM_GETTEXTLENGTH"},
      {WM_PAINT, "WM_PAINT"},
      {WM_CLOSE, "WM_CLOSE"},
      {WM_QUIT, "WM_QUIT"},
      {WM_ERASEBKGND, "WM_ERASEBKGND"},
      {WM_SHOWWINDOW, "WM_SHOWWINDOW"},
      {WM_ACTIVATEAPP, "WM_ACTIVATEAPP"},
      {WM_SETCURSOR, "WM_SETCURSOR"},
      {WM_MOUSEACTIVATE, "WM_MOUSEACTIVATE"},
      {WM_GETMINMAXINFO, "WM_GETMINMAXINFO"},
      {WM_WINDOWPOSCHANGING, "WM_WINDOWPOSCHANGING"},
      {WM_WINDOWPOSCHANGED, "WM_WINDOWPOSCHANGED"},
      {WM_STYLECHANGING, "WM_STYLECHANGING"},
      {WM_STYLECHANGED, "WM_STYLECHANGED"},
      {WM_NCCREATE, "WM_NCCREATE"},
      {WM_NCDESTROY, "WM_NCDESTROY"},
      {WM_NCCALCSIZE, "WM_NCCALCSIZE"},
      {WM_NCHITTEST, "WM_NCHITTEST"},
      {WM_NCPAINT, "WM_NCPAINT"},
      {WM_NCACTIVATE, "WM_NCACTIVATE"},
      {WM_TIMER, "WM_TIMER"},
      {WM_SYSCOMMAND, "WM_SYSCOMMAND"},
      {WM_COMMAND, "WM_COMMAND"},
      {WM_PARENTNOTIFY, "WM_PARENTNOTIFY"},
      {WM_CAPTURECHANGED, "WM_CAPTURECHANGED"},
      {WM_ENTERSIZEMOVE, "WM_ENTERSIZEMOVE"},
      {WM_EXITSIZEMOVE, "WM_EXITSIZEMOVE"},
      {WM_MOVING, "WM_MOVING"},
      {WM_MOUSEMOVE, "WM_MOUSEMOVE"},
      {WM_LBUTTONDOWN, "WM_LBUTTONDOWN"},
      {WM_LBUTTONUP, "WM_LBUTTONUP"},
      {WM_NCLBUTTONDOWN, "WM_NCLBUTTONDOWN"},
      {WM_KEYDOWN, "WM_KEYDOWN"},
      {WM_CHAR, "WM_CHAR"},
      {WM_PRINTCLIENT, "WM_PRINTCLIENT"},
      {WM_USER, "WM_USER"},
      {WM_APP, "WM_APP"},
  };
  for (auto& [n, name] : names)
    if (n == msg) return name;
  char buf[32];
  if (msg > WM_USER && msg < WM_APP)
    std::snprintf(buf, sizeof buf, "WM_USER+%u", msg - WM_USER);
  else if (msg > WM_APP && msg < 0xC000)
    std::snprintf(buf, sizeof buf, "WM_APP+%u", msg - WM_APP);
  else
    std::snprintf(buf, sizeof buf, "msg 0x%04x", msg);
  return buf;
}

LRESULT logging_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  unsigned flags = defproc_depth > 0 ? defwinproc : 0;
  if (dispatching && dispatching->hwnd == hwnd && dispatching->message == msg && dispatching->wParam == wp &&
      dispatching->lParam == lp) {
    flags |= posted;
    dispatching = nullptr;  // messages sent while handling it are sent, not posted
  } else {
    flags |= sent;
  }
  log().record(hwnd, msg, wp, lp, flags);
  int saved = defproc_depth;
  defproc_depth = 0;
  std::optional<LRESULT> r = log().run_override(hwnd, msg, wp, lp);
  LRESULT result = r ? *r : log_defwindowproc(hwnd, msg, wp, lp);
  defproc_depth = saved;
  return result;
}

LRESULT log_defwindowproc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  ++defproc_depth;
  LRESULT r = DefWindowProcA(hwnd, msg, wp, lp);
  --defproc_depth;
  return r;
}

void set_logging_hook_handle(HHOOK hook) {
  hook_handle() = hook;
}

LRESULT logging_callwndproc(int code, WPARAM wp, LPARAM lp) {
  if (code >= 0 && lp) {
    auto* cwp = reinterpret_cast<const CWPSTRUCT*>(lp);
    log().record(cwp->hwnd, cwp->message, cwp->wParam, cwp->lParam, hook);
  }
  return CallNextHookEx(hook_handle(), code, wp, lp);
}

const char* register_logging_class() {
  static const bool registered = [] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = logging_proc;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<ULONG_PTR>(COLOR_WINDOW + 1));
    wc.lpszClassName = "LogWindow";
    return RegisterClassA(&wc) != 0;
  }();
  (void)registered;
  return "LogWindow";
}

void pump_messages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    dispatching = &msg;
    DispatchMessageA(&msg);
    dispatching = nullptr;
  }
}

}  // namespace lyr::test
