// The button unit: a native "BUTTON" push button with its property set.
// Contract:
// - create builds the button from a property data block (null for an unreadable or newer
//   block): multi-line caption, the type (default button) and both alignments as styles, the
//   picture, when it decodes, as the button's icon (icons and cursors) or bitmap (others,
//   rendered on the button face), and the font.
// - A click (BN_CLICKED) raises event 0; gaining and losing the focus raise -7 and -8.
// - Own property indexes: 0 picture, 1 type, 2 caption, 3 horizontal and 4 vertical alignment,
//   5 font. Changing the picture asks for re-creation (set answers 1); an unchanged picture
//   and every other property are applied in place.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "ui/picture/picture_content.h"
#include "ui/units/button_properties.h"
#include "ui/units/unit.h"
#include "ui/units/unit_interface.h"
#include "ui/units/unit_values.h"

namespace ui {

class ButtonUnit final : public Unit {
 public:
  ButtonUnit(std::uint32_t window_id, std::uint32_t unit_id, ButtonProperties properties);

  static ButtonUnit* create(const UnitCreateArgs& args);

  int set(std::int32_t own_index, const PropertyPair& value);
  int get(std::int32_t own_index, PropertyPair* value) const;
  std::vector<std::uint8_t> serialize() const { return properties_.serialize(); }
  // The native style is a default push button.
  bool is_default_button() const;

 protected:
  LRESULT handle_message(UINT msg, WPARAM wp, LPARAM lp) override;
  bool on_reflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) override;

 private:
  // Type and alignment bits of the style.
  DWORD layout_style() const;
  void restyle();

  ButtonProperties properties_;
  UnitFont font_;
  lyr::picture::PictureContent picture_;
};

}  // namespace ui
