// The header control's window procedure and its HDM_* messages.
#include "platform/controls/header_control.h"

#include <algorithm>
#include <cstring>

#include "platform/controls/control_common.h"

namespace platform::controls::header {

namespace {

StateTable<State>& states() {
  static StateTable<State> table;
  return table;
}

bool valid(const State& st, int index) {
  return index >= 0 && static_cast<std::size_t>(index) < st.items.size();
}

int text_height(const State& st) {
  HDC dc = GetDC(st.hwnd);
  HGDIOBJ old = SelectObject(dc, st.font);
  TEXTMETRICA tm{};
  GetTextMetricsA(dc, &tm);
  SelectObject(dc, old);
  ReleaseDC(st.hwnd, dc);
  return tm.tmHeight > 0 ? tm.tmHeight : 14;
}

void apply(Item& item, const HDITEMA& hi) {
  if (hi.mask & HDI_WIDTH) item.width = std::max(0, hi.cxy);
  if (hi.mask & HDI_TEXT) item.text = hi.pszText && hi.pszText != LPSTR_TEXTCALLBACKA ? hi.pszText : "";
  if (hi.mask & HDI_FORMAT) item.fmt = hi.fmt;
  if (hi.mask & HDI_LPARAM) item.param = hi.lParam;
  if (hi.mask & HDI_IMAGE) item.image = hi.iImage;
  if (hi.mask & HDI_BITMAP) item.bitmap = hi.hbm;
}

void move_in_order(State& st, int index, int position) {
  auto it = std::find(st.order.begin(), st.order.end(), index);
  if (it == st.order.end()) return;
  st.order.erase(it);
  position = std::clamp(position, 0, static_cast<int>(st.order.size()));
  st.order.insert(st.order.begin() + position, index);
}

LRESULT insert_item(State& st, int index, const HDITEMA* hi) {
  if (!hi || index < 0) return -1;
  index = std::min(index, static_cast<int>(st.items.size()));
  Item item;
  apply(item, *hi);
  st.items.insert(st.items.begin() + index, item);
  for (int& k : st.order)
    if (k >= index) ++k;
  const int position = (hi->mask & HDI_ORDER) ? hi->iOrder : index;
  st.order.insert(st.order.begin() + std::clamp(position, 0, static_cast<int>(st.order.size())), index);
  InvalidateRect(st.hwnd, nullptr, TRUE);
  return index;
}

LRESULT delete_item(State& st, int index) {
  if (!valid(st, index)) return FALSE;
  st.items.erase(st.items.begin() + index);
  st.order.erase(std::find(st.order.begin(), st.order.end(), index));
  for (int& k : st.order)
    if (k > index) --k;
  InvalidateRect(st.hwnd, nullptr, TRUE);
  return TRUE;
}

LRESULT get_item(const State& st, int index, HDITEMA* hi) {
  if (!hi || !valid(st, index)) return FALSE;
  const Item& item = st.items[static_cast<std::size_t>(index)];
  if (hi->mask & HDI_WIDTH) hi->cxy = item.width;
  if ((hi->mask & HDI_TEXT) && hi->pszText && hi->cchTextMax > 0) {
    const std::size_t n = std::min(item.text.size(), static_cast<std::size_t>(hi->cchTextMax - 1));
    std::memcpy(hi->pszText, item.text.data(), n);
    hi->pszText[n] = '\0';
  }
  if (hi->mask & HDI_FORMAT) hi->fmt = item.fmt;
  if (hi->mask & HDI_LPARAM) hi->lParam = item.param;
  if (hi->mask & HDI_IMAGE) hi->iImage = item.image;
  if (hi->mask & HDI_BITMAP) hi->hbm = item.bitmap;
  if (hi->mask & HDI_ORDER)
    hi->iOrder = static_cast<int>(std::find(st.order.begin(), st.order.end(), index) - st.order.begin());
  return TRUE;
}

LRESULT set_item(State& st, int index, const HDITEMA* hi) {
  if (!hi || !valid(st, index)) return FALSE;
  HDITEMA copy = *hi;
  if (notify(st, HDN_ITEMCHANGINGA, index, &copy)) return FALSE;
  if (!valid(st, index)) return FALSE;
  apply(st.items[static_cast<std::size_t>(index)], *hi);
  if (hi->mask & HDI_ORDER) move_in_order(st, index, hi->iOrder);
  InvalidateRect(st.hwnd, nullptr, TRUE);
  notify(st, HDN_ITEMCHANGEDA, index, &copy);
  return TRUE;
}

LRESULT layout(State& st, HDLAYOUT* lay) {
  if (!lay || !lay->prc || !lay->pwpos) return FALSE;
  const int height = (GetWindowLongA(st.hwnd, GWL_STYLE) & HDS_HIDDEN) ? 0 : text_height(st) + 7;
  RECT& r = *lay->prc;
  *lay->pwpos =
      WINDOWPOS{st.hwnd, nullptr, r.left, r.top, r.right - r.left, height, SWP_NOZORDER | SWP_NOACTIVATE};
  r.top += height;
  return TRUE;
}

LRESULT set_order(State& st, int count, const int* order) {
  if (!order || count != static_cast<int>(st.items.size())) return FALSE;
  std::vector<int> fresh(order, order + count);
  std::vector<int> check = fresh;
  std::sort(check.begin(), check.end());
  for (int k = 0; k < count; ++k)
    if (check[static_cast<std::size_t>(k)] != k) return FALSE;
  st.order = std::move(fresh);
  InvalidateRect(st.hwnd, nullptr, TRUE);
  return TRUE;
}

LRESULT dispatch(State& st, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CREATE:
      st.font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
      return 0;
    case WM_PAINT:
    case WM_PRINTCLIENT: {
      if (msg == WM_PRINTCLIENT && wp) {
        paint(st, reinterpret_cast<HDC>(wp));
        return 0;
      }
      PAINTSTRUCT ps{};
      HDC dc = BeginPaint(st.hwnd, &ps);
      if (dc) paint(st, dc);
      EndPaint(st.hwnd, &ps);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_SETFONT:
      st.font = wp ? reinterpret_cast<HFONT>(wp) : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
      if (LOWORD(lp)) InvalidateRect(st.hwnd, nullptr, TRUE);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(st.font);
    case WM_LBUTTONDOWN:
      on_button_down(st, lp, false);
      return 0;
    case WM_LBUTTONDBLCLK:
      on_button_down(st, lp, true);
      return 0;
    case WM_MOUSEMOVE:
      on_mouse_move(st, lp);
      return 0;
    case WM_LBUTTONUP:
      on_button_up(st, lp);
      return 0;
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lp) != st.hwnd) on_capture_lost(st);
      return 0;
    case WM_SETCURSOR: {
      POINT p{};
      GetCursorPos(&p);
      ScreenToClient(st.hwnd, &p);
      bool divider = false;
      hit(st, p.x, divider);
      if (reinterpret_cast<HWND>(wp) == st.hwnd && (divider || st.mode == Mode::track)) {
        SetCursor(LoadCursorA(nullptr, IDC_SIZEWE));
        return TRUE;
      }
      return DefWindowProcA(st.hwnd, msg, wp, lp);
    }
    case HDM_GETITEMCOUNT:
      return static_cast<LRESULT>(st.items.size());
    case HDM_INSERTITEMA:
      return insert_item(st, static_cast<int>(wp), reinterpret_cast<const HDITEMA*>(lp));
    case HDM_DELETEITEM:
      return delete_item(st, static_cast<int>(wp));
    case HDM_GETITEMA:
      return get_item(st, static_cast<int>(wp), reinterpret_cast<HDITEMA*>(lp));
    case HDM_SETITEMA:
      return set_item(st, static_cast<int>(wp), reinterpret_cast<const HDITEMA*>(lp));
    case HDM_LAYOUT:
      return layout(st, reinterpret_cast<HDLAYOUT*>(lp));
    case HDM_HITTEST: {
      auto* info = reinterpret_cast<HDHITTESTINFO*>(lp);
      if (!info) return -1;
      RECT client{};
      GetClientRect(st.hwnd, &client);
      bool divider = false;
      info->iItem = hit(st, info->pt.x, divider);
      if (info->pt.y < 0)
        info->flags = HHT_ABOVE;
      else if (info->pt.y >= client.bottom)
        info->flags = HHT_BELOW;
      else if (info->pt.x < 0)
        info->flags = HHT_TOLEFT;
      else if (info->pt.x >= client.right)
        info->flags = HHT_TORIGHT;
      else if (info->iItem < 0)
        info->flags = HHT_NOWHERE;
      else
        info->flags = divider ? HHT_ONDIVIDER : HHT_ONHEADER;
      if (info->flags != HHT_ONHEADER && info->flags != HHT_ONDIVIDER) info->iItem = -1;
      return info->iItem;
    }
    case HDM_GETITEMRECT: {
      auto* r = reinterpret_cast<RECT*>(lp);
      if (!r || !valid(st, static_cast<int>(wp))) return FALSE;
      *r = item_rect(st, static_cast<int>(wp));
      return TRUE;
    }
    case HDM_SETIMAGELIST: {
      HIMAGELIST old = st.images;
      st.images = reinterpret_cast<HIMAGELIST>(lp);
      InvalidateRect(st.hwnd, nullptr, TRUE);
      return reinterpret_cast<LRESULT>(old);
    }
    case HDM_GETIMAGELIST:
      return reinterpret_cast<LRESULT>(st.images);
    case HDM_ORDERTOINDEX:
      return wp < st.order.size() ? st.order[wp] : static_cast<LRESULT>(wp);
    case HDM_GETORDERARRAY: {
      auto* out = reinterpret_cast<int*>(lp);
      if (!out || wp < st.order.size()) return FALSE;
      std::copy(st.order.begin(), st.order.end(), out);
      return TRUE;
    }
    case HDM_SETORDERARRAY:
      return set_order(st, static_cast<int>(wp), reinterpret_cast<const int*>(lp));
    default:
      return DefWindowProcA(st.hwnd, msg, wp, lp);
  }
}

LRESULT header_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  return states().serve(hwnd, msg, wp, lp, [&](State& st) { return dispatch(st, msg, wp, lp); });
}

}  // namespace

int item_left(const State& st, int index) {
  int x = 0;
  for (int k : st.order) {
    if (k == index) return x;
    x += st.items[static_cast<std::size_t>(k)].width;
  }
  return x;
}

RECT item_rect(const State& st, int index) {
  RECT client{};
  GetClientRect(st.hwnd, &client);
  const int left = item_left(st, index);
  return RECT{left, 0, left + st.items[static_cast<std::size_t>(index)].width, client.bottom};
}

int hit(const State& st, int x, bool& divider) {
  constexpr int kGrip = 4;
  divider = false;
  int left = 0;
  // Dividers first, from the right, so a zero-width item stays reachable by its divider.
  for (int k : st.order) left += st.items[static_cast<std::size_t>(k)].width;
  for (auto it = st.order.rbegin(); it != st.order.rend(); ++it) {
    const int right = left;
    left -= st.items[static_cast<std::size_t>(*it)].width;
    if (x >= right - kGrip && x < right + kGrip) {
      divider = true;
      return *it;
    }
  }
  left = 0;
  for (int k : st.order) {
    const int w = st.items[static_cast<std::size_t>(k)].width;
    if (x >= left && x < left + w) return k;
    left += w;
  }
  return -1;
}

LRESULT notify(State& st, UINT code, int item, HDITEMA* pitem) {
  NMHEADERA nm{};
  nm.hdr.hwndFrom = st.hwnd;
  nm.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(st.hwnd));
  nm.hdr.code = code;
  nm.iItem = item;
  nm.iButton = 0;
  nm.pitem = pitem;
  HWND parent = GetParent(st.hwnd);
  return parent ? SendMessageA(parent, WM_NOTIFY, nm.hdr.idFrom, reinterpret_cast<LPARAM>(&nm)) : 0;
}

bool set_width(State& st, int index, int width) {
  HDITEMA hi{};
  hi.mask = HDI_WIDTH;
  hi.cxy = std::max(0, width);
  return set_item(st, index, &hi) != FALSE;
}

void register_header_class() {
  register_control_class(WC_HEADERA, header_proc, CS_GLOBALCLASS | CS_DBLCLKS);
}

}  // namespace platform::controls::header
