// Stock objects, system colours and their brushes. The palette is the classic grey one
// (button face RGB(212, 208, 200)), kept in one table.
#include "platform/gdi/stock.h"

#include <array>
#include <cstring>
#include <mutex>

#include "platform/gdi/handle_table.h"

namespace platform::gdi {
namespace {

constexpr int kSysColorCount = 31;

constexpr std::array<COLORREF, kSysColorCount> kSysColors = {
    RGB(212, 208, 200),  // COLOR_SCROLLBAR
    RGB(58, 110, 165),   // COLOR_BACKGROUND
    RGB(10, 36, 106),    // COLOR_ACTIVECAPTION
    RGB(128, 128, 128),  // COLOR_INACTIVECAPTION
    RGB(212, 208, 200),  // COLOR_MENU
    RGB(255, 255, 255),  // COLOR_WINDOW
    RGB(0, 0, 0),        // COLOR_WINDOWFRAME
    RGB(0, 0, 0),        // COLOR_MENUTEXT
    RGB(0, 0, 0),        // COLOR_WINDOWTEXT
    RGB(255, 255, 255),  // COLOR_CAPTIONTEXT
    RGB(212, 208, 200),  // COLOR_ACTIVEBORDER
    RGB(212, 208, 200),  // COLOR_INACTIVEBORDER
    RGB(128, 128, 128),  // COLOR_APPWORKSPACE
    RGB(10, 36, 106),    // COLOR_HIGHLIGHT
    RGB(255, 255, 255),  // COLOR_HIGHLIGHTTEXT
    RGB(212, 208, 200),  // COLOR_BTNFACE
    RGB(128, 128, 128),  // COLOR_BTNSHADOW
    RGB(128, 128, 128),  // COLOR_GRAYTEXT
    RGB(0, 0, 0),        // COLOR_BTNTEXT
    RGB(212, 208, 200),  // COLOR_INACTIVECAPTIONTEXT
    RGB(255, 255, 255),  // COLOR_BTNHIGHLIGHT
    RGB(64, 64, 64),     // COLOR_3DDKSHADOW
    RGB(212, 208, 200),  // COLOR_3DLIGHT
    RGB(0, 0, 0),        // COLOR_INFOTEXT
    RGB(255, 255, 225),  // COLOR_INFOBK
    RGB(181, 181, 181),  // 25: unused slot
    RGB(0, 0, 128),      // COLOR_HOTLIGHT
    RGB(166, 202, 240),  // COLOR_GRADIENTACTIVECAPTION
    RGB(192, 192, 192),  // COLOR_GRADIENTINACTIVECAPTION
    RGB(10, 36, 106),    // COLOR_MENUHILIGHT
    RGB(212, 208, 200),  // COLOR_MENUBAR
};

LOGFONTA stock_logfont(LONG height, const char* face, BYTE charset) {
  LOGFONTA lf{};
  lf.lfHeight = height;
  lf.lfWeight = FW_NORMAL;
  lf.lfCharSet = charset;
  std::strncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
  return lf;
}

struct StockSet {
  std::array<std::shared_ptr<GdiObject>, 20> objects;
  std::array<std::shared_ptr<Brush>, kSysColorCount> sys_brushes;

  StockSet() {
    auto brush = [](COLORREF c) { return std::make_shared<Brush>(BS_SOLID, c); };
    objects[WHITE_BRUSH] = brush(RGB(255, 255, 255));
    objects[LTGRAY_BRUSH] = brush(RGB(192, 192, 192));
    objects[GRAY_BRUSH] = brush(RGB(128, 128, 128));
    objects[DKGRAY_BRUSH] = brush(RGB(64, 64, 64));
    objects[BLACK_BRUSH] = brush(RGB(0, 0, 0));
    objects[NULL_BRUSH] = std::make_shared<Brush>(BS_NULL, 0);
    objects[WHITE_PEN] = std::make_shared<Pen>(PS_SOLID, 1, RGB(255, 255, 255));
    objects[BLACK_PEN] = std::make_shared<Pen>(PS_SOLID, 1, RGB(0, 0, 0));
    objects[NULL_PEN] = std::make_shared<Pen>(PS_NULL, 1, 0);
    // "宋体" in the ANSI code page: the stock GUI font is the 9-point (12 px) CJK face.
    objects[DEFAULT_GUI_FONT] =
        std::make_shared<Font>(stock_logfont(-12, "\xCB\xCE\xCC\xE5", GB2312_CHARSET));
    objects[SYSTEM_FONT] = std::make_shared<Font>(stock_logfont(16, "System", GB2312_CHARSET));
    objects[DEVICE_DEFAULT_FONT] = objects[SYSTEM_FONT];
    objects[ANSI_VAR_FONT] = std::make_shared<Font>(stock_logfont(12, "MS Sans Serif", ANSI_CHARSET));
    objects[ANSI_FIXED_FONT] = std::make_shared<Font>(stock_logfont(12, "Courier", ANSI_CHARSET));
    objects[OEM_FIXED_FONT] = objects[ANSI_FIXED_FONT];
    objects[SYSTEM_FIXED_FONT] = objects[ANSI_FIXED_FONT];
    for (auto& o : objects)
      if (o && !o->handle) register_object(o, true);
    for (int i = 0; i < kSysColorCount; ++i) {
      sys_brushes[i] = brush(kSysColors[i]);
      register_object(sys_brushes[i], true);
    }
  }
};

StockSet& stock_set() {
  static StockSet s;
  return s;
}

}  // namespace

std::shared_ptr<GdiObject> stock_object(int index) {
  if (index < 0 || index >= 20) return nullptr;
  return stock_set().objects[index];
}

}  // namespace platform::gdi

using namespace platform::gdi;

extern "C" {

HGDIOBJ WINAPI GetStockObject(int i) {
  auto o = stock_object(i);
  return o ? o->handle : nullptr;
}

DWORD WINAPI GetSysColor(int nIndex) {
  if (nIndex < 0 || nIndex >= kSysColorCount) return 0;
  return kSysColors[nIndex];
}

HBRUSH WINAPI GetSysColorBrush(int nIndex) {
  if (nIndex < 0 || nIndex >= kSysColorCount) return nullptr;
  return static_cast<HBRUSH>(stock_set().sys_brushes[nIndex]->handle);
}

}  // extern "C"
