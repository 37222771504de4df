// Writing a window-template block from its parts, so that program images and tests compose
// templates from units and properties instead of typing bytes.
// Contract:
// - build_templates(windows) writes the block layout byte for byte: the window index (ids, then
//   each window's index word), then per window its record and unit table with record offsets
//   computed from the records actually written. The result's size is the block's true size.
// - Records are written from the same structures the parser produces, so
//   parse_templates(build_templates(x)) == x. Property data blocks are copied from the spans the
//   caller gives (they must stay valid during the call); resolved routines are not written,
//   handler offsets are.
// - Object and cursor slots are written as 0, as a block holds them.
// - The helpers window_unit, control and menu_item fill the fields a program usually sets and
//   leave every reserved field 0.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "ui/templates/template_model.h"

namespace ui::templates {

std::vector<std::uint8_t> build_templates(std::span<const WindowTemplate> windows);

// The bytes of one unit record (without its size word), as the block holds it.
std::vector<std::uint8_t> build_unit_record(const UnitRecord& unit);

struct Rect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
};

// A control or window unit with the default cursor (4 zero bytes), no tag and no parent.
UnitRecord control(std::uint32_t id, std::uint32_t type_reference, std::string name, Rect rect,
                   std::uint32_t state_flags, std::vector<EventBinding> events,
                   std::span<const std::uint8_t> properties);
// The window's own unit (no name).
UnitRecord window_unit(std::uint32_t id, std::uint32_t type_reference, Rect rect, std::uint32_t state_flags,
                       std::vector<EventBinding> events, std::span<const std::uint8_t> properties);
// A menu item; handler_offset -1 for none.
UnitRecord menu_item(std::uint32_t id, std::string caption, std::uint32_t level, std::uint32_t flags,
                     std::int32_t handler_offset, std::uint32_t hotkey = 0);

}  // namespace ui::templates
