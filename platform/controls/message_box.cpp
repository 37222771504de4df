// MessageBoxA: a modal box with an icon, the text and a row of push buttons, run by a nested
// message loop on the calling thread.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/api.h"
#include "platform/controls/button.h"
#include "platform/controls/control_common.h"
#include "platform/controls/message_box_layout.h"
#include "platform/display/backend.h"
#include "platform/kernel/codepage.h"
#include "platform/winsys/system_classes.h"

namespace platform::controls {
namespace {

constexpr const char* kBoxClass = "#32770";
constexpr std::string_view kDefaultCaption = "错误";

struct Session {
  HWND box = nullptr;
  UINT type = 0;
  ButtonSet set;
  std::vector<HWND> buttons;
  std::size_t current = 0;  // the focused button, which also carries the default frame
  std::string text;         // ANSI, line breaks as "\n"
  HICON icon = nullptr;
  HFONT font = nullptr;
  MessageBoxGeometry geometry;
  int result = 0;
  bool done = false;
};

struct BoxLink {
  Session* session = nullptr;
};

StateTable<BoxLink>& boxes() {
  static StateTable<BoxLink> table;
  return table;
}

Session* session_of(HWND box) {
  auto link = boxes().find(box);
  return link ? link->session : nullptr;
}

void finish(Session& s, int answer) {
  s.result = answer;
  s.done = true;
}

bool in_set(const Session& s, int id) {
  for (const auto& b : s.set.buttons)
    if (b.id == id) return true;
  return false;
}

void paint_box(HWND hwnd, Session& s) {
  PAINTSTRUCT ps{};
  HDC dc = BeginPaint(hwnd, &ps);
  if (dc) {
    ScopedDcState saved(dc);
    RECT client = client_rect(hwnd);
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    if (s.icon) {
      const RECT& r = s.geometry.icon;
      DrawIconEx(dc, r.left, r.top, s.icon, r.right - r.left, r.bottom - r.top, 0, nullptr, DI_NORMAL);
    }
    SelectObject(dc, s.font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    RECT text = s.geometry.text;
    UINT format = DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX | ((s.type & MB_RIGHT) ? DT_RIGHT : DT_LEFT);
    DrawTextA(dc, s.text.c_str(), static_cast<int>(s.text.size()), &text, format);
  }
  EndPaint(hwnd, &ps);
}

void focus_button(Session& s, std::size_t index) {
  if (index >= s.buttons.size()) return;
  if (index != s.current) {
    SendMessageA(s.buttons[s.current], BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
    SendMessageA(s.buttons[index], BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
    s.current = index;
  }
  SetFocus(s.buttons[index]);
}

std::size_t focused_index(const Session& s) {
  HWND focus = GetFocus();
  for (std::size_t i = 0; i < s.buttons.size(); ++i)
    if (s.buttons[i] == focus) return i;
  return s.current;
}

// The letter after "&" in a button caption, upper-cased; 0 when there is none.
char mnemonic(std::string_view caption) {
  auto amp = caption.find('&');
  if (amp == std::string_view::npos || amp + 1 >= caption.size()) return 0;
  char c = caption[amp + 1];
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// Keyboard navigation of the box; true when the message was used up.
bool handle_box_key(Session& s, const MSG& m) {
  if (m.hwnd != s.box && !IsChild(s.box, m.hwnd)) return false;
  if (m.message == WM_KEYDOWN) {
    std::size_t n = s.buttons.size();
    std::size_t here = focused_index(s);
    switch (m.wParam) {
      case VK_RETURN:
        finish(s, s.set.buttons[here].id);
        return true;
      case VK_ESCAPE:
        if (s.set.escape_answer) finish(s, s.set.escape_answer);
        return true;
      case VK_TAB:
        focus_button(s, GetKeyState(VK_SHIFT) < 0 ? (here + n - 1) % n : (here + 1) % n);
        return true;
      case VK_LEFT:
      case VK_UP:
        focus_button(s, (here + n - 1) % n);
        return true;
      case VK_RIGHT:
      case VK_DOWN:
        focus_button(s, (here + 1) % n);
        return true;
      default:
        return false;
    }
  }
  if (m.message == WM_CHAR || m.message == WM_SYSCHAR) {
    char typed = static_cast<char>(m.wParam);
    if (typed >= 'a' && typed <= 'z') typed = static_cast<char>(typed - 'a' + 'A');
    for (const auto& b : s.set.buttons) {
      if (typed != 0 && mnemonic(b.caption) == typed) {
        finish(s, b.id);
        return true;
      }
    }
  }
  return false;
}

LRESULT CALLBACK box_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_NCCREATE: {
      auto* create = reinterpret_cast<CREATESTRUCTA*>(lp);
      boxes().attach(hwnd)->session = create ? static_cast<Session*>(create->lpCreateParams) : nullptr;
      break;
    }
    case WM_NCDESTROY:
      boxes().detach(hwnd);
      break;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      if (Session* s = session_of(hwnd)) {
        paint_box(hwnd, *s);
        return 0;
      }
      break;
    case WM_COMMAND:
      if (Session* s = session_of(hwnd); s && HIWORD(wp) == BN_CLICKED && in_set(*s, LOWORD(wp))) {
        finish(*s, LOWORD(wp));
      }
      return 0;
    case WM_CLOSE:
      if (Session* s = session_of(hwnd); s && s->set.escape_answer) finish(*s, s->set.escape_answer);
      return 0;
    case WM_SETFOCUS:
      if (Session* s = session_of(hwnd); s && !s->buttons.empty()) SetFocus(s->buttons[s->current]);
      return 0;
    default:
      break;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

void register_message_box_class() {
  register_control_class(kBoxClass, box_proc, CS_GLOBALCLASS | CS_SAVEBITS);
}

const bool kRegistered = winsys::add_system_classes(&register_message_box_class);

bool reports_to_stderr() {
  const char* switch_value = std::getenv("LYRICS_MESSAGEBOX");
  return (switch_value && *switch_value) || display::backend().name() == "headless";
}

bool answers_at_once() {
  const char* switch_value = std::getenv("LYRICS_MESSAGEBOX");
  return switch_value && std::string_view(switch_value) == "default";
}

void report(const std::string& caption, const std::string& text) {
  std::string line =
      "[MessageBox] " + codepage::ansi_to_utf8(caption) + "\n" + codepage::ansi_to_utf8(text) + "\n";
  std::fwrite(line.data(), 1, line.size(), stderr);
  std::fflush(stderr);
}

bool owned_by_this_thread(HWND hwnd) {
  return hwnd && GetWindowThreadProcessId(hwnd, nullptr) == GetCurrentThreadId();
}

// Disables the windows the box's modality covers and enables them again afterwards, in the
// order they were disabled.
class ModalDisabler {
 public:
  ModalDisabler(HWND owner_root, UINT type) {
    if ((type & MB_MODEMASK) == MB_APPLMODAL) {
      if (owned_by_this_thread(owner_root)) disable(owner_root);
      return;
    }
    std::vector<HWND> tops;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND w, LPARAM list) -> BOOL {
          reinterpret_cast<std::vector<HWND>*>(list)->push_back(w);
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&tops));
    for (HWND w : tops) disable(w);
  }
  ~ModalDisabler() { restore(); }
  ModalDisabler(const ModalDisabler&) = delete;
  ModalDisabler& operator=(const ModalDisabler&) = delete;

  void restore() {
    for (HWND w : disabled_)
      if (IsWindow(w)) EnableWindow(w, TRUE);
    disabled_.clear();
  }

 private:
  void disable(HWND w) {
    if (!IsWindow(w) || !IsWindowEnabled(w)) return;
    EnableWindow(w, FALSE);
    disabled_.push_back(w);
  }
  std::vector<HWND> disabled_;
};

// Owns the box window until the box ends.
class BoxWindow {
 public:
  explicit BoxWindow(HWND hwnd) : hwnd_(hwnd) {}
  ~BoxWindow() { destroy(); }
  BoxWindow(const BoxWindow&) = delete;
  BoxWindow& operator=(const BoxWindow&) = delete;
  HWND get() const { return hwnd_; }
  void destroy() {
    if (hwnd_ && IsWindow(hwnd_)) DestroyWindow(hwnd_);
    hwnd_ = nullptr;
  }

 private:
  HWND hwnd_;
};

struct Measured {
  SIZE text{0, 0};
  int caption_width = 0;
};

Measured measure(const Session& s, const std::string& caption, int max_width) {
  Measured m;
  HDC dc = GetDC(nullptr);
  if (!dc) return m;
  {
    ScopedDcState saved(dc);
    SelectObject(dc, s.font);
    if (!s.text.empty()) {
      RECT r{0, 0, max_width, 0};
      DrawTextA(dc, s.text.c_str(), static_cast<int>(s.text.size()), &r,
                DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX);
      m.text = SIZE{r.right - r.left, r.bottom - r.top};
    }
    SIZE caption_size{0, 0};
    if (GetTextExtentPoint32A(dc, caption.c_str(), static_cast<int>(caption.size()), &caption_size)) {
      m.caption_width = caption_size.cx;
    }
  }
  ReleaseDC(nullptr, dc);
  return m;
}

POINT box_position(HWND owner, SIZE window) {
  SIZE screen{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  RECT over{0, 0, screen.cx, screen.cy};
  if (owner && IsWindow(owner) && IsWindowVisible(owner)) GetWindowRect(owner, &over);
  LONG x = over.left + (over.right - over.left - window.cx) / 2;
  LONG y = over.top + (over.bottom - over.top - window.cy) / 2;
  x = std::max<LONG>(0, std::min<LONG>(x, screen.cx - window.cx));
  y = std::max<LONG>(0, std::min<LONG>(y, screen.cy - window.cy));
  return POINT{x, y};
}

HWND create_box(Session& s, HWND owner, const std::string& caption) {
  bool has_icon = s.icon != nullptr;
  Measured m = measure(s, caption, message_text_max_width(GetSystemMetrics(SM_CXSCREEN), has_icon));
  s.geometry = layout_message_box(m.text, has_icon, s.set.buttons.size(), m.caption_width);
  DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
  DWORD ex_style = WS_EX_DLGMODALFRAME;
  if (s.type & (MB_TOPMOST | MB_SYSTEMMODAL)) ex_style |= WS_EX_TOPMOST;
  RECT frame{0, 0, s.geometry.client.cx, s.geometry.client.cy};
  AdjustWindowRectEx(&frame, style, FALSE, ex_style);
  SIZE size{frame.right - frame.left, frame.bottom - frame.top};
  POINT at = box_position(owner, size);
  HWND box = CreateWindowExA(ex_style, kBoxClass, caption.c_str(), style, at.x, at.y, size.cx, size.cy, owner,
                             nullptr, nullptr, &s);
  if (!box) return nullptr;
  s.box = box;
  for (std::size_t i = 0; i < s.set.buttons.size(); ++i) {
    const RECT& r = s.geometry.buttons[i];
    DWORD button_style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | (i == 0 ? WS_GROUP : 0) |
                         (i == s.current ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
    std::string label = codepage::utf8_to_ansi(s.set.buttons[i].caption);
    HWND button = CreateWindowExA(
        0, kButtonClass, label.c_str(), button_style, r.left, r.top, r.right - r.left, r.bottom - r.top, box,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(s.set.buttons[i].id)), nullptr, nullptr);
    SendMessageA(button, WM_SETFONT, reinterpret_cast<WPARAM>(s.font), FALSE);
    s.buttons.push_back(button);
  }
  return box;
}

// Runs the box's loop until a button is chosen, the box is gone or WM_QUIT arrives.
void run_box(Session& s) {
  MSG m{};
  while (!s.done && IsWindow(s.box)) {
    BOOL got = GetMessageA(&m, nullptr, 0, 0);
    if (got == 0) {
      // The outer loop must end too: hand the quit on.
      PostQuitMessage(static_cast<int>(m.wParam));
      s.result = 0;
      return;
    }
    if (got < 0) return;
    if (handle_box_key(s, m)) continue;
    TranslateMessage(&m);
    DispatchMessageA(&m);
  }
}

int show_message_box(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
  Session s;
  s.type = type;
  s.set = button_set(type);
  if (s.set.buttons.empty()) return 0;
  if (owner && !IsWindow(owner)) owner = nullptr;
  HWND owner_root = owner ? GetAncestor(owner, GA_ROOT) : nullptr;
  if (owner_root && !owned_by_this_thread(owner_root)) owner_root = nullptr;
  std::string title = caption ? std::string(caption) : codepage::utf8_to_ansi(kDefaultCaption);
  s.text = normalise_line_breaks(text);
  s.current = default_button_index(type, s.set.buttons.size());
  if (reports_to_stderr()) report(title, s.text);
  if (answers_at_once()) return s.set.buttons[s.current].id;

  if (LPCSTR icon = icon_resource(type)) s.icon = LoadIconA(nullptr, icon);
  s.font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  HWND previously_active = GetActiveWindow();
  ModalDisabler disabled(owner_root, type);
  BoxWindow box(create_box(s, owner_root, title));
  if (!box.get()) return 0;
  ShowWindow(box.get(), SW_SHOW);
  SetActiveWindow(box.get());
  if (type & MB_SETFOREGROUND) SetForegroundWindow(box.get());
  if (!s.buttons.empty()) SetFocus(s.buttons[s.current]);

  run_box(s);

  // Enable first, so activation falls back to the owner when the box goes.
  disabled.restore();
  box.destroy();
  HWND back = owner_root ? owner_root : previously_active;
  if (back && IsWindow(back) && IsWindowEnabled(back) && owned_by_this_thread(back)) SetActiveWindow(back);
  return s.done ? s.result : 0;
}

}  // namespace
}  // namespace platform::controls

extern "C" int MessageBoxA(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType) {
  return platform::controls::show_message_box(hWnd, lpText, lpCaption, uType);
}

extern "C" int MessageBoxExA(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType, WORD) {
  return platform::controls::show_message_box(hWnd, lpText, lpCaption, uType);
}
