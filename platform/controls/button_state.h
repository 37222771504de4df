// What a BUTTON window remembers between messages, and how its style reads.
#pragma once

#include "platform/api.h"

namespace platform::controls {

enum class ButtonKind { kPush, kCheck, kRadio, kGroup, kOwnerDraw };

struct ButtonStyle {
  ButtonKind kind = ButtonKind::kPush;
  bool is_default = false;   // BS_DEFPUSHBUTTON
  bool automatic = false;    // the button changes its own check state when clicked
  bool three_state = false;  // can hold BST_INDETERMINATE
  bool push_like = false;    // a check or radio box drawn as a push button
};

ButtonStyle read_button_style(DWORD style);

struct ButtonState {
  WPARAM check = BST_UNCHECKED;
  bool pushed = false;       // the pressed look (BST_PUSHED)
  bool focused = false;      // BST_FOCUS
  bool mouse_held = false;   // left button went down inside and is still down
  bool space_held = false;   // Space went down while focused and is still down
  HFONT font = nullptr;      // null: the stock GUI font
  HICON icon = nullptr;      // BM_SETIMAGE IMAGE_ICON
  HBITMAP bitmap = nullptr;  // BM_SETIMAGE IMAGE_BITMAP
};

}  // namespace platform::controls
