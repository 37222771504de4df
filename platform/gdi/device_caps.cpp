// Device capabilities and display settings, from the screen-size provider.
#include <atomic>
#include <cstring>

#include "platform/gdi/dc.h"
#include "platform/gdi/handle_table.h"
#include "platform/gdi/screen_info.h"

namespace platform::gdi {
namespace {

std::atomic<long long>& packed_size() {
  static std::atomic<long long> size{(1280LL << 32) | 800};
  return size;
}

std::atomic<int>& scale_quarters_now() {
  static std::atomic<int> q{4};
  return q;
}

}  // namespace

void set_screen_scale(int quarters) {
  if (quarters >= 4 && quarters <= 16) scale_quarters_now() = quarters;
}

int screen_scale() {
  return scale_quarters_now().load();
}

void set_screen_size(int width, int height) {
  if (width < 1 || height < 1) return;
  packed_size() = (static_cast<long long>(width) << 32) | static_cast<unsigned>(height);
}

SIZE screen_size() {
  const long long v = packed_size().load();
  return SIZE{static_cast<LONG>(v >> 32), static_cast<LONG>(v & 0xFFFFFFFF)};
}

}  // namespace platform::gdi

using namespace platform::gdi;

extern "C" {

int WINAPI GetDeviceCaps(HDC hdc, int index) {
  auto dc = find<Dc>(hdc);
  if (!dc) return 0;
  const SIZE screen = screen_size();
  const bool mono = dc->mono();
  switch (index) {
    case TECHNOLOGY:
      return DT_RASDISPLAY;
    case HORZRES:
    case DESKTOPHORZRES:
      return screen.cx;
    case VERTRES:
    case DESKTOPVERTRES:
      return screen.cy;
    case HORZSIZE:
      return screen.cx * 254 / 960;  // millimetres at 96 dpi
    case VERTSIZE:
      return screen.cy * 254 / 960;
    case BITSPIXEL:
      return mono ? 1 : 32;
    case PLANES:
      return 1;
    case NUMCOLORS:
      return mono ? 2 : -1;
    case LOGPIXELSX:
    case LOGPIXELSY:
      return 96;
    case RASTERCAPS:
      return RC_BITBLT | RC_STRETCHBLT | RC_DI_BITMAP;
    case SIZEPALETTE:
      return 0;
    case VREFRESH:
      return 60;
    default:
      return 0;
  }
}

BOOL WINAPI EnumDisplaySettingsA(LPCSTR, DWORD iModeNum, DEVMODEA* lpDevMode) {
  if (!lpDevMode) return FALSE;
  // One mode: the current one.
  if (iModeNum != ENUM_CURRENT_SETTINGS && iModeNum != ENUM_REGISTRY_SETTINGS && iModeNum != 0) return FALSE;
  const SIZE screen = screen_size();
  const WORD extra = lpDevMode->dmDriverExtra;
  std::memset(lpDevMode, 0, sizeof(DEVMODEA));
  lpDevMode->dmDriverExtra = extra;
  std::memcpy(lpDevMode->dmDeviceName, "DISPLAY", 8);
  lpDevMode->dmSize = sizeof(DEVMODEA);
  lpDevMode->dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT | DM_DISPLAYFREQUENCY;
  lpDevMode->dmBitsPerPel = 32;
  lpDevMode->dmPelsWidth = static_cast<DWORD>(screen.cx);
  lpDevMode->dmPelsHeight = static_cast<DWORD>(screen.cy);
  lpDevMode->dmDisplayFrequency = 60;
  lpDevMode->dmLogPixels = 96;
  return TRUE;
}

}  // extern "C"
