// Window scroll bars: the standard scroll bars of a window with WS_VSCROLL / WS_HSCROLL, drawn
// in its non-client area.
//
// Contract:
// - `nBar` is SB_VERT or SB_HORZ (SB_BOTH where documented); SB_CTL (scroll-bar controls) is not
//   supported and fails. An invalid window handle fails (0 / FALSE) and changes nothing.
// - SetScrollInfo clamps nPos into [nMin, nMax - max(nPage - 1, 0)] and returns the new position.
//   Unless SIF_DISABLENOSCROLL is given, a bar whose page covers the whole range is hidden and
//   one that does not is shown (the window's WS_VSCROLL / WS_HSCROLL bit follows, and the
//   frame is recalculated).
// - The bars work only for windows whose procedure routes its messages through
//   platform::controls::scrollbar::handle_message (platform/controls/scrollbar_nc.h); they then
//   scroll nothing themselves: arrows, page clicks and thumb drags reach the window as
//   WM_VSCROLL / WM_HSCROLL with SB_LINEUP ... SB_ENDSCROLL, and the window moves its content
//   and calls SetScrollInfo.
#pragma once

#include "platform/api/messages.h"
#include "platform/api/types.h"

inline constexpr int SB_HORZ = 0;
inline constexpr int SB_VERT = 1;
inline constexpr int SB_CTL = 2;
inline constexpr int SB_BOTH = 3;

inline constexpr int SB_LINEUP = 0;
inline constexpr int SB_LINELEFT = 0;
inline constexpr int SB_LINEDOWN = 1;
inline constexpr int SB_LINERIGHT = 1;
inline constexpr int SB_PAGEUP = 2;
inline constexpr int SB_PAGELEFT = 2;
inline constexpr int SB_PAGEDOWN = 3;
inline constexpr int SB_PAGERIGHT = 3;
inline constexpr int SB_THUMBPOSITION = 4;
inline constexpr int SB_THUMBTRACK = 5;
inline constexpr int SB_TOP = 6;
inline constexpr int SB_LEFT = 6;
inline constexpr int SB_BOTTOM = 7;
inline constexpr int SB_RIGHT = 7;
inline constexpr int SB_ENDSCROLL = 8;

inline constexpr UINT SIF_RANGE = 0x0001;
inline constexpr UINT SIF_PAGE = 0x0002;
inline constexpr UINT SIF_POS = 0x0004;
inline constexpr UINT SIF_DISABLENOSCROLL = 0x0008;
inline constexpr UINT SIF_TRACKPOS = 0x0010;
inline constexpr UINT SIF_ALL = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS;

inline constexpr UINT ESB_ENABLE_BOTH = 0x0000;
inline constexpr UINT ESB_DISABLE_BOTH = 0x0003;

struct SCROLLINFO {
  UINT cbSize;
  UINT fMask;
  int nMin;
  int nMax;
  UINT nPage;
  int nPos;
  int nTrackPos;
};
using LPSCROLLINFO = SCROLLINFO*;
using LPCSCROLLINFO = const SCROLLINFO*;

extern "C" {
int SetScrollInfo(HWND hwnd, int nBar, LPCSCROLLINFO lpsi, BOOL redraw);
BOOL GetScrollInfo(HWND hwnd, int nBar, LPSCROLLINFO lpsi);
int SetScrollPos(HWND hwnd, int nBar, int nPos, BOOL redraw);  // returns the previous position
int GetScrollPos(HWND hwnd, int nBar);
BOOL SetScrollRange(HWND hwnd, int nBar, int nMinPos, int nMaxPos, BOOL redraw);
BOOL GetScrollRange(HWND hwnd, int nBar, int* lpMinPos, int* lpMaxPos);
BOOL ShowScrollBar(HWND hwnd, int wBar, BOOL bShow);
BOOL EnableScrollBar(HWND hwnd, UINT wSBflags, UINT wArrows);
}
