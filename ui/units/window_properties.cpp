#include "ui/units/window_properties.h"

namespace ui {
namespace {

constexpr auto kFields = [](auto& p, auto&& each, std::uint32_t version) {
  return each(p.border_style) && each(p.picture_mode) && each(p.background) && each(p.maximise_box) &&
         each(p.minimise_box) && each(p.control_box) && each(p.position) && each(p.movable) &&
         each(p.sound_mode) && each(p.enter_moves_focus) && each(p.escape_closes) && each(p.f1_help) &&
         each(p.help_context) && (version < 2 || each(p.kept_flag_v2)) &&
         (version < 3 || (each(p.drag_by_client) && each(p.shape))) &&
         (version < 4 || each(p.always_on_top)) && (version < 5 || each(p.kept_flag_v5)) &&
         (version < 6 || each(p.class_name)) && each(p.background_picture) && each(p.icon) && each(p.sound) &&
         each(p.title) && each(p.help_file);
};

}  // namespace

std::optional<WindowProperties> WindowProperties::parse(std::span<const std::uint8_t> block) {
  auto p = read_block<WindowProperties>(block, kWindowPropertiesVersion, kFields);
  if (p) p->shape = clamp_choice(p->shape, 0, kLastWindowShape);
  return p;
}

std::vector<std::uint8_t> WindowProperties::serialize() const {
  return write_block(*this, kWindowPropertiesVersion, kFields);
}

}  // namespace ui
