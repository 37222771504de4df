// Button helpers addressed by parent and control id.
#include "platform/api.h"

extern "C" BOOL CheckDlgButton(HWND parent, int id, UINT check) {
  HWND button = GetDlgItem(parent, id);
  if (!button) return FALSE;
  SendMessageA(button, BM_SETCHECK, check, 0);
  return TRUE;
}

extern "C" UINT IsDlgButtonChecked(HWND parent, int id) {
  HWND button = GetDlgItem(parent, id);
  return button ? static_cast<UINT>(SendMessageA(button, BM_GETCHECK, 0, 0)) : 0;
}

extern "C" BOOL CheckRadioButton(HWND parent, int first, int last, int check) {
  if (first > last || check < first || check > last) return FALSE;
  bool found = false;
  for (int id = first; id <= last; ++id) {
    HWND button = GetDlgItem(parent, id);
    if (!button) continue;
    found = found || id == check;
    SendMessageA(button, BM_SETCHECK, id == check ? BST_CHECKED : BST_UNCHECKED, 0);
  }
  return found ? TRUE : FALSE;
}
