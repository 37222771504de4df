// System metrics: fixed classic values at 96 dpi, so that window and client sizes are the same
// under every display backend; only the screen size comes from the backend.
//   borders: thin 1, edge 2, dialog frame 3, sizing frame 4
//   caption 19 (18 + a 1-pixel separator), small caption 15, menu bar 19
//   scroll bars 16, caption buttons 18 (small 12 x 14)
//   icons 32 (small 16), cursors 32, double-click box 4, drag box 4
//   minimum tracking size 112 x 27, minimised window 160 x 24
#include <cstring>

#include "platform/winsys/window_internal.h"

namespace {

void caption_font(LOGFONTA* lf, bool bold) {
  std::memset(lf, 0, sizeof *lf);
  lf->lfHeight = -12;
  lf->lfWeight = bold ? 700 : 400;
  lf->lfCharSet = 134;                              // GB2312_CHARSET
  std::strcpy(lf->lfFaceName, "\xCB\xCE\xCC\xE5");  // the song-style face, in GB18030
}

}  // namespace

using namespace platform::winsys;

extern "C" {

int GetSystemMetrics(int index) {
  switch (index) {
    case SM_CXSCREEN:
    case SM_CXFULLSCREEN:
    case SM_CXVIRTUALSCREEN:
      return screen_size().cx;
    case SM_CYSCREEN:
    case SM_CYVIRTUALSCREEN:
      return screen_size().cy;
    case SM_CYFULLSCREEN:
      return screen_size().cy - 19;
    case SM_CXVSCROLL:
    case SM_CYHSCROLL:
    case SM_CYVSCROLL:
    case SM_CXHSCROLL:
    case SM_CYVTHUMB:
    case SM_CXHTHUMB:
      return 16;
    case SM_CYCAPTION:
      return 19;
    case SM_CXBORDER:
    case SM_CYBORDER:
      return 1;
    case SM_CXDLGFRAME:
    case SM_CYDLGFRAME:
      return 3;
    case SM_CXICON:
    case SM_CYICON:
    case SM_CXCURSOR:
    case SM_CYCURSOR:
      return 32;
    case SM_CYMENU:
      return 19;
    case SM_CXMIN:
    case SM_CXMINTRACK:
      return 112;
    case SM_CYMIN:
    case SM_CYMINTRACK:
      return 27;
    case SM_CXSIZE:
    case SM_CYSIZE:
    case SM_CXMENUSIZE:
    case SM_CYMENUSIZE:
      return 18;
    case SM_CXFRAME:
    case SM_CYFRAME:
      return 4;
    case SM_CXDOUBLECLK:
    case SM_CYDOUBLECLK:
    case SM_CXDRAG:
    case SM_CYDRAG:
      return 4;
    case SM_CXICONSPACING:
    case SM_CYICONSPACING:
      return 75;
    case SM_CXEDGE:
    case SM_CYEDGE:
      return 2;
    case SM_CXSMICON:
    case SM_CYSMICON:
      return 16;
    case SM_CYSMCAPTION:
      return 15;
    case SM_CXSMSIZE:
      return 12;
    case SM_CYSMSIZE:
      return 14;
    case SM_CXMINIMIZED:
      return 160;
    case SM_CYMINIMIZED:
      return 24;
    case SM_CXMAXTRACK:
      return screen_size().cx + 12;
    case SM_CYMAXTRACK:
      return screen_size().cy + 12;
    case SM_CXMAXIMIZED:
      return screen_size().cx + 8;
    case SM_CYMAXIMIZED:
      return screen_size().cy + 8;
    case SM_CXMENUCHECK:
    case SM_CYMENUCHECK:
      return 13;
    case SM_CMOUSEBUTTONS:
      return 3;
    case SM_SWAPBUTTON:
      return 0;
    case SM_CMONITORS:
      return 1;
    default:
      return 0;
  }
}

BOOL SystemParametersInfoA(UINT action, UINT, LPVOID data, UINT) {
  switch (action) {
    case SPI_GETWORKAREA: {
      if (!data) return FALSE;
      SIZE s = screen_size();
      *static_cast<RECT*>(data) = RECT{0, 0, s.cx, s.cy};
      return TRUE;
    }
    case SPI_GETNONCLIENTMETRICS: {
      auto* m = static_cast<NONCLIENTMETRICSA*>(data);
      if (!m || m->cbSize < sizeof(NONCLIENTMETRICSA) - sizeof(int)) return FALSE;
      UINT size = m->cbSize;
      std::memset(m, 0, size);
      m->cbSize = size;
      m->iBorderWidth = 1;
      m->iScrollWidth = m->iScrollHeight = 16;
      m->iCaptionWidth = m->iCaptionHeight = 18;
      caption_font(&m->lfCaptionFont, true);
      m->iSmCaptionWidth = 12;
      m->iSmCaptionHeight = 14;
      caption_font(&m->lfSmCaptionFont, false);
      m->iMenuWidth = m->iMenuHeight = 18;
      caption_font(&m->lfMenuFont, false);
      caption_font(&m->lfStatusFont, false);
      caption_font(&m->lfMessageFont, false);
      return TRUE;
    }
    case SPI_GETICONTITLELOGFONT:
      if (!data) return FALSE;
      caption_font(static_cast<LOGFONTA*>(data), false);
      return TRUE;
  }
  return FALSE;
}

UINT GetDoubleClickTime() {
  return 500;
}

// There is no sound device; a beep is accepted and silent.
BOOL MessageBeep(UINT) {
  return TRUE;
}

}  // extern "C"
