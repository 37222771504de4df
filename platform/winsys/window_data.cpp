// Per-window data: styles, ids, user data, extra bytes, the window procedure, properties and
// the window text.
#include <algorithm>
#include <cstring>

#include "platform/winsys/dispatch.h"
#include "platform/winsys/window_internal.h"
#include "platform/winsys/window_lookup.h"

namespace platform::winsys {
namespace {

// The 32-bit view of a procedure: a code address does not fit in a LONG, so GetWindowLongA
// hands out a small handle in the range 0xFFFF0000.. that CallWindowProcA understands.
constexpr ULONG_PTR kProcHandleBase = 0xFFFF0000u;

LONG proc_to_handle_locked(WNDPROC proc) {
  if (!proc) return 0;
  auto& table = state_locked().proc_handles;
  auto it = std::find(table.begin(), table.end(), proc);
  std::size_t index = static_cast<std::size_t>(it - table.begin());
  if (it == table.end()) {
    if (table.size() >= 0xFFFF) return 0;
    table.push_back(proc);
  }
  return static_cast<LONG>(static_cast<std::uint32_t>(kProcHandleBase | index));
}

WNDPROC handle_to_proc_locked(ULONG_PTR value) {
  std::uint32_t low = static_cast<std::uint32_t>(value);
  ULONG_PTR high = value >> 32;
  if ((high == 0 || high == 0xFFFFFFFFu) && (low & 0xFFFF0000u) == kProcHandleBase) {
    auto& table = state_locked().proc_handles;
    std::size_t index = low & 0xFFFFu;
    return index < table.size() ? table[index] : nullptr;
  }
  return reinterpret_cast<WNDPROC>(value);
}

bool is_proc_handle(ULONG_PTR value) {
  std::uint32_t low = static_cast<std::uint32_t>(value);
  ULONG_PTR high = value >> 32;
  return (high == 0 || high == 0xFFFFFFFFu) && (low & 0xFFFF0000u) == kProcHandleBase;
}

LONG_PTR set_style(HWND hwnd, int index, LONG_PTR value) {
  STYLESTRUCT ss{};
  {
    Lock lock(wm_mutex());
    auto w = checked_locked(hwnd);
    if (!w || is_desktop_locked(*w)) return 0;
    ss.styleOld = index == GWL_STYLE ? w->style : w->ex_style;
  }
  ss.styleNew = static_cast<DWORD>(value);
  SendMessageA(hwnd, WM_STYLECHANGING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&ss));
  {
    Lock lock(wm_mutex());
    auto w = find_locked(hwnd);
    if (!w) return 0;
    if (index == GWL_STYLE) {
      // Whether a window is a child is fixed at creation.
      ss.styleNew = (ss.styleNew & ~WS_CHILD) | (w->style & WS_CHILD);
      w->style = ss.styleNew;
    } else {
      w->ex_style = ss.styleNew;
    }
  }
  SendMessageA(hwnd, WM_STYLECHANGED, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&ss));
  return static_cast<LONG_PTR>(ss.styleOld);
}

}  // namespace
}  // namespace platform::winsys

using namespace platform::winsys;

extern "C" {

LONG_PTR GetWindowLongPtrA(HWND hwnd, int index) {
  LockedWindow w(hwnd);
  if (!w || is_desktop_locked(*w)) return 0;
  if (index >= 0) {
    if (static_cast<std::size_t>(index) + sizeof(LONG_PTR) > w->extra.size()) return 0;
    LONG_PTR v;
    std::memcpy(&v, w->extra.data() + index, sizeof v);
    return v;
  }
  switch (index) {
    case GWLP_WNDPROC:
      return reinterpret_cast<LONG_PTR>(w->proc);
    case GWL_STYLE:
      return static_cast<LONG_PTR>(w->style);
    case GWL_EXSTYLE:
      return static_cast<LONG_PTR>(w->ex_style);
    case GWLP_USERDATA:
      return w->user_data;
    case GWLP_ID:
      return w->id;
    case GWLP_HINSTANCE:
      return reinterpret_cast<LONG_PTR>(w->instance);
    case GWLP_HWNDPARENT:
      return reinterpret_cast<LONG_PTR>((w->style & WS_CHILD) ? w->parent : w->owner);
  }
  return 0;
}

LONG_PTR SetWindowLongPtrA(HWND hwnd, int index, LONG_PTR value) {
  if (index == GWL_STYLE || index == GWL_EXSTYLE) return set_style(hwnd, index, value);
  LockedWindow w(hwnd);
  if (!w || is_desktop_locked(*w)) return 0;
  LONG_PTR old = 0;
  if (index >= 0) {
    const std::size_t size = sizeof(LONG_PTR);
    if (static_cast<std::size_t>(index) + size > w->extra.size()) return 0;
    std::memcpy(&old, w->extra.data() + index, size);
    std::memcpy(w->extra.data() + index, &value, size);
    return old;
  }
  switch (index) {
    case GWLP_WNDPROC:
      old = reinterpret_cast<LONG_PTR>(w->proc);
      if (!value) return 0;  // a window always has a procedure
      w->proc = handle_to_proc_locked(static_cast<ULONG_PTR>(value));
      return old;
    case GWLP_USERDATA:
      old = w->user_data;
      w->user_data = value;
      return old;
    case GWLP_ID:
      old = w->id;
      w->id = value;
      return old;
    case GWLP_HINSTANCE:
      old = reinterpret_cast<LONG_PTR>(w->instance);
      w->instance = reinterpret_cast<HINSTANCE>(value);
      return old;
    case GWLP_HWNDPARENT:
      if (w->style & WS_CHILD) return 0;
      old = reinterpret_cast<LONG_PTR>(w->owner);
      w->owner = reinterpret_cast<HWND>(value);
      return old;
  }
  return 0;
}

LONG GetWindowLongA(HWND hwnd, int index) {
  if (index == GWL_WNDPROC) {
    LockedWindow w(hwnd);
    return w && !is_desktop_locked(*w) ? proc_to_handle_locked(w->proc) : 0;
  }
  if (index >= 0) {
    LockedWindow w(hwnd);
    if (!w || is_desktop_locked(*w) || static_cast<std::size_t>(index) + sizeof(LONG) > w->extra.size())
      return 0;
    LONG v;
    std::memcpy(&v, w->extra.data() + index, sizeof v);
    return v;
  }
  return static_cast<LONG>(GetWindowLongPtrA(hwnd, index));
}

LONG SetWindowLongA(HWND hwnd, int index, LONG value) {
  if (index == GWL_WNDPROC) {
    // Only a procedure handle fits in 32 bits; a truncated code address would crash later.
    if (!is_proc_handle(static_cast<ULONG_PTR>(static_cast<std::uint32_t>(value)))) return 0;
    LONG_PTR old = SetWindowLongPtrA(hwnd, index, static_cast<LONG_PTR>(value));
    if (!old) return 0;
    Lock lock(wm_mutex());
    return proc_to_handle_locked(reinterpret_cast<WNDPROC>(old));
  }
  if (index >= 0) {
    LockedWindow w(hwnd);
    if (!w || is_desktop_locked(*w) || static_cast<std::size_t>(index) + sizeof(LONG) > w->extra.size())
      return 0;
    LONG old;
    std::memcpy(&old, w->extra.data() + index, sizeof old);
    std::memcpy(w->extra.data() + index, &value, sizeof value);
    return old;
  }
  return static_cast<LONG>(SetWindowLongPtrA(hwnd, index, static_cast<LONG_PTR>(value)));
}

LRESULT CallWindowProcA(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (!proc) return 0;
  if (is_proc_handle(reinterpret_cast<ULONG_PTR>(proc))) {
    Lock lock(wm_mutex());
    proc = handle_to_proc_locked(reinterpret_cast<ULONG_PTR>(proc));
    if (!proc) return 0;
  }
  return proc(hwnd, msg, wp, lp);
}

BOOL SetPropA(HWND hwnd, LPCSTR name, HANDLE data) {
  if (!name) return FALSE;
  std::string key = IS_INTRESOURCE(name) ? "#" + std::to_string(reinterpret_cast<ULONG_PTR>(name)) : name;
  LockedWindow w(hwnd);
  if (!w || is_desktop_locked(*w)) return FALSE;
  for (auto& [k, v] : w->props)
    if (iequals(k, key)) {
      v = data;
      return TRUE;
    }
  w->props.emplace_back(key, data);
  return TRUE;
}

HANDLE GetPropA(HWND hwnd, LPCSTR name) {
  if (!name) return nullptr;
  std::string key = IS_INTRESOURCE(name) ? "#" + std::to_string(reinterpret_cast<ULONG_PTR>(name)) : name;
  LockedWindow w(hwnd);
  if (!w) return nullptr;
  for (auto& [k, v] : w->props)
    if (iequals(k, key)) return v;
  return nullptr;
}

HANDLE RemovePropA(HWND hwnd, LPCSTR name) {
  if (!name) return nullptr;
  std::string key = IS_INTRESOURCE(name) ? "#" + std::to_string(reinterpret_cast<ULONG_PTR>(name)) : name;
  LockedWindow w(hwnd);
  if (!w) return nullptr;
  for (auto it = w->props.begin(); it != w->props.end(); ++it)
    if (iequals(it->first, key)) {
      HANDLE v = it->second;
      w->props.erase(it);
      return v;
    }
  return nullptr;
}

int GetWindowTextA(HWND hwnd, LPSTR buffer, int size) {
  if (!buffer || size <= 0) return 0;
  buffer[0] = '\0';
  {
    LockedWindow w(hwnd);
    if (!w) return 0;
    if (w->thread_id != this_thread_id()) {
      // Another thread's window: its stored text, without a message (no waiting on that thread).
      std::size_t n = std::min(w->text.size(), static_cast<std::size_t>(size - 1));
      std::memcpy(buffer, w->text.data(), n);
      buffer[n] = '\0';
      return static_cast<int>(n);
    }
  }
  return static_cast<int>(
      SendMessageA(hwnd, WM_GETTEXT, static_cast<WPARAM>(size), reinterpret_cast<LPARAM>(buffer)));
}

int GetWindowTextLengthA(HWND hwnd) {
  {
    LockedWindow w(hwnd);
    if (!w) return 0;
    if (w->thread_id != this_thread_id()) return static_cast<int>(w->text.size());
  }
  return static_cast<int>(SendMessageA(hwnd, WM_GETTEXTLENGTH, 0, 0));
}

BOOL SetWindowTextA(HWND hwnd, LPCSTR text) {
  if (!valid_window(hwnd)) return FALSE;
  return SendMessageA(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)) ? TRUE : FALSE;
}

}  // extern "C"
