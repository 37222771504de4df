// The platform's standard controls, one section per control class. Each control is a window
// class registered for every thread ("BUTTON", ...); programs create them with CreateWindowExA
// and talk to them with messages. A message sent to a window that is not a live control is
// answered like any other message by DefWindowProcA; a control ignores parameters it does not
// understand (an unknown check state, an unknown image type) and answers 0.
#pragma once

#include "platform/api/messages.h"
#include "platform/api/types.h"

// ---------------------------------------------------------------------------------------------
// Owner drawing: shared by buttons and menus. The owner receives WM_DRAWITEM with a
// DRAWITEMSTRUCT (wParam is the control id, 0 for menus) and must draw inside rcItem on hDC.

struct DRAWITEMSTRUCT {
  UINT CtlType;
  UINT CtlID;
  UINT itemID;
  UINT itemAction;
  UINT itemState;
  HWND hwndItem;
  HDC hDC;
  RECT rcItem;
  ULONG_PTR itemData;
};
using LPDRAWITEMSTRUCT = DRAWITEMSTRUCT*;

struct MEASUREITEMSTRUCT {
  UINT CtlType;
  UINT CtlID;
  UINT itemID;
  UINT itemWidth;
  UINT itemHeight;
  ULONG_PTR itemData;
};
using LPMEASUREITEMSTRUCT = MEASUREITEMSTRUCT*;

inline constexpr UINT ODT_MENU = 1;
inline constexpr UINT ODT_LISTBOX = 2;
inline constexpr UINT ODT_COMBOBOX = 3;
inline constexpr UINT ODT_BUTTON = 4;
inline constexpr UINT ODT_STATIC = 5;

inline constexpr UINT ODA_DRAWENTIRE = 0x0001;
inline constexpr UINT ODA_SELECT = 0x0002;
inline constexpr UINT ODA_FOCUS = 0x0004;

inline constexpr UINT ODS_SELECTED = 0x0001;
inline constexpr UINT ODS_GRAYED = 0x0002;
inline constexpr UINT ODS_DISABLED = 0x0004;
inline constexpr UINT ODS_CHECKED = 0x0008;
inline constexpr UINT ODS_FOCUS = 0x0010;
inline constexpr UINT ODS_DEFAULT = 0x0020;
inline constexpr UINT ODS_HOTLIGHT = 0x0040;
inline constexpr UINT ODS_INACTIVE = 0x0080;
inline constexpr UINT ODS_NOACCEL = 0x0100;
inline constexpr UINT ODS_NOFOCUSRECT = 0x0200;

// ---------------------------------------------------------------------------------------------
// BUTTON: push buttons, check boxes, radio buttons, three-state boxes, group boxes and
// owner-drawn buttons.
//
// Contract:
// - The kind is the low four bits of the style (BS_TYPEMASK); BM_SETSTYLE changes it later.
// - A click (mouse released inside after pressing inside, Space released, BM_CLICK) on an
//   enabled button sends WM_COMMAND (id, BN_CLICKED) to the parent. Auto kinds change their
//   own check state first: auto check boxes toggle, auto three-state boxes cycle unchecked ->
//   checked -> indeterminate, auto radio buttons check themselves and uncheck the other radio
//   buttons of their group (siblings between WS_GROUP marks).
// - State changes go through the button's own messages (BM_SETSTATE, BM_SETCHECK), so a
//   subclassing procedure sees every change.
// - Colours come from the parent: WM_CTLCOLORBTN for push and owner-drawn buttons,
//   WM_CTLCOLORSTATIC for check boxes, radio buttons and group boxes; the returned brush fills
//   the background and the text colour and background mode set on the DC are used for the text.
// - Owner-drawn buttons (BS_OWNERDRAW) send WM_DRAWITEM (ODT_BUTTON) to the parent instead of
//   painting themselves.
// - Group boxes answer WM_NCHITTEST with HTTRANSPARENT: clicks fall through to what lies below.
// - BM_SETCHECK with a state the kind cannot hold is clamped (indeterminate on a two-state box
//   means checked); on push buttons and group boxes it is ignored.

inline constexpr DWORD BS_PUSHBUTTON = 0x00000000;
inline constexpr DWORD BS_DEFPUSHBUTTON = 0x00000001;
inline constexpr DWORD BS_CHECKBOX = 0x00000002;
inline constexpr DWORD BS_AUTOCHECKBOX = 0x00000003;
inline constexpr DWORD BS_RADIOBUTTON = 0x00000004;
inline constexpr DWORD BS_3STATE = 0x00000005;
inline constexpr DWORD BS_AUTO3STATE = 0x00000006;
inline constexpr DWORD BS_GROUPBOX = 0x00000007;
inline constexpr DWORD BS_USERBUTTON = 0x00000008;
inline constexpr DWORD BS_AUTORADIOBUTTON = 0x00000009;
inline constexpr DWORD BS_PUSHBOX = 0x0000000A;
inline constexpr DWORD BS_OWNERDRAW = 0x0000000B;
inline constexpr DWORD BS_TYPEMASK = 0x0000000F;
inline constexpr DWORD BS_LEFTTEXT = 0x00000020;
inline constexpr DWORD BS_RIGHTBUTTON = BS_LEFTTEXT;
inline constexpr DWORD BS_TEXT = 0x00000000;
inline constexpr DWORD BS_ICON = 0x00000040;
inline constexpr DWORD BS_BITMAP = 0x00000080;
inline constexpr DWORD BS_LEFT = 0x00000100;
inline constexpr DWORD BS_RIGHT = 0x00000200;
inline constexpr DWORD BS_CENTER = 0x00000300;
inline constexpr DWORD BS_TOP = 0x00000400;
inline constexpr DWORD BS_BOTTOM = 0x00000800;
inline constexpr DWORD BS_VCENTER = 0x00000C00;
inline constexpr DWORD BS_PUSHLIKE = 0x00001000;
inline constexpr DWORD BS_MULTILINE = 0x00002000;
inline constexpr DWORD BS_NOTIFY = 0x00004000;
inline constexpr DWORD BS_FLAT = 0x00008000;

inline constexpr UINT BM_GETCHECK = 0x00F0;
inline constexpr UINT BM_SETCHECK = 0x00F1;  // wParam: BST_* check state
inline constexpr UINT BM_GETSTATE = 0x00F2;  // -> check state | BST_PUSHED | BST_FOCUS
inline constexpr UINT BM_SETSTATE = 0x00F3;  // wParam: TRUE pressed look, FALSE normal
inline constexpr UINT BM_SETSTYLE = 0x00F4;  // wParam: new BS_* style, lParam: TRUE to repaint
inline constexpr UINT BM_CLICK = 0x00F5;
inline constexpr UINT BM_GETIMAGE = 0x00F6;  // wParam: IMAGE_* -> the image or null
inline constexpr UINT BM_SETIMAGE = 0x00F7;  // wParam: IMAGE_*, lParam: handle -> previous

inline constexpr WPARAM BST_UNCHECKED = 0x0000;
inline constexpr WPARAM BST_CHECKED = 0x0001;
inline constexpr WPARAM BST_INDETERMINATE = 0x0002;
inline constexpr WPARAM BST_PUSHED = 0x0004;
inline constexpr WPARAM BST_FOCUS = 0x0008;

// Notification codes, in the high word of WM_COMMAND's wParam. BN_DOUBLECLICKED, BN_SETFOCUS
// and BN_KILLFOCUS are sent only by buttons with BS_NOTIFY (radio and owner-drawn buttons
// always report double clicks).
inline constexpr WORD BN_CLICKED = 0;
inline constexpr WORD BN_PAINT = 1;
inline constexpr WORD BN_HILITE = 2;
inline constexpr WORD BN_UNHILITE = 3;
inline constexpr WORD BN_DISABLE = 4;
inline constexpr WORD BN_DOUBLECLICKED = 5;
inline constexpr WORD BN_PUSHED = BN_HILITE;
inline constexpr WORD BN_UNPUSHED = BN_UNHILITE;
inline constexpr WORD BN_DBLCLK = BN_DOUBLECLICKED;
inline constexpr WORD BN_SETFOCUS = 6;
inline constexpr WORD BN_KILLFOCUS = 7;

// Helpers over a dialog's (any parent's) buttons by control id. They answer FALSE / 0 when the
// parent or the id does not name a live window.
extern "C" {
BOOL CheckDlgButton(HWND parent, int id, UINT check);
UINT IsDlgButtonChecked(HWND parent, int id);
// Checks `check` and unchecks every other id from `first` to `last`.
BOOL CheckRadioButton(HWND parent, int first, int last, int check);
}
