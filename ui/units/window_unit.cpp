#include "ui/units/window_unit.h"

#include <algorithm>

#include "platform/api/gdi.h"
#include "platform/api/kernel.h"
#include "platform/api/menu.h"
#include "platform/api/messages.h"
#include "platform/api/user.h"
#include "ui/state/menu_builder.h"
#include "ui/state/modal.h"
#include "ui/templates/window_collection.h"
#include "ui/units/property_pair_values.h"
#include "ui/units/window_class.h"
#include "ui/units/window_styles.h"

namespace ui {
namespace {

constexpr WPARAM kIconSmall = 0;
constexpr WPARAM kIconBig = 1;

namespace event {
constexpr std::int32_t kMayClose = 1;
constexpr std::int32_t kDestroying = 2;
constexpr std::int32_t kMoved = 3;
constexpr std::int32_t kResized = 4;
constexpr std::int32_t kFirstActivation = 8;
constexpr std::int32_t kShown = 10;
constexpr std::int32_t kHidden = 11;
constexpr std::int32_t kCloseRequested = 12;
constexpr std::int32_t kFocusGained = -7;
constexpr std::int32_t kFocusLost = -8;
}  // namespace event

// A handler that returned logical false.
bool refused(const EventOutcome& outcome) {
  return outcome.result_present && outcome.result == 0;
}

WindowUnit* window_unit_of(void* object) {
  return dynamic_cast<WindowUnit*>(static_cast<Unit*>(object));
}

}  // namespace

WindowUnit::WindowUnit(std::uint32_t window_id, std::uint32_t unit_id, WindowProperties properties)
    : Unit(window_id, unit_id), properties_(std::move(properties)) {
  background_.set_bytes(properties_.background_picture, false);
}

WindowUnit* WindowUnit::create(const UnitCreateArgs& args) {
  std::optional<WindowProperties> parsed = WindowProperties::parse(args.properties);
  if (!parsed) return nullptr;
  const std::string class_name = parsed->class_name.empty() ? kDefaultWindowClass : parsed->class_name;
  if (!ensure_unit_class(class_name.c_str())) return nullptr;

  const HWND owner = args.owner != nullptr ? args.owner : args.parent;
  WindowStyles styles = window_styles(*parsed, owner != nullptr);
  styles.style |= args.extra_styles;
  int left = args.left;
  int top = args.top;
  switch (static_cast<WindowPosition>(parsed->position)) {
    case WindowPosition::centred:
      left = (GetSystemMetrics(SM_CXSCREEN) - args.width) / 2;
      top = (GetSystemMetrics(SM_CYSCREEN) - args.height) / 2;
      break;
    case WindowPosition::minimised:
      styles.style |= WS_MINIMIZE;
      break;
    case WindowPosition::maximised:
      if (has_sizing_border(parsed->border_style)) styles.style |= WS_MAXIMIZE;
      break;
    default:
      break;
  }

  HWND hwnd =
      CreateWindowExA(styles.ex_style, class_name.c_str(), parsed->title.c_str(), styles.style, left, top,
                      args.width, args.height, owner, args.menu, GetModuleHandleA(nullptr), nullptr);
  if (hwnd == nullptr) return nullptr;
  auto* unit = new WindowUnit(args.window_id, args.unit_id, std::move(*parsed));
  unit->attach(hwnd);

  // The system may have adjusted the size (minimum track size, a menu bar): the template wins.
  RECT r{};
  GetWindowRect(hwnd, &r);
  if (!IsIconic(hwnd) && !IsZoomed(hwnd) &&
      (r.right - r.left != args.width || r.bottom - r.top != args.height))
    SetWindowPos(hwnd, nullptr, 0, 0, args.width, args.height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  unit->apply_icon();
  unit->apply_always_on_top();
  unit->apply_movable();
  unit->apply_shape();
  return unit;
}

std::optional<std::size_t> WindowUnit::window_index() const {
  const int index = templates::window_collection().find(window_id());
  if (index < 0) return std::nullopt;
  return static_cast<std::size_t>(index);
}

WindowSwitches WindowUnit::switches() const {
  WindowSwitches s;
  s.enter_moves_focus = properties_.enter_moves_focus;
  s.escape_closes = properties_.escape_closes;
  s.f1_help = properties_.f1_help;
  s.drag_by_client = properties_.drag_by_client;
  s.help_context = properties_.help_context;
  s.help_file = properties_.help_file.c_str();
  return s;
}

// ---- properties ----------------------------------------------------------------------------

int WindowUnit::get(std::int32_t own, PropertyPair* value) {
  if (own == window_property::kPosition) {
    std::int32_t state = 0;
    if (hwnd() != nullptr && IsIconic(hwnd()))
      state = 2;
    else if (hwnd() != nullptr && IsZoomed(hwnd()))
      state = 3;
    *value = int_pair(state);
    return 1;
  }
  return get_property(kWindowPropertyTable, properties_, own, value) ? 1 : 0;
}

int WindowUnit::set(std::int32_t own, const PropertyPair& value) {
  namespace wp = window_property;
  WindowProperties& p = properties_;
  if (own == wp::kBackgroundPicture) {
    replace_background_picture(p.background_picture, background_, value);
    InvalidateRect(hwnd(), nullptr, TRUE);
    return 0;
  }
  const auto* row = set_property(kWindowPropertyTable, p, own, value);
  if (row == nullptr) return 0;
  switch (row->own_index) {
    case wp::kTitle:
      SetWindowTextA(hwnd(), p.title.c_str());
      apply_styles();
      break;
    case wp::kBorderStyle:
    case wp::kControlBox:
    case wp::kMaximiseBox:
    case wp::kMinimiseBox:
      apply_styles();
      break;
    case wp::kBackground:
    case wp::kPictureMode:
      InvalidateRect(hwnd(), nullptr, TRUE);
      break;
    case wp::kPosition:
      apply_position();
      break;
    case wp::kMovable:
      apply_movable();
      break;
    case wp::kIcon:
      apply_icon();
      break;
    case wp::kShape:
      p.shape = clamp_choice(p.shape, 0, kLastWindowShape);
      apply_shape();
      break;
    case wp::kAlwaysOnTop:
      apply_always_on_top();
      break;
    default:
      break;  // kept, or used when next created (class name)
  }
  return 0;
}

void WindowUnit::apply_styles() {
  set_window_styles(hwnd(), window_styles(properties_, GetWindow(hwnd(), GW_OWNER) != nullptr));
}

void WindowUnit::apply_icon() {
  icon_ = WindowIcon(properties_.icon);
  SendMessageA(hwnd(), WM_SETICON, kIconBig, reinterpret_cast<LPARAM>(icon_.handle()));
  SendMessageA(hwnd(), WM_SETICON, kIconSmall, reinterpret_cast<LPARAM>(icon_.handle()));
}

void WindowUnit::apply_movable() {
  // Start from the standard system menu so that turning it back on brings the item back.
  GetSystemMenu(hwnd(), TRUE);
  if (properties_.movable) return;
  if (HMENU menu = GetSystemMenu(hwnd(), FALSE)) DeleteMenu(menu, SC_MOVE, MF_BYCOMMAND);
}

void WindowUnit::apply_shape() {
  RECT r{};
  GetWindowRect(hwnd(), &r);
  SetWindowRgn(hwnd(), window_shape_region(properties_.shape, r.right - r.left, r.bottom - r.top), TRUE);
}

void WindowUnit::apply_always_on_top() {
  constexpr UINT kPlaceOnly = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
  if (properties_.always_on_top) {
    SetWindowPos(hwnd(), HWND_TOPMOST, 0, 0, 0, 0, kPlaceOnly);
    return;
  }
  SetWindowPos(hwnd(), HWND_NOTOPMOST, 0, 0, 0, 0, kPlaceOnly);
  // Leaving the topmost band must not take the program's other topmost windows with it.
  templates::WindowCollection& windows = templates::window_collection();
  for (std::size_t i = 0; i < windows.size(); ++i) {
    const templates::WindowSlots& slots = windows.slots(i);
    if (slots.unit_objects.empty()) continue;
    WindowUnit* other = window_unit_of(slots.unit_objects[0].load());
    if (other == nullptr || other == this || other->hwnd() == nullptr || !IsWindow(other->hwnd())) continue;
    if (other->properties_.always_on_top) SetWindowPos(other->hwnd(), HWND_TOPMOST, 0, 0, 0, 0, kPlaceOnly);
  }
}

void WindowUnit::apply_position() {
  switch (static_cast<WindowPosition>(properties_.position)) {
    case WindowPosition::centred: {
      RECT r{};
      GetWindowRect(hwnd(), &r);
      const int w = r.right - r.left;
      const int h = r.bottom - r.top;
      SetWindowPos(hwnd(), nullptr, (GetSystemMetrics(SM_CXSCREEN) - w) / 2,
                   (GetSystemMetrics(SM_CYSCREEN) - h) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      break;
    }
    case WindowPosition::minimised:
      ShowWindow(hwnd(), SW_MINIMIZE);
      break;
    case WindowPosition::maximised:
      if (has_sizing_border(properties_.border_style)) ShowWindow(hwnd(), SW_MAXIMIZE);
      break;
    default:
      if (IsIconic(hwnd()) || IsZoomed(hwnd())) ShowWindow(hwnd(), SW_RESTORE);
      break;
  }
}

// ---- messages ------------------------------------------------------------------------------

LRESULT WindowUnit::on_close() {
  const HWND self = hwnd();
  const bool may_refuse = !new_instance_;
  const std::optional<std::size_t> index = window_index();
  // A handler may destroy the window (and this object) itself: only the handle is used after.
  if (refused(raise(event::kCloseRequested)) && may_refuse) return 0;
  if (!IsWindow(self)) return 0;
  if (refused(raise(event::kMayClose)) && may_refuse) return 0;
  if (!IsWindow(self)) return 0;
  if (index) end_modal(*index);
  DestroyWindow(self);
  return 0;
}

void WindowUnit::on_activate(WPARAM wp) {
  if (LOWORD(wp) == WA_INACTIVE) return;
  if (!activated_once_) {
    activated_once_ = true;
    raise(event::kFirstActivation);
    return;
  }
  if (IsWindowEnabled(hwnd())) return;
  // Disabled by a modal window of the program: that one is brought forward instead.
  templates::WindowCollection& windows = templates::window_collection();
  for (std::size_t i = 0; i < windows.size(); ++i) {
    if (!is_modal(i)) continue;
    HWND modal = windows.slots(i).native.load();
    if (modal != nullptr && modal != hwnd() && IsWindow(modal) && IsWindowVisible(modal) &&
        IsWindowEnabled(modal)) {
      SetActiveWindow(modal);
      return;
    }
  }
}

void WindowUnit::paint() {
  PAINTSTRUCT ps{};
  HDC dc = BeginPaint(hwnd(), &ps);
  if (dc == nullptr) return;
  RECT client{};
  GetClientRect(hwnd(), &client);
  HBRUSH brush = CreateSolidBrush(resolve_colour(properties_.background));
  FillRect(dc, &client, brush);
  DeleteObject(brush);
  if (const lyr::picture::RenderedPicture* picture = background_.rendered(properties_.background))
    lyr::picture::draw_background_picture(dc, *picture, properties_.picture_mode, client.right,
                                          client.bottom);
  EndPaint(hwnd(), &ps);
}

LRESULT WindowUnit::handle_message(UINT msg, WPARAM wp, LPARAM lp) {
  // Events go last in each case: a handler may destroy the window and with it this object.
  switch (msg) {
    case WM_CLOSE:
      return on_close();
    case WM_QUERYENDSESSION:
      return refused(raise(event::kMayClose)) ? FALSE : TRUE;
    case WM_ERASEBKGND:
      return 1;  // WM_PAINT fills the whole client area
    case WM_PAINT:
      paint();
      return 0;
    case WM_GETICON:
      return reinterpret_cast<LRESULT>(icon_.handle());
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(GetStockObject(DEFAULT_GUI_FONT));
    case WM_COMMAND:
      if (lp == 0 && LOWORD(wp) >= kFirstMenuCommand) {
        if (std::optional<std::size_t> index = window_index()) dispatch_menu_command(*index, LOWORD(wp));
        return 0;
      }
      break;
    case WM_SIZE: {
      if (properties_.shape != 0 && wp != SIZE_MINIMIZED) apply_shape();
      const LRESULT result = call_previous(msg, wp, lp);
      raise(event::kResized);
      return result;
    }
    case WM_ACTIVATE: {
      const LRESULT result = call_previous(msg, wp, lp);
      on_activate(wp);
      return result;
    }
    case WM_DESTROY:
    case WM_MOVE:
    case WM_SHOWWINDOW:
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
      const LRESULT result = call_previous(msg, wp, lp);
      std::int32_t e = 0;
      if (msg == WM_DESTROY)
        e = event::kDestroying;
      else if (msg == WM_MOVE)
        e = event::kMoved;
      else if (msg == WM_SHOWWINDOW)
        e = wp ? event::kShown : event::kHidden;
      else if (msg == WM_SETFOCUS)
        e = event::kFocusGained;
      else
        e = event::kFocusLost;
      raise(e);
      return result;
    }
    default:
      break;
  }
  return call_previous(msg, wp, lp);
}

}  // namespace ui
