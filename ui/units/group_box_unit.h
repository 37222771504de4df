// The group box unit: a native "BUTTON" group box with its property set.
// Contract:
// - create builds the group box from a property data block (null for an unreadable or newer
//   block) with the caption alignment as style and the font through WM_SETFONT.
// - The box answers its own WM_CTLCOLORSTATIC with its text colour and a brush of its
//   background colour (the default colour is the button face).
// - Own property indexes: 0 caption, 1 caption alignment, 2 text colour, 3 background colour,
//   4 font; all are applied in place, none asks for re-creation.
#pragma once

#include <cstdint>
#include <vector>

#include "ui/units/group_box_properties.h"
#include "ui/units/unit.h"
#include "ui/units/unit_interface.h"
#include "ui/units/unit_values.h"

namespace ui {

class GroupBoxUnit final : public Unit {
 public:
  GroupBoxUnit(std::uint32_t window_id, std::uint32_t unit_id, GroupBoxProperties properties);
  ~GroupBoxUnit() override;

  static GroupBoxUnit* create(const UnitCreateArgs& args);

  int set(std::int32_t own_index, const PropertyPair& value);
  int get(std::int32_t own_index, PropertyPair* value) const;
  std::vector<std::uint8_t> serialize() const { return properties_.serialize(); }

 protected:
  bool on_reflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) override;

 private:
  void make_brush();

  GroupBoxProperties properties_;
  UnitFont font_;
  HBRUSH brush_ = nullptr;
};

}  // namespace ui
