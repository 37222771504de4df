// Message boxes.
//
// MessageBoxA(owner, text, caption, type) shows a modal box with an icon, the text and a row of
// buttons, and returns the id of the chosen button (IDOK ... IDCONTINUE).
// - owner: null or a live window; an invalid handle counts as null. The box is centred over
//   the owner (else over the screen) and the owner is activated again when the box ends.
// - text: ANSI (GB18030) text; null means the empty text. "\r\n" and "\n" start new lines;
//   long lines wrap at 5/8 of the screen width. "&" is shown as is.
// - caption: null means "错误".
// - type: one button set (MB_OK ... MB_CANCELTRYCONTINUE), one icon (MB_ICONHAND,
//   MB_ICONQUESTION, MB_ICONEXCLAMATION, MB_ICONASTERISK), the default button (MB_DEFBUTTONn;
//   one past the last button means the first) and the modality. An unknown button set
//   returns 0 at once without showing anything.
// - Modality: MB_APPLMODAL disables the owner's top-level window; MB_TASKMODAL and
//   MB_SYSTEMMODAL disable every other enabled top-level window of the calling thread. Windows
//   are re-enabled in the order they were disabled; windows that were disabled already stay so.
//   Only windows of the calling thread are disabled.
// - Keys: Enter chooses the focused button; Esc and the close box choose IDCANCEL when the set
//   has a Cancel button, IDOK for MB_OK, and do nothing otherwise; Tab, Shift+Tab and the arrow
//   keys move the focus between the buttons; a button's underlined letter chooses it.
// - The box runs a nested message loop on the calling thread (any thread: the box belongs to
//   it), so sent messages and other windows' posted messages keep being served. A WM_QUIT that
//   arrives meanwhile ends the box with 0 and is posted again for the outer loop.
// - On the headless display, and whenever LYRICS_MESSAGEBOX is set, every box writes to
//   standard error, in UTF-8:
//       [MessageBox] <caption>\n
//       <text>\n
//   with every line break of the text ("\r\n", "\r" or "\n") written as "\n".
// - LYRICS_MESSAGEBOX=default answers every box at once with its default button, without
//   showing a window (for unattended runs).
#pragma once

#include "platform/api/messages.h"
#include "platform/api/types.h"
#include "platform/api/user.h"

inline constexpr UINT MB_OK = 0x00000000;
inline constexpr UINT MB_OKCANCEL = 0x00000001;
inline constexpr UINT MB_ABORTRETRYIGNORE = 0x00000002;
inline constexpr UINT MB_YESNOCANCEL = 0x00000003;
inline constexpr UINT MB_YESNO = 0x00000004;
inline constexpr UINT MB_RETRYCANCEL = 0x00000005;
inline constexpr UINT MB_CANCELTRYCONTINUE = 0x00000006;
inline constexpr UINT MB_TYPEMASK = 0x0000000F;

inline constexpr UINT MB_ICONHAND = 0x00000010;
inline constexpr UINT MB_ICONQUESTION = 0x00000020;
inline constexpr UINT MB_ICONEXCLAMATION = 0x00000030;
inline constexpr UINT MB_ICONASTERISK = 0x00000040;
inline constexpr UINT MB_USERICON = 0x00000080;
inline constexpr UINT MB_ICONWARNING = MB_ICONEXCLAMATION;
inline constexpr UINT MB_ICONERROR = MB_ICONHAND;
inline constexpr UINT MB_ICONINFORMATION = MB_ICONASTERISK;
inline constexpr UINT MB_ICONSTOP = MB_ICONHAND;
inline constexpr UINT MB_ICONMASK = 0x000000F0;

inline constexpr UINT MB_DEFBUTTON1 = 0x00000000;
inline constexpr UINT MB_DEFBUTTON2 = 0x00000100;
inline constexpr UINT MB_DEFBUTTON3 = 0x00000200;
inline constexpr UINT MB_DEFBUTTON4 = 0x00000300;
inline constexpr UINT MB_DEFMASK = 0x00000F00;

inline constexpr UINT MB_APPLMODAL = 0x00000000;
inline constexpr UINT MB_SYSTEMMODAL = 0x00001000;
inline constexpr UINT MB_TASKMODAL = 0x00002000;
inline constexpr UINT MB_MODEMASK = 0x00003000;

inline constexpr UINT MB_HELP = 0x00004000;
inline constexpr UINT MB_NOFOCUS = 0x00008000;
inline constexpr UINT MB_MISCMASK = 0x0000C000;
inline constexpr UINT MB_SETFOREGROUND = 0x00010000;
inline constexpr UINT MB_DEFAULT_DESKTOP_ONLY = 0x00020000;
inline constexpr UINT MB_TOPMOST = 0x00040000;
inline constexpr UINT MB_RIGHT = 0x00080000;
inline constexpr UINT MB_RTLREADING = 0x00100000;
inline constexpr UINT MB_SERVICE_NOTIFICATION = 0x00200000;

// IDOK (1) ... IDNO (7) come with the window system's dialog navigation (platform/api/user.h).
inline constexpr int IDCLOSE = 8;
inline constexpr int IDHELP = 9;
inline constexpr int IDTRYAGAIN = 10;
inline constexpr int IDCONTINUE = 11;

extern "C" {
int MessageBoxA(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType);
// The language is ignored: captions are always the platform's own.
int MessageBoxExA(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType, WORD wLanguageId);
}
