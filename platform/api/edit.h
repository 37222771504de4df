// The edit control ("EDIT") and the up-down control ("msctls_updown32").
//
// Contract, EDIT:
// - The text lives in the control, as GB18030 bytes. Positions and lengths count bytes, but
//   every position the control keeps or reports lies on a character boundary: a position that
//   falls inside a double- or four-byte character is moved back to that character's start.
// - Typed characters arrive as WM_CHAR bytes, lead byte first; the control assembles them into
//   whole characters before inserting. Nothing ever inserts or removes half a character.
// - Multi-line text breaks lines at "\r\n" (also at a lone "\n" or "\r"); a box without
//   ES_AUTOHSCROLL and WS_HSCROLL wraps long lines at spaces or between double-byte characters.
// - The parent hears WM_COMMAND (id, EN_*) notifications: EN_UPDATE then EN_CHANGE once for
//   every change of the text, WM_SETTEXT included; none for selection changes.
// - The text limit (EM_LIMITTEXT) applies to typing, pasting and EM_REPLACESEL, never to
//   WM_SETTEXT. The default is 30000 bytes; 0 means the largest possible limit.
// - Bad arguments (a null buffer, a line or position out of range) get the documented failure
//   answer (0, -1 or FALSE) and change nothing.
//
// Contract, msctls_updown32:
// - The position stays within the range given by the two limits in either order; "up" (or
//   right, with UDS_HORZ) moves toward the upper limit as given, so a reversed range counts
//   down. The default range is upper 0, lower 100.
// - Every user step is first offered to the parent as UDN_DELTAPOS (WM_NOTIFY, NMUPDOWN); a
//   nonzero answer cancels it. A taken step sets the buddy's text (UDS_SETBUDDYINT) and sends
//   WM_VSCROLL (WM_HSCROLL with UDS_HORZ) with SB_THUMBPOSITION and the new position to the
//   parent; releasing the button sends SB_ENDSCROLL.
#pragma once

#include "platform/api/listview.h"
#include "platform/api/messages.h"
#include "platform/api/types.h"

// ---- EDIT ----------------------------------------------------------------------------------

inline constexpr char WC_EDITA[] = "EDIT";

inline constexpr DWORD ES_LEFT = 0x0000;
inline constexpr DWORD ES_CENTER = 0x0001;
inline constexpr DWORD ES_RIGHT = 0x0002;
inline constexpr DWORD ES_MULTILINE = 0x0004;
inline constexpr DWORD ES_UPPERCASE = 0x0008;
inline constexpr DWORD ES_LOWERCASE = 0x0010;
inline constexpr DWORD ES_PASSWORD = 0x0020;
inline constexpr DWORD ES_AUTOVSCROLL = 0x0040;
inline constexpr DWORD ES_AUTOHSCROLL = 0x0080;
inline constexpr DWORD ES_NOHIDESEL = 0x0100;
inline constexpr DWORD ES_OEMCONVERT = 0x0400;
inline constexpr DWORD ES_READONLY = 0x0800;
inline constexpr DWORD ES_WANTRETURN = 0x1000;
inline constexpr DWORD ES_NUMBER = 0x2000;

inline constexpr UINT EM_GETSEL = 0x00B0;      // wp, lp: DWORD* start / end (may be null) -> MAKELONG
inline constexpr UINT EM_SETSEL = 0x00B1;      // wp anchor, lp caret; (0,-1) all, (-1,x) deselect
inline constexpr UINT EM_GETRECT = 0x00B2;     // lp: RECT* formatting rectangle
inline constexpr UINT EM_SETRECT = 0x00B3;     // lp: RECT* (null: back to the default)
inline constexpr UINT EM_SETRECTNP = 0x00B4;   // as EM_SETRECT without repainting
inline constexpr UINT EM_SCROLL = 0x00B5;      // wp: SB_LINEUP... -> MAKELONG(lines, TRUE)
inline constexpr UINT EM_LINESCROLL = 0x00B6;  // wp: characters right, lp: lines down
inline constexpr UINT EM_SCROLLCARET = 0x00B7;
inline constexpr UINT EM_GETMODIFY = 0x00B8;
inline constexpr UINT EM_SETMODIFY = 0x00B9;
inline constexpr UINT EM_GETLINECOUNT = 0x00BA;
inline constexpr UINT EM_LINEINDEX = 0x00BB;  // wp: line (-1 caret line) -> first char or -1
inline constexpr UINT EM_GETTHUMB = 0x00BE;
inline constexpr UINT EM_LINELENGTH = 0x00C1;  // wp: a char index of the line
inline constexpr UINT EM_REPLACESEL = 0x00C2;  // wp: can undo, lp: text
inline constexpr UINT EM_GETLINE = 0x00C4;     // wp: line, lp: buffer, first WORD its size
inline constexpr UINT EM_LIMITTEXT = 0x00C5;
inline constexpr UINT EM_SETLIMITTEXT = EM_LIMITTEXT;
inline constexpr UINT EM_CANUNDO = 0x00C6;
inline constexpr UINT EM_UNDO = 0x00C7;
inline constexpr UINT EM_LINEFROMCHAR = 0x00C9;  // wp: char index (-1 caret) -> line
inline constexpr UINT EM_SETTABSTOPS = 0x00CB;
inline constexpr UINT EM_SETPASSWORDCHAR = 0x00CC;
inline constexpr UINT EM_EMPTYUNDOBUFFER = 0x00CD;
inline constexpr UINT EM_GETFIRSTVISIBLELINE = 0x00CE;
inline constexpr UINT EM_SETREADONLY = 0x00CF;
inline constexpr UINT EM_GETPASSWORDCHAR = 0x00D2;
inline constexpr UINT EM_SETMARGINS = 0x00D3;  // wp: EC_* flags, lp: MAKELONG(left, right)
inline constexpr UINT EM_GETMARGINS = 0x00D4;
inline constexpr UINT EM_GETLIMITTEXT = 0x00D5;
inline constexpr UINT EM_POSFROMCHAR = 0x00D6;  // wp: char index -> MAKELONG(x, y) or -1
inline constexpr UINT EM_CHARFROMPOS = 0x00D7;  // lp: MAKELONG(x, y) -> MAKELONG(char, line)

inline constexpr WPARAM EC_LEFTMARGIN = 0x0001;
inline constexpr WPARAM EC_RIGHTMARGIN = 0x0002;
inline constexpr WPARAM EC_USEFONTINFO = 0xFFFF;

inline constexpr WORD EN_SETFOCUS = 0x0100;
inline constexpr WORD EN_KILLFOCUS = 0x0200;
inline constexpr WORD EN_CHANGE = 0x0300;
inline constexpr WORD EN_UPDATE = 0x0400;
inline constexpr WORD EN_ERRSPACE = 0x0500;
inline constexpr WORD EN_MAXTEXT = 0x0501;
inline constexpr WORD EN_HSCROLL = 0x0601;
inline constexpr WORD EN_VSCROLL = 0x0602;

// ---- msctls_updown32 -----------------------------------------------------------------------

inline constexpr char UPDOWN_CLASSA[] = "msctls_updown32";

inline constexpr DWORD UDS_WRAP = 0x0001;
inline constexpr DWORD UDS_SETBUDDYINT = 0x0002;
inline constexpr DWORD UDS_ALIGNRIGHT = 0x0004;
inline constexpr DWORD UDS_ALIGNLEFT = 0x0008;
inline constexpr DWORD UDS_AUTOBUDDY = 0x0010;
inline constexpr DWORD UDS_ARROWKEYS = 0x0020;
inline constexpr DWORD UDS_HORZ = 0x0040;
inline constexpr DWORD UDS_NOTHOUSANDS = 0x0080;
inline constexpr DWORD UDS_HOTTRACK = 0x0100;

inline constexpr int UD_MAXVAL = 0x7FFF;
inline constexpr int UD_MINVAL = -UD_MAXVAL;

inline constexpr UINT UDM_SETRANGE = WM_USER + 101;  // lp: MAKELONG(upper, lower)
inline constexpr UINT UDM_GETRANGE = WM_USER + 102;  // -> MAKELONG(upper, lower)
inline constexpr UINT UDM_SETPOS = WM_USER + 103;    // lp: LOWORD position -> previous
inline constexpr UINT UDM_GETPOS = WM_USER + 104;    // -> LOWORD position, HIWORD error
inline constexpr UINT UDM_SETBUDDY = WM_USER + 105;  // wp: buddy -> previous buddy
inline constexpr UINT UDM_GETBUDDY = WM_USER + 106;
inline constexpr UINT UDM_SETACCEL = WM_USER + 107;  // wp: count, lp: UDACCEL*
inline constexpr UINT UDM_GETACCEL = WM_USER + 108;  // wp: room, lp: UDACCEL* -> count
inline constexpr UINT UDM_SETBASE = WM_USER + 109;   // wp: 10 or 16 -> previous (0 refused)
inline constexpr UINT UDM_GETBASE = WM_USER + 110;
inline constexpr UINT UDM_SETRANGE32 = WM_USER + 111;  // wp: lower, lp: upper
inline constexpr UINT UDM_GETRANGE32 = WM_USER + 112;  // wp: int* lower, lp: int* upper
inline constexpr UINT UDM_SETPOS32 = WM_USER + 113;    // lp: position -> previous
inline constexpr UINT UDM_GETPOS32 = WM_USER + 114;    // lp: BOOL* error (may be null)

inline constexpr UINT UDN_FIRST = 0U - 721;
inline constexpr UINT UDN_DELTAPOS = UDN_FIRST - 1;

struct UDACCEL {
  UINT nSec;  // seconds held before this step applies
  UINT nInc;  // step size
};
using LPUDACCEL = UDACCEL*;

struct NMUPDOWN {
  NMHDR hdr;
  int iPos;    // position before the step
  int iDelta;  // proposed change
};
using LPNMUPDOWN = NMUPDOWN*;
