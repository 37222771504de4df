#include "ui/picture_box/picture_box_properties.h"

#include "ui/units/unit_values.h"

namespace ui {
namespace {

constexpr auto kFields = [](auto& p, auto&& each, std::uint32_t version) {
  return each(p.border_style) && each(p.background) && each(p.mode) && each(p.play_animation) &&
         each(p.picture) && (version < 2 || (each(p.data_source) && each(p.data_column)));
};

}  // namespace

std::optional<PictureBoxProperties> PictureBoxProperties::parse(std::span<const std::uint8_t> block) {
  return read_block<PictureBoxProperties>(block, kPictureBoxVersion, kFields);
}

std::vector<std::uint8_t> PictureBoxProperties::serialize() const {
  return write_block(*this, kPictureBoxVersion, kFields);
}

}  // namespace ui
