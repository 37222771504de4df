// The list view unit: a unit object over a "SysListView32" control, built from its property
// set, answering property access by own index (index - 8) and raising the list view's events.
// Contract:
// - create() reads the property data block (a version above 1 or a damaged block fails, and
//   nothing is left behind), creates the control under args.parent and applies every stored
//   property; null on failure. The object then belongs to its control (see ui::Unit).
// - set_property answers 1 when the unit must be re-created for the change to show, else 0;
//   an unknown index changes nothing. get_property answers 0 for an unknown index; data and
//   text pointers it hands out stay valid until the next call on the unit.
// - In design mode colours and the current selection are answered from the stored values.
// - Events: 0 focused row changed, 1 row activated, 2 column clicked (column), 3 hot row
//   (row), 4 click, 5 right click, 6 label edit starts (row; false cancels), 7 label edit ends
//   (row; false rejects, the new text is EditedText meanwhile), 8 check box toggled (row, new
//   state), -7 focus gained, -8 focus lost. A handler may destroy the unit; nothing of the
//   object is touched after that.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/api/listview.h"
#include "ui/listview/listview_properties.h"
#include "ui/units/unit.h"
#include "ui/units/unit_interface.h"
#include "ui/units/unit_values.h"

namespace ui::listview {

// Posted to the control with a row whose check box was clicked; read once the control has
// toggled it.
inline constexpr UINT kMsgCheckToggled = WM_USER + 1;

class ListViewUnit final : public Unit {
 public:
  static ListViewUnit* create(const UnitCreateArgs& args, bool design_mode = false);

  int set_property(std::int32_t own_index, const PropertyPair& value);
  int get_property(std::int32_t own_index, PropertyPair* value);
  std::vector<std::uint8_t> serialize() const { return properties_.serialize(); }

  const ListViewProperties& properties() const { return properties_; }

 protected:
  LRESULT handle_message(UINT msg, WPARAM wp, LPARAM lp) override;
  bool on_reflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) override;
  void on_destroyed() override;

 private:
  ListViewUnit(std::uint32_t window_id, std::uint32_t unit_id, ListViewProperties properties,
               bool design_mode)
      : Unit(window_id, unit_id), properties_(std::move(properties)), design_mode_(design_mode) {}

  // Creation and the setters share these.
  void apply_font();
  void apply_item_images();
  void apply_state_images();
  void apply_header_images();
  void replace_image_list(int which, HIMAGELIST images, bool* ours);
  void apply_colours();
  void apply_hot_cursor();
  void apply_rows();
  void apply_selection();
  void set_style_bit(DWORD bit, bool on);
  void repaint();

  bool on_notify(const NMHDR& header, LPARAM lp, LRESULT* result);
  bool on_begin_edit(const NMLVDISPINFOA& info, LRESULT* result);
  bool on_end_edit(const NMLVDISPINFOA& info, LRESULT* result);
  void on_info_tip(NMLVGETINFOTIPA& tip) const;
  void check_box_clicked(const NMITEMACTIVATE& click);
  // After an event: the unit still exists (its handler may have destroyed it).
  static bool still_alive(HWND list, const ListViewUnit* unit);

  ListViewProperties properties_;
  bool design_mode_ = false;
  UnitFont font_;
  HIMAGELIST header_images_ = nullptr;  // the header control does not own its list
  bool item_images_set_ = false;        // the control owns the lists set through it
  bool state_images_set_ = false;
  std::vector<std::string> tips_;
  std::string edited_text_;
};

}  // namespace ui::listview
