// The edit box unit: a native "EDIT" control with its property set, input modes and an
// optional adjuster (an up-down control beside a single-line box).
// Contract:
// - create builds the box from a property data block (null for an unreadable or newer block).
// - Event 0 (content changed) fires for every change of the text (EN_CHANGE), except that a
//   content write fires it exactly once itself, whatever the control reports meanwhile.
// - Focus: gaining it raises -7; losing it first rewrites the text of modes 5-11 (keeping the
//   caret), then raises -8. Typed characters are filtered by the input mode.
// - Own property indexes: 0 content, 1 border style, 2 text colour, 3 background colour, 4 font,
//   5 hide selection, 6 maximum length, 7 multi-line, 8 scroll bars, 9 alignment, 10 input
//   mode, 11 password character, 12 case conversion, 13 adjuster, 14 adjuster minimum,
//   15 adjuster maximum, 16 selection start, 17 selection length, 18 selected text, 19 data
//   source, 20 data column. Changing 5, 7, 8, 9, 12 or 13 asks for re-creation (set answers 1);
//   writing the value they already have does not.
// - A single-line box keeps its text vertically centred by enlarging its non-client area.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "ui/units/edit_input_mode.h"
#include "ui/units/edit_properties.h"
#include "ui/units/unit.h"
#include "ui/units/unit_interface.h"
#include "ui/units/unit_values.h"

namespace ui {

class EditUnit final : public Unit {
 public:
  EditUnit(std::uint32_t window_id, std::uint32_t unit_id, EditProperties properties);
  ~EditUnit() override;

  static EditUnit* create(const UnitCreateArgs& args);

  int set(std::int32_t own_index, const PropertyPair& value);
  int get(std::int32_t own_index, PropertyPair* value);
  // The current state, content and selection included, as a new property data block.
  std::vector<std::uint8_t> serialize() const;
  // Enter stays with a multi-line box that is not read-only.
  bool wants_key(std::uint32_t key) const;
  // The up-down control beside the box, or null.
  HWND adjuster() const { return adjuster_; }

 protected:
  LRESULT handle_message(UINT msg, WPARAM wp, LPARAM lp) override;
  bool on_reflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) override;
  void on_destroyed() override;

 private:
  DWORD creation_style() const;
  std::string window_text() const;
  void write_content(std::string_view text);
  void select(std::int32_t start, std::int32_t length);
  std::pair<std::int32_t, std::int32_t> selection() const;
  void make_brush();
  void apply_font();
  void apply_input_mode();
  void create_adjuster(const UnitCreateArgs& args);
  void place_adjuster();
  void reformat_on_focus_loss();
  void centre_text(RECT& client) const;

  EditProperties properties_;
  UnitFont font_;
  int font_height_ = 0;
  HBRUSH brush_ = nullptr;
  HWND adjuster_ = nullptr;
  TypedCharFilter filter_;
  bool writing_content_ = false;
  std::string read_buffer_;  // what the last text read handed out
};

}  // namespace ui
