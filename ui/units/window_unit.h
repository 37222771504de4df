// The window unit: a program window's own native top-level window with its property set.
// Contract:
// - create() registers the window class on first use (the class-name property, or "VxWindow"),
//   creates the window from the property data block (styles of window_styles.h; position 1
//   centred on the screen, 2 minimised, 3 maximised with a sizing border), moves it back to the
//   template size if the system changed it, and applies icon, font, always-on-top, the Move
//   item and the shape. It does not show the window. Null for an unreadable or newer block.
// - Events (raised with the window's own unit id): 12 then 1 on WM_CLOSE (a handler returning
//   0 refuses, except for windows built as a new instance); then the windows a modal window
//   disabled are re-enabled and the window is destroyed. 1 on WM_QUERYENDSESSION, 2 WM_DESTROY,
//   3 WM_MOVE, 4 WM_SIZE, 8 the first activation, 10/11 WM_SHOWWINDOW, -7/-8 focus.
// - Menu commands (WM_COMMAND without a control, id >= 20000) go to the window's menu records.
// - get/set take own property indexes (window_properties.h); set answers 0: the window is
//   never re-created, every change is applied to the live window.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "ui/picture/picture_content.h"
#include "ui/units/unit.h"
#include "ui/units/unit_interface.h"
#include "ui/units/window_icon.h"
#include "ui/units/window_properties.h"

namespace ui {

inline constexpr const char* kDefaultWindowClass = "VxWindow";

class WindowUnit final : public Unit {
 public:
  static WindowUnit* create(const UnitCreateArgs& args);

  const WindowProperties& properties() const { return properties_; }
  // Windows built as a new instance cannot refuse to close.
  void set_new_instance(bool value) { new_instance_ = value; }

  int get(std::int32_t own_index, PropertyPair* value);
  int set(std::int32_t own_index, const PropertyPair& value);
  std::vector<std::uint8_t> serialize() const { return properties_.serialize(); }
  WindowSwitches switches() const;

 protected:
  LRESULT handle_message(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  WindowUnit(std::uint32_t window_id, std::uint32_t unit_id, WindowProperties properties);

  // The window's index in the window collection, when it is one of the program's windows.
  std::optional<std::size_t> window_index() const;

  LRESULT on_close();
  void on_activate(WPARAM wp);
  void paint();
  void apply_styles();
  void apply_icon();
  void apply_movable();
  void apply_shape();
  void apply_always_on_top();
  void apply_position();

  WindowProperties properties_;
  lyr::picture::PictureContent background_;
  WindowIcon icon_;
  bool new_instance_ = false;
  bool activated_once_ = false;
};

}  // namespace ui
