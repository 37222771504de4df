// Item geometry of pop-up menus and menu bars.
#include <algorithm>
#include <cctype>

#include "platform/controls/control_common.h"
#include "platform/controls/menu_look.h"

namespace platform::controls::menu {
namespace {

constexpr int kBarItemPadding = 7;  // each side of a bar caption

// A screen DC with the menu font, for measuring.
class MeasureDc {
 public:
  MeasureDc() : dc_(GetDC(nullptr)), select_(dc_, GetStockObject(DEFAULT_GUI_FONT)) {}
  ~MeasureDc() { ReleaseDC(nullptr, dc_); }
  MeasureDc(const MeasureDc&) = delete;
  MeasureDc& operator=(const MeasureDc&) = delete;
  int width(const std::string& text) const {
    if (text.empty()) return 0;
    RECT r{0, 0, 0, 0};
    DrawTextA(dc_, text.c_str(), static_cast<int>(text.size()), &r, DT_SINGLELINE | DT_CALCRECT);
    return r.right - r.left;
  }

 private:
  HDC dc_;
  ScopedSelect select_;
};

SIZE measure_owner_drawn(const Item& it, HWND owner) {
  MEASUREITEMSTRUCT mis{ODT_MENU, 0, it.id, 0, static_cast<UINT>(GetSystemMetrics(SM_CYMENU)), it.data};
  if (owner) SendMessageA(owner, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis));
  return {static_cast<LONG>(std::min<UINT>(mis.itemWidth, 4096)),
          static_cast<LONG>(std::min<UINT>(mis.itemHeight, 1024))};
}

}  // namespace

SplitText split_caption(const std::string& text) {
  auto tab = text.find('\t');
  if (tab == std::string::npos) return {text, {}};
  return {text.substr(0, tab), text.substr(tab + 1)};
}

char mnemonic(const std::string& text) {
  for (std::size_t i = 0; i + 1 < text.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    if (c >= 0x80) {  // a double-byte character never holds the mark
      ++i;
      continue;
    }
    if (c != '&') continue;
    char next = text[i + 1];
    if (next == '&') {
      ++i;
      continue;
    }
    return static_cast<char>(std::tolower(static_cast<unsigned char>(next)));
  }
  return 0;
}

PopupLayout layout_popup(const Menu& menu, HWND owner) {
  MeasureDc dc;
  const int item_height = GetSystemMetrics(SM_CYMENU);
  int caption_w = 0, shortcut_w = 0, owner_w = 0;
  std::vector<int> heights;
  for (const Item& it : menu.items) {
    if (it.separator()) {
      heights.push_back(kSeparatorHeight);
    } else if (it.owner_drawn()) {
      SIZE s = measure_owner_drawn(it, owner);
      owner_w = std::max<int>(owner_w, s.cx);
      heights.push_back(std::max<int>(1, s.cy));
    } else {
      SplitText t = split_caption(it.text);
      caption_w = std::max(caption_w, dc.width(t.caption));
      shortcut_w = std::max(shortcut_w, dc.width(t.shortcut));
      heights.push_back(item_height);
    }
  }
  int text_w = caption_w + (shortcut_w ? kShortcutGap + shortcut_w : 0);
  int inner_w = std::max({kCheckColumn + text_w + kArrowColumn, owner_w, 60});
  PopupLayout out;
  int y = kPopupFrame;
  for (int h : heights) {
    out.items.push_back({kPopupFrame, y, kPopupFrame + inner_w, y + h});
    y += h;
  }
  out.size = {inner_w + 2 * kPopupFrame, std::max(y, kPopupFrame) + kPopupFrame};
  return out;
}

BarLayout layout_bar(const Menu& menu, HWND owner, const RECT& bar) {
  MeasureDc dc;
  BarLayout out;
  int x = bar.left;
  const int top = bar.top, bottom = bar.top + GetSystemMetrics(SM_CYMENU) - 1;
  for (const Item& it : menu.items) {
    int w;
    if (it.owner_drawn())
      w = measure_owner_drawn(it, owner).cx;
    else if (it.separator())
      w = 6;
    else
      w = dc.width(split_caption(it.text).caption) + 2 * kBarItemPadding;
    out.items.push_back({x, top, x + w, bottom});
    x += w;
  }
  return out;
}

}  // namespace platform::controls::menu
