// The up-down control's buddy: integer text in it, placement beside it, and the arrow keys in
// it (UDS_ARROWKEYS) through a subclass of the buddy's window procedure.
#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdlib>

#include "platform/controls/control_common.h"
#include "platform/controls/updown_state.h"

namespace platform::controls::updown {
namespace {

constexpr char kOwnerProp[] = "msctls_updown32.owner";
constexpr char kProcProp[] = "msctls_updown32.proc";

DWORD style_of(const State& st) {
  return window_style(st.hwnd);
}

LRESULT CALLBACK buddy_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto previous = reinterpret_cast<WNDPROC>(GetPropA(hwnd, kProcProp));
  auto owner = static_cast<HWND>(GetPropA(hwnd, kOwnerProp));
  if (msg == WM_KEYDOWN && (wp == VK_UP || wp == VK_DOWN) && owner) {
    if (auto st = find_state(owner); st && IsWindowEnabled(owner)) {
      step(*st, wp == VK_UP ? 1 : -1);
      return 0;
    }
  }
  if (msg == WM_GETDLGCODE && previous) return CallWindowProcA(previous, hwnd, msg, wp, lp) | DLGC_WANTARROWS;
  if (msg == WM_NCDESTROY) {
    // The buddy goes first: put its procedure back and let the up-down forget it.
    RemovePropA(hwnd, kOwnerProp);
    RemovePropA(hwnd, kProcProp);
    if (previous) SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
    if (auto st = owner ? find_state(owner) : nullptr; st && st->buddy == hwnd) st->buddy = nullptr;
  }
  return previous ? CallWindowProcA(previous, hwnd, msg, wp, lp) : DefWindowProcA(hwnd, msg, wp, lp);
}

void subclass(State& st) {
  if (!st.buddy || !(style_of(st) & UDS_ARROWKEYS) || GetPropA(st.buddy, kProcProp)) return;
  LONG_PTR previous = GetWindowLongPtrA(st.buddy, GWLP_WNDPROC);
  if (!previous) return;
  SetPropA(st.buddy, kProcProp, reinterpret_cast<HANDLE>(previous));
  SetPropA(st.buddy, kOwnerProp, st.hwnd);
  SetWindowLongPtrA(st.buddy, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&buddy_proc));
}

// Puts the control beside its buddy (UDS_ALIGNLEFT / UDS_ALIGNRIGHT), narrowing the buddy.
void align(State& st) {
  const DWORD style = style_of(st);
  if (!st.buddy || !(style & (UDS_ALIGNLEFT | UDS_ALIGNRIGHT))) return;
  HWND parent = GetParent(st.hwnd);
  RECT b{}, self{};
  if (!GetWindowRect(st.buddy, &b) || !GetWindowRect(st.hwnd, &self)) return;
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&b), 2);
  int width = self.right - self.left;
  if (width <= 0) width = GetSystemMetrics(SM_CXVSCROLL);
  // A sunken buddy shares its 2-pixel edge with the arrows.
  const int overlap = (GetWindowLongA(st.buddy, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) ? 2 : 0;
  const int buddy_width = std::max(0, static_cast<int>(b.right - b.left) - width + overlap);
  const int height = b.bottom - b.top;
  int x;
  if (style & UDS_ALIGNLEFT) {
    x = b.left;
    SetWindowPos(st.buddy, nullptr, b.left + width - overlap, b.top, buddy_width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  } else {
    x = b.left + buddy_width - overlap;
    SetWindowPos(st.buddy, nullptr, b.left, b.top, buddy_width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  SetWindowPos(st.hwnd, nullptr, x, b.top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

std::string format_position(int value, int base, bool separators) {
  const bool negative = value < 0;
  std::uint64_t magnitude = negative ? static_cast<std::uint64_t>(-static_cast<std::int64_t>(value))
                                     : static_cast<std::uint64_t>(value);
  std::string digits;
  if (base == 16) {
    const char* hex = "0123456789ABCDEF";
    do {
      digits.insert(digits.begin(), hex[magnitude % 16]);
      magnitude /= 16;
    } while (magnitude);
    return (negative ? "-0x" : "0x") + digits;
  }
  int count = 0;
  do {
    if (separators && count > 0 && count % 3 == 0) digits.insert(digits.begin(), ',');
    digits.insert(digits.begin(), static_cast<char>('0' + magnitude % 10));
    magnitude /= 10;
    ++count;
  } while (magnitude);
  return negative ? "-" + digits : digits;
}

bool parse_position(const std::string& text, int base, int& value) {
  std::string clean;
  for (char c : text)
    if (c != ',' && !std::isspace(static_cast<unsigned char>(c))) clean.push_back(c);
  bool negative = false;
  std::size_t at = 0;
  if (at < clean.size() && (clean[at] == '-' || clean[at] == '+')) negative = clean[at++] == '-';
  if (base == 16 && clean.size() >= at + 2 && clean[at] == '0' &&
      (clean[at + 1] == 'x' || clean[at + 1] == 'X'))
    at += 2;
  if (at >= clean.size()) return false;
  std::int64_t magnitude = 0;
  for (; at < clean.size(); ++at) {
    const auto c = static_cast<unsigned char>(clean[at]);
    int digit;
    if (std::isdigit(c))
      digit = c - '0';
    else if (base == 16 && std::isxdigit(c))
      digit = std::toupper(c) - 'A' + 10;
    else
      return false;
    magnitude = magnitude * base + digit;
    if (magnitude > 0x80000000LL) return false;
  }
  const std::int64_t signed_value = negative ? -magnitude : magnitude;
  if (signed_value > INT32_MAX || signed_value < INT32_MIN) return false;
  value = static_cast<int>(signed_value);
  return true;
}

void release_buddy(State& st) {
  HWND b = st.buddy;
  st.buddy = nullptr;
  if (!b || !IsWindow(b) || GetPropA(b, kOwnerProp) != st.hwnd) return;
  auto previous = reinterpret_cast<WNDPROC>(GetPropA(b, kProcProp));
  RemovePropA(b, kOwnerProp);
  RemovePropA(b, kProcProp);
  // Only when nobody subclassed the buddy after us; otherwise our procedure stays and passes on.
  if (previous && GetWindowLongPtrA(b, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&buddy_proc))
    SetWindowLongPtrA(b, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
  else if (previous) {
    SetPropA(b, kProcProp, reinterpret_cast<HANDLE>(previous));
  }
}

void set_buddy(State& st, HWND buddy) {
  release_buddy(st);
  if (buddy && !IsWindow(buddy)) buddy = nullptr;
  st.buddy = buddy;
  subclass(st);
  align(st);
}

void write_buddy(State& st) {
  if (!st.buddy || !(style_of(st) & UDS_SETBUDDYINT)) return;
  const std::string text = format_position(st.pos, st.base, !(style_of(st) & UDS_NOTHOUSANDS));
  SetWindowTextA(st.buddy, text.c_str());
}

bool read_buddy(State& st) {
  if (!st.buddy || !(style_of(st) & UDS_SETBUDDYINT)) return true;
  int value = 0;
  if (!parse_position(window_text(st.buddy), st.base, value)) return false;
  st.pos = std::clamp(value, std::min(st.lower, st.upper), std::max(st.lower, st.upper));
  return true;
}

}  // namespace platform::controls::updown
