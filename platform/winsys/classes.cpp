// Window classes: one table for the process, names compared without regard to case.
#include <algorithm>
#include <cctype>
#include <cstring>

#include "platform/winsys/system_classes.h"
#include "platform/winsys/window_internal.h"
#include "platform/winsys/window_lookup.h"

namespace platform::winsys {
namespace {

struct SystemClassList {
  std::mutex mutex;
  std::mutex run_mutex;
  std::vector<void (*)()> functions;
  bool ran = false;
};

SystemClassList& system_class_list() {
  static SystemClassList list;
  return list;
}

std::string class_name_of(LPCSTR name) {
  if (!name) return {};
  if (IS_INTRESOURCE(name)) return "#" + std::to_string(reinterpret_cast<ULONG_PTR>(name));
  return name;
}

ATOM register_class(const WNDCLASSEXA& wc) {
  if (!wc.lpszClassName || !wc.lpfnWndProc || wc.cbClsExtra < 0 || wc.cbWndExtra < 0 ||
      wc.cbClsExtra > 40000 || wc.cbWndExtra > 40000)
    return 0;
  std::string name = class_name_of(wc.lpszClassName);
  if (name.empty()) return 0;
  ensure_system_classes();
  Lock lock(wm_mutex());
  if (find_class_locked(name)) return 0;
  State& s = state_locked();
  auto c = std::make_shared<WindowClass>();
  c->name = name;
  c->atom = s.next_atom++;
  c->style = wc.style;
  c->proc = wc.lpfnWndProc;
  c->cls_extra = wc.cbClsExtra;
  c->wnd_extra = wc.cbWndExtra;
  c->instance = wc.hInstance;
  c->icon = wc.hIcon;
  c->icon_small = wc.hIconSm;
  c->cursor = wc.hCursor;
  c->background = wc.hbrBackground;
  if (wc.lpszMenuName && !IS_INTRESOURCE(wc.lpszMenuName)) c->menu_name = wc.lpszMenuName;
  c->extra.assign(static_cast<std::size_t>(wc.cbClsExtra), 0);
  s.classes.push_back(c);
  return c->atom;
}

void fill_info(const WindowClass& c, WNDCLASSEXA* out) {
  out->style = c.style;
  out->lpfnWndProc = c.proc;
  out->cbClsExtra = c.cls_extra;
  out->cbWndExtra = c.wnd_extra;
  out->hInstance = c.instance;
  out->hIcon = c.icon;
  out->hCursor = c.cursor;
  out->hbrBackground = c.background;
  out->lpszMenuName = nullptr;
  out->lpszClassName = c.name.c_str();
  out->hIconSm = c.icon_small;
}

}  // namespace

bool add_system_classes(void (*register_classes)()) {
  SystemClassList& list = system_class_list();
  {
    std::lock_guard guard(list.mutex);
    if (!list.ran) {
      list.functions.push_back(register_classes);
      return true;
    }
  }
  register_classes();  // added after the first lookup (a late initialiser): register at once
  return true;
}

void ensure_system_classes() {
  thread_local bool running = false;
  if (running) return;  // the registration functions themselves call RegisterClassA
  SystemClassList& list = system_class_list();
  // Held while registering, so another thread's first lookup waits for the classes.
  std::lock_guard run(list.run_mutex);
  std::vector<void (*)()> todo;
  {
    std::lock_guard guard(list.mutex);
    if (list.ran) return;
    list.ran = true;
    todo.swap(list.functions);
  }
  running = true;
  for (auto* f : todo) f();
  running = false;
}

bool iequals(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

std::shared_ptr<WindowClass> find_class_locked(std::string_view name) {
  for (auto& c : state_locked().classes)
    if (iequals(c->name, name)) return c;
  if (name.size() > 1 && name[0] == '#') {
    for (auto& c : state_locked().classes)
      if (std::to_string(c->atom) == name.substr(1)) return c;
  }
  return nullptr;
}

}  // namespace platform::winsys

using namespace platform::winsys;

extern "C" {

ATOM RegisterClassA(const WNDCLASSA* wc) {
  if (!wc) return 0;
  WNDCLASSEXA ex{sizeof(WNDCLASSEXA), wc->style,        wc->lpfnWndProc,   wc->cbClsExtra,
                 wc->cbWndExtra,      wc->hInstance,    wc->hIcon,         wc->hCursor,
                 wc->hbrBackground,   wc->lpszMenuName, wc->lpszClassName, nullptr};
  return register_class(ex);
}

ATOM RegisterClassExA(const WNDCLASSEXA* wc) {
  if (!wc || wc->cbSize != sizeof(WNDCLASSEXA)) return 0;
  return register_class(*wc);
}

BOOL UnregisterClassA(LPCSTR class_name, HINSTANCE) {
  std::string name = class_name_of(class_name);
  ensure_system_classes();
  Lock lock(wm_mutex());
  auto c = find_class_locked(name);
  if (!c || c->window_count > 0) return FALSE;  // a class in use stays
  std::erase(state_locked().classes, c);
  return TRUE;
}

BOOL GetClassInfoExA(HINSTANCE, LPCSTR class_name, WNDCLASSEXA* out) {
  if (!out) return FALSE;
  std::string name = class_name_of(class_name);
  ensure_system_classes();
  Lock lock(wm_mutex());
  auto c = find_class_locked(name);
  if (!c) return FALSE;
  fill_info(*c, out);
  out->cbSize = sizeof(WNDCLASSEXA);
  return c->atom;
}

BOOL GetClassInfoA(HINSTANCE instance, LPCSTR class_name, WNDCLASSA* out) {
  if (!out) return FALSE;
  WNDCLASSEXA ex{};
  ex.cbSize = sizeof ex;
  BOOL r = GetClassInfoExA(instance, class_name, &ex);
  if (!r) return FALSE;
  *out = WNDCLASSA{ex.style, ex.lpfnWndProc, ex.cbClsExtra,    ex.cbWndExtra,   ex.hInstance,
                   ex.hIcon, ex.hCursor,     ex.hbrBackground, ex.lpszMenuName, ex.lpszClassName};
  return r;
}

int GetClassNameA(HWND hwnd, LPSTR buffer, int size) {
  if (!buffer || size <= 0) return 0;
  LockedWindow w(hwnd);
  if (!w) return 0;
  std::string name = w->cls ? w->cls->name : std::string("#32769");
  std::size_t n = std::min(name.size(), static_cast<std::size_t>(size - 1));
  std::memcpy(buffer, name.data(), n);
  buffer[n] = '\0';
  return static_cast<int>(n);
}

ULONG_PTR GetClassLongPtrA(HWND hwnd, int index) {
  LockedWindow w(hwnd);
  if (!w || !w->cls) return 0;
  const WindowClass& c = *w->cls;
  if (index >= 0) {
    if (static_cast<std::size_t>(index) + sizeof(ULONG_PTR) > c.extra.size()) return 0;
    ULONG_PTR v;
    std::memcpy(&v, c.extra.data() + index, sizeof v);
    return v;
  }
  switch (index) {
    case GCLP_HCURSOR:
      return reinterpret_cast<ULONG_PTR>(c.cursor);
    case GCLP_HBRBACKGROUND:
      return reinterpret_cast<ULONG_PTR>(c.background);
    case GCLP_WNDPROC:
      return reinterpret_cast<ULONG_PTR>(c.proc);
    case GCLP_HICON:
      return reinterpret_cast<ULONG_PTR>(c.icon);
    case GCLP_HICONSM:
      return reinterpret_cast<ULONG_PTR>(c.icon_small);
    case GCLP_HMODULE:
      return reinterpret_cast<ULONG_PTR>(c.instance);
    case GCL_STYLE:
      return c.style;
    case GCL_CBWNDEXTRA:
      return static_cast<ULONG_PTR>(c.wnd_extra);
    case GCL_CBCLSEXTRA:
      return static_cast<ULONG_PTR>(c.cls_extra);
    case GCW_ATOM:
      return c.atom;
    default:
      return 0;
  }
}

DWORD GetClassLongA(HWND hwnd, int index) {
  return static_cast<DWORD>(GetClassLongPtrA(hwnd, index));
}

ULONG_PTR SetClassLongPtrA(HWND hwnd, int index, LONG_PTR value) {
  LockedWindow w(hwnd);
  if (!w || !w->cls) return 0;
  WindowClass& c = *w->cls;
  ULONG_PTR old = 0;
  auto swap_ptr = [&](auto& field) {
    old = reinterpret_cast<ULONG_PTR>(field);
    field = reinterpret_cast<std::remove_reference_t<decltype(field)>>(value);
  };
  if (index >= 0) {
    if (static_cast<std::size_t>(index) + sizeof(ULONG_PTR) > c.extra.size()) return 0;
    std::memcpy(&old, c.extra.data() + index, sizeof old);
    std::memcpy(c.extra.data() + index, &value, sizeof value);
    return old;
  }
  switch (index) {
    case GCLP_HCURSOR:
      swap_ptr(c.cursor);
      break;
    case GCLP_HBRBACKGROUND:
      swap_ptr(c.background);
      break;
    case GCLP_WNDPROC:
      swap_ptr(c.proc);
      break;
    case GCLP_HICON:
      swap_ptr(c.icon);
      break;
    case GCLP_HICONSM:
      swap_ptr(c.icon_small);
      break;
    case GCL_STYLE:
      old = c.style;
      c.style = static_cast<UINT>(value);
      break;
    default:
      return 0;
  }
  return old;
}

}  // extern "C"
