#include "platform/controls/message_box_layout.h"

#include <algorithm>

namespace platform::controls {

namespace {
constexpr std::string_view kOk = "确定";
constexpr std::string_view kCancel = "取消";
constexpr std::string_view kAbort = "中止";
constexpr std::string_view kRetry = "重试";
constexpr std::string_view kIgnore = "忽略";
constexpr std::string_view kYes = "是";
constexpr std::string_view kNo = "否";
constexpr std::string_view kTryAgain = "重试(&T)";
constexpr std::string_view kContinue = "继续(&C)";
}  // namespace

ButtonSet button_set(UINT type) {
  switch (type & MB_TYPEMASK) {
    case MB_OK:
      return {{{IDOK, kOk}}, IDOK};
    case MB_OKCANCEL:
      return {{{IDOK, kOk}, {IDCANCEL, kCancel}}, IDCANCEL};
    case MB_ABORTRETRYIGNORE:
      return {{{IDABORT, kAbort}, {IDRETRY, kRetry}, {IDIGNORE, kIgnore}}, 0};
    case MB_YESNOCANCEL:
      return {{{IDYES, kYes}, {IDNO, kNo}, {IDCANCEL, kCancel}}, IDCANCEL};
    case MB_YESNO:
      return {{{IDYES, kYes}, {IDNO, kNo}}, 0};
    case MB_RETRYCANCEL:
      return {{{IDRETRY, kRetry}, {IDCANCEL, kCancel}}, IDCANCEL};
    case MB_CANCELTRYCONTINUE:
      return {{{IDCANCEL, kCancel}, {IDTRYAGAIN, kTryAgain}, {IDCONTINUE, kContinue}}, IDCANCEL};
    default:
      return {};
  }
}

std::size_t default_button_index(UINT type, std::size_t button_count) {
  std::size_t index = (type & MB_DEFMASK) >> 8;
  return index < button_count ? index : 0;
}

LPCSTR icon_resource(UINT type) {
  switch (type & MB_ICONMASK) {
    case MB_ICONHAND:
      return IDI_HAND;
    case MB_ICONQUESTION:
      return IDI_QUESTION;
    case MB_ICONEXCLAMATION:
      return IDI_EXCLAMATION;
    case MB_ICONASTERISK:
      return IDI_ASTERISK;
    default:
      return nullptr;
  }
}

std::string normalise_line_breaks(LPCSTR text) {
  std::string out;
  if (!text) return out;
  for (const char* p = text; *p; ++p) {
    if (*p == '\r') {
      out.push_back('\n');
      if (p[1] == '\n') ++p;
    } else {
      out.push_back(*p);
    }
  }
  return out;
}

int message_text_max_width(int screen_width, bool has_icon) {
  int box = screen_width * 5 / 8;
  int used = 2 * kMessageBoxMargin + (has_icon ? kMessageBoxIconSize + kMessageBoxIconGap : 0);
  return std::max(box - used, 100);
}

MessageBoxGeometry layout_message_box(SIZE text, bool has_icon, std::size_t button_count, int caption_width) {
  MessageBoxGeometry g;
  int text_left = kMessageBoxMargin + (has_icon ? kMessageBoxIconSize + kMessageBoxIconGap : 0);
  int top = kMessageBoxMargin;
  if (has_icon) {
    g.icon = RECT{kMessageBoxMargin, top, kMessageBoxMargin + kMessageBoxIconSize, top + kMessageBoxIconSize};
  } else {
    g.icon = RECT{0, 0, 0, 0};
  }
  // Short text sits level with the middle of the icon; taller text starts at the top.
  int text_top = top;
  if (has_icon && text.cy < kMessageBoxIconSize) text_top = top + (kMessageBoxIconSize - text.cy) / 2;
  g.text = RECT{text_left, text_top, text_left + text.cx, text_top + text.cy};

  auto count = static_cast<int>(button_count);
  int row_width = count * kMessageBoxButtonWidth + std::max(count - 1, 0) * kMessageBoxButtonGap;
  int content_bottom = std::max<int>(g.text.bottom, has_icon ? g.icon.bottom : top);
  int width = std::max({static_cast<int>(g.text.right) + kMessageBoxMargin, row_width + 2 * kMessageBoxMargin,
                        caption_width + kMessageBoxCaptionExtra});
  int row_top = content_bottom + kMessageBoxTextToButtons;
  int left = (width - row_width) / 2;
  for (int i = 0; i < count; ++i) {
    int x = left + i * (kMessageBoxButtonWidth + kMessageBoxButtonGap);
    g.buttons.push_back(RECT{x, row_top, x + kMessageBoxButtonWidth, row_top + kMessageBoxButtonHeight});
  }
  g.client = SIZE{width, row_top + kMessageBoxButtonHeight + kMessageBoxMargin};
  return g;
}

}  // namespace platform::controls
