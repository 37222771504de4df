#include "platform/controls/button_paint.h"

#include <algorithm>
#include <array>
#include <string>

#include "platform/controls/control_common.h"

namespace platform::controls {
namespace {

constexpr int kBoxSize = 13;     // check box square and radio circle
constexpr int kBoxTextGap = 4;   // between the box and its text
constexpr int kGroupIndent = 8;  // group box caption from the left or right edge

enum class HAlign { kLeft, kCenter, kRight };
enum class VAlign { kTop, kCenter, kBottom };

HAlign horizontal(DWORD style, HAlign fallback) {
  switch (style & BS_CENTER) {
    case BS_LEFT:
      return HAlign::kLeft;
    case BS_RIGHT:
      return HAlign::kRight;
    case BS_CENTER:
      return HAlign::kCenter;
    default:
      return fallback;
  }
}

VAlign vertical(DWORD style, VAlign fallback) {
  switch (style & BS_VCENTER) {
    case BS_TOP:
      return VAlign::kTop;
    case BS_BOTTOM:
      return VAlign::kBottom;
    case BS_VCENTER:
      return VAlign::kCenter;
    default:
      return fallback;
  }
}

// Everything one painter needs, gathered once.
struct PaintContext {
  HWND hwnd;
  HDC dc;
  DWORD style;
  ButtonStyle look;
  ButtonState state;
  RECT client;
  std::string text;
  bool enabled;
  HBRUSH background;
};

SIZE icon_size(HICON icon) {
  SIZE size{GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON)};
  ICONINFO info{};
  if (!GetIconInfo(icon, &info)) return size;
  BITMAP bm{};
  HBITMAP source = info.hbmColor ? info.hbmColor : info.hbmMask;
  if (source && GetObjectA(source, sizeof bm, &bm)) {
    size.cx = bm.bmWidth;
    size.cy = info.hbmColor ? bm.bmHeight : bm.bmHeight / 2;
  }
  if (info.hbmColor) DeleteObject(info.hbmColor);
  if (info.hbmMask) DeleteObject(info.hbmMask);
  return size;
}

SIZE bitmap_size(HBITMAP bitmap) {
  BITMAP bm{};
  if (!GetObjectA(bitmap, sizeof bm, &bm)) return {0, 0};
  return {bm.bmWidth, bm.bmHeight};
}

bool shows_icon(const PaintContext& c) {
  return (c.style & BS_ICON) && c.state.icon;
}
bool shows_bitmap(const PaintContext& c) {
  return (c.style & BS_BITMAP) && c.state.bitmap;
}

UINT text_format(const PaintContext& c, HAlign h) {
  UINT format = (c.style & BS_MULTILINE) ? DT_WORDBREAK : DT_SINGLELINE;
  if (h == HAlign::kCenter) format |= DT_CENTER;
  if (h == HAlign::kRight) format |= DT_RIGHT;
  return format;
}

SIZE content_size(const PaintContext& c, const RECT& area, HAlign h) {
  if (shows_icon(c)) return icon_size(c.state.icon);
  if (shows_bitmap(c)) return bitmap_size(c.state.bitmap);
  if (c.text.empty()) return {0, 0};
  RECT measured{0, 0, std::max<LONG>(area.right - area.left, 1), 0};
  DrawTextA(c.dc, c.text.c_str(), static_cast<int>(c.text.size()), &measured,
            text_format(c, h) | DT_CALCRECT);
  return {std::min(measured.right - measured.left, area.right - area.left), measured.bottom - measured.top};
}

// Where content of `size` goes inside `area` for the given alignment.
RECT place(const RECT& area, SIZE size, HAlign h, VAlign v) {
  RECT r{};
  switch (h) {
    case HAlign::kLeft:
      r.left = area.left;
      break;
    case HAlign::kRight:
      r.left = area.right - size.cx;
      break;
    case HAlign::kCenter:
      r.left = area.left + (area.right - area.left - size.cx) / 2;
      break;
  }
  switch (v) {
    case VAlign::kTop:
      r.top = area.top;
      break;
    case VAlign::kBottom:
      r.top = area.bottom - size.cy;
      break;
    case VAlign::kCenter:
      r.top = area.top + (area.bottom - area.top - size.cy) / 2;
      break;
  }
  r.right = r.left + size.cx;
  r.bottom = r.top + size.cy;
  return r;
}

// Draws the text or image inside `area`; returns the rectangle it took (for the focus frame).
RECT draw_content(const PaintContext& c, const RECT& area, HAlign h, VAlign v, POINT shift) {
  SIZE size = content_size(c, area, h);
  RECT where = place(area, size, h, v);
  OffsetRect(&where, shift.x, shift.y);
  if (shows_icon(c)) {
    DrawIconEx(c.dc, where.left, where.top, c.state.icon, size.cx, size.cy, 0, nullptr, DI_NORMAL);
  } else if (shows_bitmap(c)) {
    HDC source = CreateCompatibleDC(c.dc);
    if (source) {
      {
        ScopedSelect select(source, c.state.bitmap);
        BitBlt(c.dc, where.left, where.top, size.cx, size.cy, source, 0, 0, SRCCOPY);
      }
      DeleteDC(source);
    }
  } else if (!c.text.empty()) {
    if (!c.enabled) SetTextColor(c.dc, GetSysColor(COLOR_GRAYTEXT));
    RECT text_rect = where;
    text_rect.left = std::max(text_rect.left, area.left + shift.x);
    text_rect.right = std::min(text_rect.right, area.right + shift.x);
    DrawTextA(c.dc, c.text.c_str(), static_cast<int>(c.text.size()), &text_rect, text_format(c, h));
  }
  return where;
}

void paint_push(PaintContext& c) {
  bool checked = c.look.push_like && c.state.check != BST_UNCHECKED;
  FaceLook face{c.state.pushed, c.look.is_default && c.look.kind == ButtonKind::kPush,
                (c.style & BS_FLAT) != 0, checked};
  RECT inside = draw_push_face(c.dc, c.client, face);
  RECT area = inside;
  InflateRect(&area, -2, -1);
  bool sunk = c.state.pushed || checked;
  POINT shift = sunk && !(c.style & BS_FLAT) ? POINT{1, 1} : POINT{0, 0};
  draw_content(c, area, horizontal(c.style, HAlign::kCenter), vertical(c.style, VAlign::kCenter), shift);
  if (c.state.focused) {
    RECT focus = c.client;
    InflateRect(&focus, -4, -4);
    if (focus.right > focus.left && focus.bottom > focus.top) DrawFocusRect(c.dc, &focus);
  }
}

void draw_check_box(const PaintContext& c, RECT box) {
  bool flat = (c.style & BS_FLAT) != 0;
  COLORREF inside = (c.state.pushed || !c.enabled) ? GetSysColor(COLOR_BTNFACE) : GetSysColor(COLOR_WINDOW);
  fill_rect(c.dc, box, inside);
  RECT frame = box;
  if (flat) {
    FrameRect(c.dc, &frame, GetSysColorBrush(COLOR_WINDOWFRAME));
  } else {
    DrawEdge(c.dc, &frame, EDGE_SUNKEN, BF_RECT);
  }
  if (c.state.check == BST_UNCHECKED) return;
  COLORREF mark = (!c.enabled || c.state.check == BST_INDETERMINATE) ? GetSysColor(COLOR_GRAYTEXT)
                                                                     : GetSysColor(COLOR_WINDOWTEXT);
  OwnedGdiObject pen(CreatePen(PS_SOLID, 1, mark));
  ScopedSelect select(c.dc, pen.get());
  // A 7x7 tick, three pixels thick.
  int x = box.left + 3;
  int y = box.top + 5;
  for (int i = 0; i < 3; ++i) {
    MoveToEx(c.dc, x, y + i, nullptr);
    LineTo(c.dc, x + 2, y + 2 + i);
    LineTo(c.dc, x + 7, y - 3 + i);
  }
}

void draw_radio(const PaintContext& c, RECT box) {
  COLORREF inside = (c.state.pushed || !c.enabled) ? GetSysColor(COLOR_BTNFACE) : GetSysColor(COLOR_WINDOW);
  {
    OwnedGdiObject brush(CreateSolidBrush(inside));
    OwnedGdiObject pen(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW)));
    ScopedSelect select_brush(c.dc, brush.get());
    ScopedSelect select_pen(c.dc, pen.get());
    Ellipse(c.dc, box.left, box.top, box.right - 1, box.bottom - 1);
  }
  if (c.state.check == BST_UNCHECKED) return;
  COLORREF dot = c.enabled ? GetSysColor(COLOR_WINDOWTEXT) : GetSysColor(COLOR_GRAYTEXT);
  OwnedGdiObject brush(CreateSolidBrush(dot));
  OwnedGdiObject pen(CreatePen(PS_SOLID, 1, dot));
  ScopedSelect select_brush(c.dc, brush.get());
  ScopedSelect select_pen(c.dc, pen.get());
  Ellipse(c.dc, box.left + 4, box.top + 4, box.left + 8, box.top + 8);
}

void paint_check_or_radio(PaintContext& c) {
  if (c.look.push_like) {
    paint_push(c);
    return;
  }
  FillRect(c.dc, &c.client, c.background);
  bool box_right = (c.style & BS_LEFTTEXT) != 0;
  VAlign v = vertical(c.style, VAlign::kCenter);
  RECT box_area = c.client;
  RECT box = place(box_area, SIZE{kBoxSize, kBoxSize}, box_right ? HAlign::kRight : HAlign::kLeft, v);
  if (c.look.kind == ButtonKind::kRadio) {
    draw_radio(c, box);
  } else {
    draw_check_box(c, box);
  }
  RECT area = c.client;
  if (box_right) {
    area.right -= kBoxSize + kBoxTextGap;
  } else {
    area.left += kBoxSize + kBoxTextGap;
  }
  RECT used = draw_content(c, area, horizontal(c.style, HAlign::kLeft), v, POINT{0, 0});
  if (c.state.focused && !c.text.empty()) {
    RECT focus = used;
    InflateRect(&focus, 1, 1);
    focus.left = std::max(focus.left, area.left - 1);
    focus.top = std::max(focus.top, c.client.top);
    focus.right = std::min(focus.right, c.client.right);
    focus.bottom = std::min(focus.bottom, c.client.bottom);
    DrawFocusRect(c.dc, &focus);
  }
}

void paint_group(PaintContext& c) {
  TEXTMETRICA tm{};
  GetTextMetricsA(c.dc, &tm);
  int line = tm.tmHeight > 0 ? tm.tmHeight : 12;
  RECT frame = c.client;
  frame.top += line / 2;
  // The frame is a line only: what is inside the group stays as the parent painted it.
  DrawEdge(c.dc, &frame, EDGE_ETCHED, BF_RECT);
  if (c.text.empty()) return;
  RECT band{c.client.left + kGroupIndent, c.client.top, c.client.right - kGroupIndent, c.client.top + line};
  SIZE size = content_size(c, band, HAlign::kLeft);
  RECT caption = place(band, SIZE{size.cx + 4, line}, horizontal(c.style, HAlign::kLeft), VAlign::kTop);
  caption.left = std::max(caption.left, c.client.left);
  caption.right = std::min(caption.right, c.client.right);
  FillRect(c.dc, &caption, c.background);
  InflateRect(&caption, -2, 0);
  if (!c.enabled) SetTextColor(c.dc, GetSysColor(COLOR_GRAYTEXT));
  DrawTextA(c.dc, c.text.c_str(), static_cast<int>(c.text.size()), &caption,
            DT_SINGLELINE | DT_LEFT | DT_TOP);
}

void paint_owner_draw(PaintContext& c) {
  FillRect(c.dc, &c.client, c.background);
  DRAWITEMSTRUCT item{};
  item.CtlType = ODT_BUTTON;
  item.CtlID = static_cast<UINT>(GetDlgCtrlID(c.hwnd));
  item.itemID = 0;
  item.itemAction = ODA_DRAWENTIRE;
  if (c.state.pushed) item.itemState |= ODS_SELECTED;
  if (c.state.focused) item.itemState |= ODS_FOCUS;
  if (!c.enabled) item.itemState |= ODS_DISABLED;
  item.hwndItem = c.hwnd;
  item.hDC = c.dc;
  item.rcItem = c.client;
  HWND parent = GetParent(c.hwnd);
  if (parent)
    SendMessageA(parent, WM_DRAWITEM, static_cast<WPARAM>(item.CtlID), reinterpret_cast<LPARAM>(&item));
}

using Painter = void (*)(PaintContext&);

Painter painter_for(ButtonKind kind) {
  static constexpr std::array<Painter, 5> kPainters = {
      paint_push,            // kPush
      paint_check_or_radio,  // kCheck
      paint_check_or_radio,  // kRadio
      paint_group,           // kGroup
      paint_owner_draw,      // kOwnerDraw
  };
  return kPainters[static_cast<std::size_t>(kind)];
}

}  // namespace

void paint_button(HWND hwnd, HDC dc, ButtonState state) {
  ScopedDcState saved(dc);
  PaintContext c{hwnd,
                 dc,
                 window_style(hwnd),
                 {},
                 state,
                 client_rect(hwnd),
                 window_text(hwnd),
                 IsWindowEnabled(hwnd) != FALSE,
                 nullptr};
  c.look = read_button_style(c.style);
  bool push_colours =
      c.look.kind == ButtonKind::kPush || c.look.kind == ButtonKind::kOwnerDraw || c.look.push_like;
  SelectObject(dc, font_or_default(state.font));
  c.background = parent_colours(hwnd, dc, push_colours ? WM_CTLCOLORBTN : WM_CTLCOLORSTATIC);
  painter_for(c.look.kind)(c);
}

}  // namespace platform::controls
