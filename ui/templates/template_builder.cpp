#include "ui/templates/template_builder.h"

#include <utility>

#include "ui/bytes/byte_writer.h"

namespace ui::templates {
namespace {

void write_control(lyr::ByteWriter& out, const ControlRecord& c) {
  out.u32(0);  // object slot
  out.i32(c.left);
  out.i32(c.top);
  out.i32(c.width);
  out.i32(c.height);
  out.u32(0);  // cursor slot
  out.u32(c.parent_id);
  out.u32(lyr::ByteWriter::checked_length(c.child_ids.size()));
  for (std::uint32_t id : c.child_ids) out.u32(id);
  out.counted(c.cursor_selector);
  out.c_text(c.tag);
  out.u32(c.reserved_before_flags);
  out.u32(c.state_flags);
  out.u32(c.reserved_after_flags);
  out.u32(lyr::ByteWriter::checked_length(c.events.size()));
  for (const EventBinding& b : c.events) {
    out.i32(b.event);
    out.i32(b.handler_offset);
  }
  out.raw(c.reserved_tail);
  out.raw(c.properties);
}

void write_menu(lyr::ByteWriter& out, const MenuRecord& m) {
  out.u32(m.hotkey);
  out.u32(m.level);
  out.u32(m.flags);
  out.c_text(m.caption);
  out.i32(m.handler_offset);
  out.raw(m.handle_slot);
}

void write_window(lyr::ByteWriter& out, const WindowTemplate& w) {
  out.u32(w.reserved[0]);
  out.u32(w.reserved[1]);
  out.counted_text(w.text1);
  out.counted_text(w.text2);
  out.u32(lyr::ByteWriter::checked_length(w.units.size()));

  lyr::ByteWriter entries;
  std::vector<std::uint32_t> offsets;
  for (const UnitRecord& u : w.units) {
    offsets.push_back(lyr::ByteWriter::checked_length(entries.size()));
    std::vector<std::uint8_t> record = build_unit_record(u);
    entries.counted(record);
  }
  lyr::ByteWriter table;
  for (const UnitRecord& u : w.units) table.u32(u.id);
  for (std::uint32_t offset : offsets) table.u32(offset);
  table.raw(entries.bytes());
  out.counted(table.bytes());
}

}  // namespace

std::vector<std::uint8_t> build_unit_record(const UnitRecord& unit) {
  lyr::ByteWriter out;
  out.u32(unit.type_reference);
  for (std::uint32_t word : unit.reserved) out.u32(word);
  out.c_text(unit.name);
  out.c_text(unit.remark);
  if (unit.is_menu()) {
    write_menu(out, unit.menu());
  } else {
    write_control(out, unit.control());
  }
  return out.take();
}

std::vector<std::uint8_t> build_templates(std::span<const WindowTemplate> windows) {
  lyr::ByteWriter out;
  if (windows.empty()) return out.take();
  out.u32(lyr::ByteWriter::checked_length(windows.size() * 8));
  for (const WindowTemplate& w : windows) out.u32(w.id);
  for (const WindowTemplate& w : windows) out.u32(w.index_reserved);
  for (const WindowTemplate& w : windows) write_window(out, w);
  return out.take();
}

UnitRecord control(std::uint32_t id, std::uint32_t type_reference, std::string name, Rect rect,
                   std::uint32_t state_flags, std::vector<EventBinding> events,
                   std::span<const std::uint8_t> properties) {
  UnitRecord u;
  u.id = id;
  u.type_reference = type_reference;
  u.name = std::move(name);
  ControlRecord c;
  c.left = rect.left;
  c.top = rect.top;
  c.width = rect.width;
  c.height = rect.height;
  c.cursor_selector.assign(4, 0);
  c.state_flags = state_flags;
  c.events = std::move(events);
  c.properties = properties;
  u.body = std::move(c);
  return u;
}

UnitRecord window_unit(std::uint32_t id, std::uint32_t type_reference, Rect rect, std::uint32_t state_flags,
                       std::vector<EventBinding> events, std::span<const std::uint8_t> properties) {
  return control(id, type_reference, std::string(), rect, state_flags, std::move(events), properties);
}

UnitRecord menu_item(std::uint32_t id, std::string caption, std::uint32_t level, std::uint32_t flags,
                     std::int32_t handler_offset, std::uint32_t hotkey) {
  UnitRecord u;
  u.id = id;
  u.type_reference = kMenuTypeReference;
  MenuRecord m;
  m.hotkey = hotkey;
  m.level = level;
  m.flags = flags;
  m.caption = std::move(caption);
  m.handler_offset = handler_offset;
  u.body = std::move(m);
  return u;
}

}  // namespace ui::templates
