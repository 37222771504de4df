// The modal menu loop. One loop per thread at a time; the owner window holds the mouse capture,
// so every mouse message of the thread comes here and is read by its screen point.
#include "platform/controls/menu_track.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <vector>

#include "platform/controls/menu_bar.h"
#include "platform/controls/menu_window.h"

namespace platform::controls::menu {
namespace {

constexpr int kBarLevel = -1;
constexpr int kNowhere = -2;

struct Level {
  HMENU handle = nullptr;
  Menu menu;
  PopupLayout layout;
  POINT origin{};  // screen
  HWND window = nullptr;
  int selected = -1;
};

struct Hit {
  int level = kNowhere;
  int index = -1;
};

enum class Mouse { none, move, left_down, left_up, right_down, right_up };

Mouse mouse_kind(UINT msg) {
  switch (msg) {
    case WM_MOUSEMOVE:
    case WM_NCMOUSEMOVE:
      return Mouse::move;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
      return Mouse::left_down;
    case WM_LBUTTONUP:
    case WM_NCLBUTTONUP:
      return Mouse::left_up;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_NCRBUTTONDOWN:
    case WM_NCRBUTTONDBLCLK:
      return Mouse::right_down;
    case WM_RBUTTONUP:
    case WM_NCRBUTTONUP:
      return Mouse::right_up;
    default:
      return Mouse::none;
  }
}

bool contains(const RECT& r, POINT p) {
  return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

SIZE screen_size() {
  return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

// Keeps a box of `size` with its corner at `p` on screen: flipped to the other side of
// `flip_x`/`flip_y` when it would cross the right or bottom edge, then shifted inside.
POINT keep_on_screen(POINT p, SIZE size, int flip_x, int flip_y) {
  SIZE s = screen_size();
  if (p.x + size.cx > s.cx) p.x = flip_x - size.cx >= 0 ? flip_x - size.cx : s.cx - size.cx;
  if (p.y + size.cy > s.cy) p.y = flip_y - size.cy >= 0 ? flip_y - size.cy : s.cy - size.cy;
  p.x = std::max<LONG>(0, p.x);
  p.y = std::max<LONG>(0, p.y);
  return p;
}

class Tracker;
thread_local Tracker* current_tracker = nullptr;

class Tracker {
 public:
  explicit Tracker(const TrackRequest& req)
      : req_(req), notify_(!(req.flags & TPM_NONOTIFY)), bar_mode_(req.bar != nullptr) {}

  TrackResult run() {
    current_tracker = this;
    SetCapture(req_.owner);
    notify(WM_ENTERMENULOOP, bar_mode_ ? FALSE : TRUE, 0);
    notify(WM_INITMENU, reinterpret_cast<WPARAM>(bar_mode_ ? req_.bar : req_.popup), 0);
    if (bar_mode_ ? start_bar() : start_popup()) loop();
    finish();
    current_tracker = nullptr;
    TrackResult r{true, result_};
    if (result_ && !(req_.flags & (TPM_RETURNCMD | TPM_NONOTIFY)) && IsWindow(req_.owner)) {
      if (result_system_)
        PostMessageA(req_.owner, WM_SYSCOMMAND, result_, MAKELPARAM(last_pt_.x, last_pt_.y));
      else
        PostMessageA(req_.owner, WM_COMMAND, MAKEWPARAM(result_, 0), 0);
    }
    return r;
  }

  void end() {
    done_ = true;
    PostMessageA(req_.owner, WM_NULL, 0, 0);  // wakes the loop if it waits
  }

 private:
  void notify(UINT msg, WPARAM wp, LPARAM lp) {
    if (notify_ && IsWindow(req_.owner)) SendMessageA(req_.owner, msg, wp, lp);
  }

  bool start_popup() {
    POINT at = req_.at;
    return open_level(req_.popup, 0, false, [&](SIZE size) {
      POINT p = at;
      if (req_.flags & TPM_CENTERALIGN)
        p.x -= size.cx / 2;
      else if (req_.flags & TPM_RIGHTALIGN)
        p.x -= size.cx;
      if (req_.flags & TPM_VCENTERALIGN)
        p.y -= size.cy / 2;
      else if (req_.flags & TPM_BOTTOMALIGN)
        p.y -= size.cy;
      return keep_on_screen(p, size, at.x, at.y);
    });
  }

  bool start_bar() {
    auto m = snapshot(req_.bar);
    if (!m) return false;
    bar_ = *m;
    auto g = bar_geometry(req_.owner, bar_);
    if (!g) return false;
    geometry_ = *g;
    if (req_.keyboard) {
      int first = next_bar_item(-1, 1);
      if (first < 0) return false;
      select_bar(first, false, false);
      return true;
    }
    Hit h = hit(req_.at);
    if (h.level != kBarLevel) return false;
    select_bar(h.index, true, false);
    return true;
  }

  // Opens `handle` as a new level; `place` turns the window size into its screen position.
  template <class Place>
  bool open_level(HMENU handle, int position, bool select_first, Place place) {
    bool system = false;
    if (auto m = snapshot(handle)) system = m->system;
    notify(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(handle), MAKELPARAM(position, system ? 1 : 0));
    auto m = snapshot(handle);  // the owner may have changed it just now
    if (!m) return false;
    Level level;
    level.handle = handle;
    level.menu = std::move(*m);
    level.layout = layout_popup(level.menu, req_.owner);
    level.origin = place(level.layout.size);
    level.window = create_popup_window(req_.owner, level.origin, handle, level.menu, level.layout);
    if (!level.window) return false;
    levels_.push_back(std::move(level));
    if (select_first) select(static_cast<int>(levels_.size()) - 1, next_item(levels_.back(), -1, 1), false);
    return true;
  }

  void close_to(std::size_t depth) {
    while (levels_.size() > depth) {
      Level level = std::move(levels_.back());
      levels_.pop_back();
      if (IsWindow(level.window)) DestroyWindow(level.window);
      notify(WM_UNINITMENUPOPUP, reinterpret_cast<WPARAM>(level.handle), 0);
    }
  }

  void menu_select(HMENU handle, const Menu& menu, int index, bool mouse) {
    if (index < 0 || static_cast<std::size_t>(index) >= menu.items.size()) return;
    const Item& it = menu.items[static_cast<std::size_t>(index)];
    UINT flags = (it.state | it.type | MF_HILITE) & 0xFFFF;
    if (it.submenu) flags |= MF_POPUP;
    if (mouse) flags |= MF_MOUSESELECT;
    if (menu.system) flags |= MF_SYSMENU;
    UINT item = it.submenu ? static_cast<UINT>(index) : it.id;
    notify(WM_MENUSELECT, MAKEWPARAM(item, flags), reinterpret_cast<LPARAM>(handle));
  }

  // Moves the highlight of level `li` to `index`, closing the levels opened from it.
  void select(int li, int index, bool mouse) {
    Level& level = levels_[static_cast<std::size_t>(li)];
    if (level.selected == index) return;
    close_to(static_cast<std::size_t>(li) + 1);
    Level& again = levels_[static_cast<std::size_t>(li)];
    again.selected = index;
    set_popup_selection(again.window, index);
    menu_select(again.handle, again.menu, index, mouse);
  }

  // Opens the sub-menu of the highlighted item of level `li`, when it has one.
  void open_child(int li, bool select_first) {
    if (static_cast<std::size_t>(li) + 1 < levels_.size()) return;  // already open
    const Level& level = levels_[static_cast<std::size_t>(li)];
    if (level.selected < 0) return;
    const Item& it = level.menu.items[static_cast<std::size_t>(level.selected)];
    if (!it.submenu || it.disabled()) return;
    RECT item = level.layout.items[static_cast<std::size_t>(level.selected)];
    POINT parent = level.origin;
    SIZE parent_size = level.layout.size;
    HMENU sub = it.submenu;
    open_level(sub, level.selected, select_first, [&](SIZE size) {
      POINT p{parent.x + parent_size.cx - kPopupFrame, parent.y + item.top - kPopupFrame};
      return keep_on_screen(p, size, parent.x + kPopupFrame, p.y + item.bottom - item.top);
    });
  }

  void select_bar(int index, bool open, bool select_first) {
    close_to(0);
    bar_selected_ = index;
    set_bar_highlight(req_.owner, index);
    menu_select(req_.bar, bar_, index, !req_.keyboard);
    if (!open || index < 0) return;
    const Item& it = bar_.items[static_cast<std::size_t>(index)];
    if (!it.submenu || it.disabled()) return;
    RECT r = geometry_.layout.items[static_cast<std::size_t>(index)];
    POINT o = geometry_.window_origin;
    int bar_bottom = o.y + geometry_.bar.bottom + 1;
    open_level(it.submenu, index, select_first, [&](SIZE size) {
      return keep_on_screen({o.x + r.left, bar_bottom}, size, o.x + r.right, o.y + r.top);
    });
  }

  // A bar title without a menu is a command of its own.
  bool choose_bar(int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= bar_.items.size()) return false;
    const Item& it = bar_.items[static_cast<std::size_t>(index)];
    if (it.submenu || it.separator()) return false;
    if (!it.disabled()) {
      result_ = it.id;
      result_system_ = bar_.system;
      done_ = true;
    }
    return true;
  }

  void choose(int li, int index) {
    const Level& level = levels_[static_cast<std::size_t>(li)];
    if (index < 0) return;
    const Item& it = level.menu.items[static_cast<std::size_t>(index)];
    if (it.separator() || it.disabled()) return;
    if (it.submenu) {
      select(li, index, false);
      open_child(li, true);
      return;
    }
    result_ = it.id;
    result_system_ = level.menu.system;
    done_ = true;
  }

  Hit hit(POINT p) const {
    for (int li = static_cast<int>(levels_.size()) - 1; li >= 0; --li) {
      const Level& level = levels_[static_cast<std::size_t>(li)];
      RECT box{level.origin.x, level.origin.y, level.origin.x + level.layout.size.cx,
               level.origin.y + level.layout.size.cy};
      if (!contains(box, p)) continue;
      POINT c{p.x - level.origin.x, p.y - level.origin.y};
      for (std::size_t i = 0; i < level.layout.items.size(); ++i)
        if (contains(level.layout.items[i], c)) return {li, static_cast<int>(i)};
      return {li, -1};
    }
    if (bar_mode_) {
      POINT w{p.x - geometry_.window_origin.x, p.y - geometry_.window_origin.y};
      for (std::size_t i = 0; i < geometry_.layout.items.size(); ++i)
        if (contains(geometry_.layout.items[i], w)) return {kBarLevel, static_cast<int>(i)};
    }
    return {};
  }

  static int next_item(const Level& level, int from, int step) {
    const int n = static_cast<int>(level.menu.items.size());
    for (int k = 1; k <= n; ++k) {
      int i = ((from + step * k) % n + n) % n;
      if (level.menu.items[static_cast<std::size_t>(i)].selectable()) return i;
    }
    return -1;
  }

  int next_bar_item(int from, int step) const {
    const int n = static_cast<int>(bar_.items.size());
    for (int k = 1; k <= n; ++k) {
      int i = ((from + step * k) % n + n) % n;
      if (!bar_.items[static_cast<std::size_t>(i)].separator()) return i;
    }
    return -1;
  }

  void on_mouse(Mouse kind, POINT p) {
    last_pt_ = p;
    Hit h = hit(p);
    bool right = kind == Mouse::right_down || kind == Mouse::right_up;
    bool right_chooses = (req_.flags & TPM_RIGHTBUTTON) != 0 && !bar_mode_;
    switch (kind) {
      case Mouse::move:
        if (h.level >= 0) {
          if (h.index >= 0 && levels_[static_cast<std::size_t>(h.level)]
                                  .menu.items[static_cast<std::size_t>(h.index)]
                                  .separator())
            h.index = -1;
          bool has_child = static_cast<std::size_t>(h.level) + 1 < levels_.size();
          if (h.index < 0 && has_child) break;  // keep the open sub-menu's parent lit
          select(h.level, h.index, true);
          open_child(h.level, false);
        } else if (h.level == kBarLevel && h.index != bar_selected_ && !levels_.empty()) {
          select_bar(h.index, true, false);
        }
        break;
      case Mouse::left_down:
      case Mouse::right_down:
        if (h.level >= 0) {
          if (right && !right_chooses) break;
          if (h.index >= 0) {
            select(h.level, h.index, true);
            open_child(h.level, false);
          }
        } else if (h.level == kBarLevel) {
          if (right) break;
          if (h.index == bar_selected_ && !levels_.empty())
            done_ = true;  // a second click on the open title closes the menu
          else
            select_bar(h.index, true, false);
        } else {
          done_ = true;  // a click outside dismisses the menu and is consumed
        }
        break;
      case Mouse::left_up:
      case Mouse::right_up:
        if (h.level == kBarLevel && !right && h.index == bar_selected_) {
          choose_bar(h.index);
          break;
        }
        if (right && !right_chooses) break;
        if (h.level >= 0 && h.index >= 0) {
          const Item& it =
              levels_[static_cast<std::size_t>(h.level)].menu.items[static_cast<std::size_t>(h.index)];
          if (!it.submenu) choose(h.level, h.index);
        }
        break;
      case Mouse::none:
        break;
    }
  }

  void on_key(const MSG& msg) {
    int depth = static_cast<int>(levels_.size());
    Level* top = depth ? &levels_.back() : nullptr;
    switch (msg.wParam) {
      case VK_ESCAPE:
        if (depth > 1)
          close_to(static_cast<std::size_t>(depth - 1));
        else if (bar_mode_ && depth == 1)
          close_to(0);  // back to the highlighted title
        else
          done_ = true;
        return;
      case VK_UP:
      case VK_DOWN: {
        int step = msg.wParam == VK_DOWN ? 1 : -1;
        if (top)
          select(depth - 1, next_item(*top, top->selected < 0 && step < 0 ? 0 : top->selected, step), false);
        else if (bar_mode_ && bar_selected_ >= 0 && step > 0)
          select_bar(bar_selected_, true, true);
        return;
      }
      case VK_RIGHT:
        if (top && top->selected >= 0 && top->menu.items[static_cast<std::size_t>(top->selected)].submenu &&
            !top->menu.items[static_cast<std::size_t>(top->selected)].disabled()) {
          open_child(depth - 1, true);
        } else if (bar_mode_) {
          select_bar(next_bar_item(bar_selected_, 1), depth > 0, true);
        }
        return;
      case VK_LEFT:
        if (depth > 1)
          close_to(static_cast<std::size_t>(depth - 1));
        else if (bar_mode_)
          select_bar(next_bar_item(bar_selected_, -1), depth > 0, true);
        return;
      case VK_RETURN:
        if (top && top->selected >= 0)
          choose(depth - 1, top->selected);
        else if (bar_mode_ && bar_selected_ >= 0 && !choose_bar(bar_selected_))
          select_bar(bar_selected_, true, true);
        return;
      case VK_MENU:
      case VK_F10:
        if (bar_mode_) done_ = true;
        return;
      default: {
        MSG copy = msg;
        TranslateMessage(&copy);  // the WM_CHAR that follows picks a mnemonic
        return;
      }
    }
  }

  void on_char(char c) {
    char want = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (!want) return;
    if (levels_.empty()) {
      if (!bar_mode_) return;
      for (std::size_t i = 0; i < bar_.items.size(); ++i)
        if (mnemonic(bar_.items[i].text) == want) {
          select_bar(static_cast<int>(i), true, true);
          choose_bar(static_cast<int>(i));
          return;
        }
      return;
    }
    int li = static_cast<int>(levels_.size()) - 1;
    const Level& level = levels_.back();
    std::vector<int> matches;
    for (std::size_t i = 0; i < level.menu.items.size(); ++i)
      if (level.menu.items[i].selectable() && mnemonic(level.menu.items[i].text) == want)
        matches.push_back(static_cast<int>(i));
    if (matches.empty()) return;
    if (matches.size() == 1) {
      select(li, matches[0], false);
      choose(li, matches[0]);
      return;
    }
    // Several items share the letter: each press moves to the next of them.
    auto next = std::upper_bound(matches.begin(), matches.end(), level.selected);
    select(li, next == matches.end() ? matches[0] : *next, false);
  }

  void loop() {
    bool idle_sent = false;
    while (!done_) {
      if (!IsWindow(req_.owner)) break;
      MSG msg;
      if (!PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE) && !idle_sent) {
        idle_sent = true;
        HWND shown = levels_.empty() ? nullptr : levels_.back().window;
        SendMessageA(req_.owner, WM_ENTERIDLE, MSGF_MENU, reinterpret_cast<LPARAM>(shown));
        continue;
      }
      BOOL got = GetMessageA(&msg, nullptr, 0, 0);
      if (got <= 0) {
        if (msg.message == WM_QUIT) PostQuitMessage(static_cast<int>(msg.wParam));  // for the outer loop
        break;
      }
      idle_sent = false;
      Mouse kind = mouse_kind(msg.message);
      if (kind != Mouse::none) {
        on_mouse(kind, msg.pt);
        continue;
      }
      switch (msg.message) {
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
          on_key(msg);
          continue;
        case WM_KEYUP:
        case WM_SYSKEYUP:
          continue;
        case WM_CHAR:
        case WM_SYSCHAR:
          on_char(static_cast<char>(msg.wParam));
          continue;
        default:
          break;
      }
      DispatchMessageA(&msg);
      if (!done_ && GetCapture() != req_.owner) done_ = true;  // someone took the mouse: cancel
    }
  }

  void finish() {
    close_to(0);
    if (bar_mode_ && IsWindow(req_.owner)) set_bar_highlight(req_.owner, -1);
    if (GetCapture() == req_.owner) ReleaseCapture();
    notify(WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    notify(WM_EXITMENULOOP, bar_mode_ ? FALSE : TRUE, 0);
  }

  TrackRequest req_;
  bool notify_;
  bool bar_mode_;
  std::vector<Level> levels_;
  Menu bar_;
  BarGeometry geometry_;
  int bar_selected_ = -1;
  bool done_ = false;
  UINT result_ = 0;
  bool result_system_ = false;
  POINT last_pt_{};
};

}  // namespace

TrackResult track(const TrackRequest& request) {
  if (current_tracker) return {};
  if (!IsWindow(request.owner) || GetWindowThreadProcessId(request.owner, nullptr) != GetCurrentThreadId())
    return {};
  HMENU shown = request.bar ? request.bar : request.popup;
  if (!IsMenu(shown)) return {};
  Tracker tracker(request);
  return tracker.run();
}

bool end_tracking() {
  if (!current_tracker) return false;
  current_tracker->end();
  return true;
}

}  // namespace platform::controls::menu
