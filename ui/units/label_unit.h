// The label unit: a child window of its own class that paints itself (label_painter.h).
// Contract:
// - create() builds the label from its property data block (null for an unreadable or newer
//   block) as a child of the parent with the shared border styles 0-5 (style 6 is painted);
//   the caption is also the window text, so that mnemonics in it can be found.
// - get/set take own property indexes (label_properties.h); set clamps choices as the type
//   requires, raises a frame width below 5 to 5, repaints, and answers 0 (never re-created).
#pragma once

#include <cstdint>
#include <vector>

#include "ui/picture/picture_content.h"
#include "ui/units/label_properties.h"
#include "ui/units/unit.h"
#include "ui/units/unit_interface.h"
#include "ui/units/unit_values.h"

namespace ui {

inline constexpr const char* kLabelClass = "LyrLabel";

class LabelUnit final : public Unit {
 public:
  static LabelUnit* create(const UnitCreateArgs& args);

  const LabelProperties& properties() const { return properties_; }
  HFONT font() const { return font_.handle(); }

  int get(std::int32_t own_index, PropertyPair* value);
  int set(std::int32_t own_index, const PropertyPair& value);
  std::vector<std::uint8_t> serialize() const { return properties_.serialize(); }

 protected:
  LRESULT handle_message(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  LabelUnit(std::uint32_t window_id, std::uint32_t unit_id, LabelProperties properties);
  void paint();
  void repaint();

  LabelProperties properties_;
  UnitFont font_;
  lyr::picture::PictureContent background_;
};

}  // namespace ui
