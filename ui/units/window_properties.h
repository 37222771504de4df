// The window unit's property set and its property data block (current version 6).
// Contract: parse reads a block of any version from 1 to 6 (fields that a
// version lacks keep their defaults) and answers nullopt for a newer version or a truncated block
// (bytes after the last field are ignored); a stored shape is clamped to 0-29. serialize always writes
// version 6, in stored order: border, picture mode, background, maximise, minimise, control box, position,
// movable, sound mode, Enter moves focus, Esc closes, F1 help, help context, kept flag (v2), drag by
// client, shape (v3), always on top (v4), kept flag (v5), class name (v6), background picture, icon,
// sound, title, help file.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/api/types.h"
#include "ui/units/property_table.h"
#include "ui/units/unit_values.h"

namespace ui {

inline constexpr std::uint32_t kWindowPropertiesVersion = 6;
inline constexpr std::int32_t kLastWindowShape = 29;

// Own property indexes (property index - 8).
namespace window_property {
inline constexpr std::int32_t kTitle = 0;
inline constexpr std::int32_t kBorderStyle = 1;
inline constexpr std::int32_t kBackground = 2;
inline constexpr std::int32_t kBackgroundPicture = 3;
inline constexpr std::int32_t kPictureMode = 4;
inline constexpr std::int32_t kSound = 5;
inline constexpr std::int32_t kSoundMode = 6;
inline constexpr std::int32_t kControlBox = 7;
inline constexpr std::int32_t kMaximiseBox = 8;
inline constexpr std::int32_t kMinimiseBox = 9;
inline constexpr std::int32_t kPosition = 10;
inline constexpr std::int32_t kMovable = 11;
inline constexpr std::int32_t kIcon = 12;
inline constexpr std::int32_t kEnterMovesFocus = 13;
inline constexpr std::int32_t kEscapeCloses = 14;
inline constexpr std::int32_t kF1Help = 15;
inline constexpr std::int32_t kHelpFile = 16;
inline constexpr std::int32_t kHelpContext = 17;
// Two window options that blocks of versions 2 and 5 added and that nothing here acts on: a write
// keeps the value, a read returns it, and the block carries it on.
inline constexpr std::int32_t kKeptFlagOfVersion2 = 18;
inline constexpr std::int32_t kDragByClient = 19;
inline constexpr std::int32_t kShape = 20;
inline constexpr std::int32_t kAlwaysOnTop = 21;
inline constexpr std::int32_t kKeptFlagOfVersion5 = 22;
inline constexpr std::int32_t kClassName = 23;
inline constexpr std::int32_t kCount = 24;
}  // namespace window_property

// Window positions of property 18.
enum class WindowPosition : std::int32_t { as_template = 0, centred = 1, minimised = 2, maximised = 3 };

struct WindowProperties {
  std::string title;
  std::int32_t border_style = 2;
  COLORREF background = kDefaultColour;
  std::vector<std::uint8_t> background_picture;
  std::int32_t picture_mode = 1;
  std::vector<std::uint8_t> sound;
  std::int32_t sound_mode = 0;
  bool control_box = true;
  bool maximise_box = false;
  bool minimise_box = true;
  std::int32_t position = 1;
  bool movable = true;
  std::vector<std::uint8_t> icon;
  bool enter_moves_focus = false;
  bool escape_closes = false;
  bool f1_help = false;
  std::string help_file;
  std::int32_t help_context = 0;
  bool kept_flag_v2 = true;
  bool drag_by_client = false;
  std::int32_t shape = 0;
  bool always_on_top = false;
  bool kept_flag_v5 = false;
  std::string class_name;

  static std::optional<WindowProperties> parse(std::span<const std::uint8_t> block);
  std::vector<std::uint8_t> serialize() const;

  bool operator==(const WindowProperties&) const = default;
};

// The position row reads the live state (normal, minimised or maximised), not the stored choice;
// the background picture is also decoded by the unit.
inline constexpr std::array<PropertyRow<WindowProperties>, window_property::kCount> kWindowPropertyTable{{
    {window_property::kTitle, &WindowProperties::title, kind::kText},
    {window_property::kBorderStyle, &WindowProperties::border_style, kind::kChoice},
    {window_property::kBackground, &WindowProperties::background, kind::kBackColour},
    {window_property::kBackgroundPicture, &WindowProperties::background_picture, kind::kPicture},
    {window_property::kPictureMode, &WindowProperties::picture_mode, kind::kChoice},
    {window_property::kSound, &WindowProperties::sound, kind::kSound},
    {window_property::kSoundMode, &WindowProperties::sound_mode, kind::kChoice},
    {window_property::kControlBox, &WindowProperties::control_box, kind::kLogical},
    {window_property::kMaximiseBox, &WindowProperties::maximise_box, kind::kLogical},
    {window_property::kMinimiseBox, &WindowProperties::minimise_box, kind::kLogical},
    {window_property::kPosition, &WindowProperties::position, kind::kChoice},
    {window_property::kMovable, &WindowProperties::movable, kind::kLogical},
    {window_property::kIcon, &WindowProperties::icon, kind::kIcon},
    {window_property::kEnterMovesFocus, &WindowProperties::enter_moves_focus, kind::kLogical},
    {window_property::kEscapeCloses, &WindowProperties::escape_closes, kind::kLogical},
    {window_property::kF1Help, &WindowProperties::f1_help, kind::kLogical},
    {window_property::kHelpFile, &WindowProperties::help_file, kind::kText2},
    {window_property::kHelpContext, &WindowProperties::help_context, kind::kInteger},
    {window_property::kKeptFlagOfVersion2, &WindowProperties::kept_flag_v2, kind::kLogical},
    {window_property::kDragByClient, &WindowProperties::drag_by_client, kind::kLogical},
    {window_property::kShape, &WindowProperties::shape, kind::kChoice},
    {window_property::kAlwaysOnTop, &WindowProperties::always_on_top, kind::kLogical},
    {window_property::kKeptFlagOfVersion5, &WindowProperties::kept_flag_v5, kind::kLogical},
    {window_property::kClassName, &WindowProperties::class_name, kind::kText},
}};

}  // namespace ui
