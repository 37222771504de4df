#include "tests/support/window_class.h"

namespace test_support {

const char* test_window_class(const char* name, WNDPROC proc, const ClassLook& look) {
  WNDCLASSA existing{};
  if (GetClassInfoA(nullptr, name, &existing)) return name;
  WNDCLASSA wc{};
  wc.style = look.style;
  wc.lpfnWndProc = proc;
  wc.lpszClassName = name;
  wc.hCursor = look.arrow_cursor ? LoadCursorA(nullptr, IDC_ARROW) : nullptr;
  wc.hbrBackground = look.background;
  return RegisterClassA(&wc) != 0 ? name : nullptr;
}

}  // namespace test_support
