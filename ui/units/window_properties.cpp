#include "ui/units/window_properties.h"

namespace ui {
std::optional<WindowProperties> WindowProperties::parse(std::span<const std::uint8_t> block) {
  PropertyReader r(block);
  const auto version = r.u32();
  if (!version || *version > kWindowPropertiesVersion) return std::nullopt;
  WindowProperties p;
  bool ok = r.field(p.border_style) && r.field(p.picture_mode) && r.field(p.background) &&
            r.field(p.maximise_box) && r.field(p.minimise_box) && r.field(p.control_box) &&
            r.field(p.position) && r.field(p.movable) && r.field(p.sound_mode) &&
            r.field(p.enter_moves_focus) && r.field(p.escape_closes) && r.field(p.f1_help) &&
            r.field(p.help_context);
  if (ok && *version >= 2) ok = r.field(p.kept_flag_v2);
  if (ok && *version >= 3) ok = r.field(p.drag_by_client) && r.field(p.shape);
  if (ok && *version >= 4) ok = r.field(p.always_on_top);
  if (ok && *version >= 5) ok = r.field(p.kept_flag_v5);
  if (ok && *version >= 6) ok = r.field(p.class_name);
  ok = ok && r.field(p.background_picture) && r.field(p.icon) && r.field(p.sound) && r.field(p.title) &&
       r.field(p.help_file);
  if (!ok) return std::nullopt;
  p.shape = clamp_choice(p.shape, 0, kLastWindowShape);
  return p;
}

std::vector<std::uint8_t> WindowProperties::serialize() const {
  const WindowProperties& p = *this;
  lyr::ByteWriter w;
  w.u32(kWindowPropertiesVersion);
  w.i32(p.border_style);
  w.i32(p.picture_mode);
  w.u32(p.background);
  w.u32(p.maximise_box);
  w.u32(p.minimise_box);
  w.u32(p.control_box);
  w.i32(p.position);
  w.u32(p.movable);
  w.i32(p.sound_mode);
  w.u32(p.enter_moves_focus);
  w.u32(p.escape_closes);
  w.u32(p.f1_help);
  w.i32(p.help_context);
  w.u32(p.kept_flag_v2);
  w.u32(p.drag_by_client);
  w.i32(p.shape);
  w.u32(p.always_on_top);
  w.u32(p.kept_flag_v5);
  w.counted_text(p.class_name);
  w.counted(p.background_picture);
  w.counted(p.icon);
  w.counted(p.sound);
  w.counted_text(p.title);
  w.counted_text(p.help_file);
  return w.take();
}

}  // namespace ui
