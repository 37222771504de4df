#include "ui/windows/window_builder.h"

#include <vector>

#include "platform/api/input.h"
#include "platform/api/menu.h"
#include "platform/api/user.h"
#include "runtime/message_loop.h"
#include "ui/state/menu_builder.h"
#include "ui/state/modal.h"
#include "ui/templates/window_collection.h"
#include "ui/units/unit_interface.h"
#include "ui/units/window_unit.h"
#include "ui/windows/cursor_selector.h"
#include "ui/windows/unit_operations.h"
#include "ui/windows/unit_slots.h"
#include "ui/windows/z_order.h"

namespace ui {
namespace {

constexpr UINT kFirstControlId = 100;
constexpr UINT kControlIdStep = 10;

// Window events raised once the window is built.
constexpr std::int32_t kEventCreated = 0;
constexpr std::int32_t kEventMoved = 3;
constexpr std::int32_t kEventResized = 4;

class WindowBuild {
 public:
  WindowBuild(std::size_t window_index, bool new_instance, bool modal, HWND owner)
      : index_(window_index),
        collection_(templates::window_collection()),
        window_(collection_.window(window_index)),
        slots_(collection_.slots(window_index)),
        new_instance_(new_instance),
        modal_(modal),
        owner_(owner),
        visible_(window_.units.size(), false) {}

  bool run() {
    if (activate_existing()) return true;
    if (!modal_ && owner_ != nullptr && !IsWindow(owner_)) return false;
    slots_.built_units = window_.units;
    menu_ = build_menu_bar(index_);
    if (!create_units()) {
      abandon();
      return false;
    }
    reparent();
    for (std::size_t k = 1; k < unit_count(); ++k) place_in_z_order(index_, k);
    resolve_cursors();
    send_layout_messages();
    show_controls();
    install_accelerators();
    if (!raise_build_events()) return true;  // a handler closed the window: nothing left to finish
    if (visible_[0]) ShowWindow(native(), SW_SHOW);
    if (modal_) begin_modal(index_);
    set_up_pages();
    slots_.created = true;
    if (modal_) run_modal();
    return true;
  }

 private:
  std::size_t unit_count() const { return window_.units.size(); }
  bool is_control(std::size_t k) const { return !window_.units[k].is_menu(); }
  HWND native() const { return slots_.native.load(); }
  HWND unit_native(std::size_t k) const { return slots_.unit_natives[k].load(); }

  // Loading a window that is open only brings it forward: the slots hold one live instance.
  bool activate_existing() {
    HWND existing = native();
    if (existing == nullptr || !IsWindow(existing)) return false;
    if (IsIconic(existing)) {
      ShowWindow(existing, SW_RESTORE);
    } else {
      SetActiveWindow(existing);
    }
    return true;
  }

  HWND create_owner() const {
    if (!modal_) return owner_;
    // A modal window stays above the window that was active when it opened.
    HWND active = GetActiveWindow();
    return window_index_of_native(active) >= 0 ? active : nullptr;
  }

  bool create_units() {
    std::vector<std::size_t> order{0};
    for (std::size_t k = unit_count(); k-- > 1;) order.push_back(k);
    UINT control_id = kFirstControlId;
    for (std::size_t k : order) {
      if (!is_control(k)) continue;
      if (!create_unit(k, k == 0 ? 0 : control_id)) return false;
      if (k != 0) control_id += kControlIdStep;
    }
    return true;
  }

  bool create_unit(std::size_t k, UINT control_id) {
    const templates::UnitRecord& record = window_.units[k];
    const templates::ControlRecord& c = record.control();
    const runtime::UnitTypeDescriptor* type = unit_type_of(record);
    auto create = unit_operation<CreateOp>(type, kCreateOp);
    if (create == nullptr) return false;

    bool visible = (c.state_flags & templates::kVisible) != 0;
    bool disabled = (c.state_flags & templates::kDisabled) != 0;
    if (k == 0 && new_instance_) {
      visible = true;
      disabled = false;
    }
    if (type_state_bits(type) & kTypeStartsHidden) visible = false;
    visible_[k] = visible;

    UnitCreateArgs args;
    args.parent = k == 0 ? nullptr : native();
    args.properties = c.properties;
    args.extra_styles =
        (disabled ? WS_DISABLED : 0) | ((c.state_flags & templates::kTabStop) ? WS_TABSTOP : 0);
    args.control_id = control_id;
    args.menu = k == 0 ? menu_.bar : nullptr;
    args.left = c.left;
    args.top = c.top;
    args.width = c.width;
    args.height = c.height;
    args.window_id = window_.id;
    args.unit_id = record.id;
    args.owner = k == 0 ? create_owner() : nullptr;

    auto* unit = static_cast<Unit*>(create(args));
    if (unit == nullptr) return false;
    if (unit->hwnd() == nullptr || !IsWindow(unit->hwnd())) {
      unit->destroy();
      return false;
    }
    // The window unit consults the flag when it is asked to close.
    if (auto* window_unit = dynamic_cast<WindowUnit*>(unit); window_unit != nullptr && k == 0) {
      window_unit->set_new_instance(new_instance_);
    }
    store_unit_object(index_, k, unit);
    return true;
  }

  // A failed build leaves nothing behind: no half-built window that would keep the program alive.
  void abandon() {
    HWND window = native();
    if (window != nullptr && IsWindow(window)) {
      SetMenu(window, nullptr);
      DestroyWindow(window);
    }
    destroy_built_menu(menu_);
    reset_window_slots(index_);
  }

  void reparent() {
    for (std::size_t k = 1; k < unit_count(); ++k) {
      if (!is_control(k)) continue;
      const std::uint32_t parent_id = window_.units[k].control().parent_id;
      if (parent_id == 0) continue;
      const int parent = unit_index_of(index_, parent_id);
      if (parent <= 0 || !is_control(static_cast<std::size_t>(parent))) continue;
      HWND parent_native = unit_native(static_cast<std::size_t>(parent));
      if (parent_native != nullptr) SetParent(unit_native(k), parent_native);
    }
    // Page containers show their first page only.
    for (std::size_t k = 1; k < unit_count(); ++k) {
      if (!is_control(k) || !(type_state_bits(unit_type_of(window_.units[k])) & kTypePageContainer)) continue;
      bool later_page = false;
      for (std::uint32_t child : window_.units[k].control().child_ids) {
        if (child == 0) {
          later_page = true;
          continue;
        }
        const int child_index = unit_index_of(index_, child);
        if (later_page && child_index > 0) visible_[static_cast<std::size_t>(child_index)] = false;
      }
    }
  }

  void resolve_cursors() {
    for (std::size_t k = 0; k < unit_count(); ++k) {
      if (is_control(k)) set_unit_cursor(index_, k, window_.units[k].control().cursor_selector);
    }
  }

  void send_layout_messages() {
    for (std::size_t k = unit_count(); k-- > 0;) {
      if (is_control(k)) SendMessageA(unit_native(k), kMsgRereadData, 0, 0);
    }
    SendMessageA(native(), kMsgLayout, 0, 0);
  }

  void show_controls() {
    for (std::size_t k = 1; k < unit_count(); ++k) {
      if (is_control(k)) ShowWindow(unit_native(k), visible_[k] ? SW_SHOWNA : SW_HIDE);
    }
  }

  void install_accelerators() {
    if (slots_.accelerators != nullptr) DestroyAcceleratorTable(slots_.accelerators);
    slots_.accelerators = menu_.accelerators;
    slots_.menu_bar = menu_.bar;
    menu_ = {};
  }

  // False when the window is gone after a handler ran.
  bool raise_build_events() {
    for (std::int32_t event : {kEventCreated, kEventMoved, kEventResized}) {
      Unit* window_unit = live_unit(index_, 0);
      if (window_unit == nullptr) return false;
      window_unit->raise(event);
    }
    return live_unit(index_, 0) != nullptr;
  }

  void set_up_pages() {
    HWND noted = GetFocus();
    for (std::size_t k = unit_count(); k-- > 0;) {
      if (!is_control(k)) continue;
      if (HWND n = unit_native(k); n != nullptr) SendMessageA(n, kMsgPageSetup, 0, 0);
    }
    if (GetFocus() != noted && noted != nullptr && IsWindow(noted)) SetFocus(noted);
  }

  void run_modal() {
    runtime::run_modal_loop(window_.id);
    // The window unit re-enables the others when it closes; a window destroyed without closing
    // must not leave them disabled either.
    HWND window = native();
    if (window == nullptr || !IsWindow(window)) end_modal(index_);
  }

  std::size_t index_;
  templates::WindowCollection& collection_;
  const templates::WindowTemplate& window_;
  templates::WindowSlots& slots_;
  bool new_instance_;
  bool modal_;
  HWND owner_;
  std::vector<bool> visible_;
  BuiltMenu menu_;
};

}  // namespace

bool create_window(std::size_t window_index, bool new_instance, bool modal, HWND owner) {
  if (window_index >= templates::window_collection().size()) return false;
  return WindowBuild(window_index, new_instance, modal, owner).run();
}

bool load_window(std::uint32_t window_id, bool new_instance, bool modal, HWND owner) {
  const int index = window_index_of(window_id);
  if (index < 0) return false;
  return create_window(static_cast<std::size_t>(index), new_instance, modal, owner);
}

void rebuild_menu(std::size_t window_index) {
  templates::WindowCollection& collection = templates::window_collection();
  if (window_index >= collection.size()) return;
  templates::WindowSlots& slots = collection.slots(window_index);
  HWND window = slots.native.load();
  // A window that is not open gets its menu from the records when it is built.
  if (window == nullptr || !IsWindow(window)) return;
  HMENU old_bar = slots.menu_bar;
  HACCEL old_accelerators = slots.accelerators;
  BuiltMenu built = build_menu_bar(window_index);
  SetMenu(window, built.bar);
  DrawMenuBar(window);
  slots.menu_bar = built.bar;
  slots.accelerators = built.accelerators;
  if (old_bar != nullptr) DestroyMenu(old_bar);
  if (old_accelerators != nullptr) DestroyAcceleratorTable(old_accelerators);
}

}  // namespace ui
