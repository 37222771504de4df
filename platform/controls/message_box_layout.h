// What a message box shows and where: its button set, the answers to Enter and Esc, and the
// geometry of icon, text and buttons. Pure functions of the box type and measured sizes.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/api.h"

namespace platform::controls {

struct MessageBoxButton {
  int id;                    // IDOK ... IDCONTINUE
  std::string_view caption;  // UTF-8
};

struct ButtonSet {
  std::vector<MessageBoxButton> buttons;
  int escape_answer = 0;  // what Esc and the close box choose; 0: they do nothing
};

// The buttons of MB_OK ... MB_CANCELTRYCONTINUE; empty for an unknown set.
ButtonSet button_set(UINT type);

// Index of the default button: MB_DEFBUTTONn counted from 1; a number past the last button
// means the first.
std::size_t default_button_index(UINT type, std::size_t button_count);

// The icon resource (IDI_*) for the type's icon bits, or null for none.
LPCSTR icon_resource(UINT type);

// The text as it is drawn: "\r\n" and lone "\r" become "\n". Null means empty.
std::string normalise_line_breaks(LPCSTR text);

inline constexpr int kMessageBoxMargin = 12;
inline constexpr int kMessageBoxIconSize = 32;
inline constexpr int kMessageBoxIconGap = 12;
inline constexpr int kMessageBoxButtonWidth = 75;
inline constexpr int kMessageBoxButtonHeight = 23;
inline constexpr int kMessageBoxButtonGap = 6;
inline constexpr int kMessageBoxTextToButtons = 16;
// Room a caption needs besides its text: the close box and the caption's own padding.
inline constexpr int kMessageBoxCaptionExtra = 64;

// Widest text line before wrapping, for a screen `screen_width` pixels wide.
int message_text_max_width(int screen_width, bool has_icon);

struct MessageBoxGeometry {
  SIZE client;
  RECT icon;
  RECT text;
  std::vector<RECT> buttons;
};

// Lays out a box whose text measured `text` (already wrapped) and whose caption text is
// `caption_width` pixels wide.
MessageBoxGeometry layout_message_box(SIZE text, bool has_icon, std::size_t button_count, int caption_width);

}  // namespace platform::controls
