#include "ui/units/window_class.h"

#include "platform/api/gdi.h"
#include "platform/api/input.h"
#include "platform/api/kernel.h"
#include "platform/api/user.h"

namespace ui {

bool ensure_unit_class(const char* name) {
  if (name == nullptr || *name == '\0') return false;
  HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSA existing{};
  if (GetClassInfoA(instance, name, &existing)) return true;
  WNDCLASSA wc{};
  wc.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
  wc.lpszClassName = name;
  return RegisterClassA(&wc) != 0;
}

}  // namespace ui
