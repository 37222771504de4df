// PictureBox: the picture box unit object, a window of its own class showing one picture.
// Contract: create() builds the native window (hidden: window building shows it) from a
// property data block and answers null for an unreadable or newer block or when the window
// cannot be made. The picture property keeps the bytes written, picture or not; an animated
// GIF plays (when play animation is on) on a player of its own, which is replaced whenever the
// picture, the display mode or the background colour changes and is stopped before the window
// goes. Display mode 3 (from the block only) sizes the box so that its client area is the
// picture's size, whenever a picture is shown. set/get take own property indexes: 0 border
// style, 1 background colour, 2 picture, 3 display mode (written values clamped to 0-2),
// 4 play animation, 5 data source, 6 data column. Like every unit operation they run on the
// window's thread (property access carries a worker's request there).
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "ui/picture/picture_content.h"
#include "ui/picture_box/box_animation.h"
#include "ui/picture_box/picture_box_properties.h"
#include "ui/units/unit.h"
#include "ui/units/unit_interface.h"

namespace ui {

class PictureBox final : public Unit {
 public:
  static PictureBox* create(const UnitCreateArgs& args);

  int set(std::int32_t own_index, const PropertyPair& value);
  int get(std::int32_t own_index, PropertyPair* value);
  std::vector<std::uint8_t> serialize() const;

  // The running animation's frame count so far; 0 without one.
  std::uint64_t animation_frames() const { return animation_ ? animation_->frames_drawn() : 0; }
  bool animating() const { return animation_ && animation_->running(); }

 protected:
  LRESULT handle_message(UINT msg, WPARAM wp, LPARAM lp) override;
  void on_destroyed() override { animation_.reset(); }

 private:
  PictureBox(std::uint32_t window_id, std::uint32_t unit_id, PictureBoxProperties properties);

  // Stores the bytes and shows their picture (or nothing).
  void show_picture(std::span<const std::uint8_t> bytes);
  // A new player for the current animation, mode and background (none when not animated).
  void restart_animation();
  void fit_box_to_picture();
  void paint();

  PictureBoxProperties properties_;  // its picture field stays empty: content_ holds the bytes
  lyr::picture::PictureContent content_;
  std::unique_ptr<BoxAnimation> animation_;  // last: stopped before the rest goes
};

}  // namespace ui
