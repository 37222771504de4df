#include "ui/templates/template_parser.h"

#include <optional>
#include <set>
#include <utility>
#include <vector>

#include "runtime/code_base.h"
#include "ui/bytes/byte_reader.h"

namespace ui::templates {
namespace {

class Parser {
 public:
  explicit Parser(const runtime::CodeBase* code_base) : code_base_(code_base) {}

  std::optional<std::vector<WindowTemplate>> parse(lyr::ByteReader& in) {
    std::vector<WindowTemplate> windows;
    if (in.at_end()) return windows;
    auto index_length = in.u32();
    if (!index_length) return fail(in, "window index length truncated");
    if (*index_length % 8 != 0) return fail(in, "window index length is not a multiple of 8");
    std::uint64_t count = *index_length / 8;
    if (!in.fits(count, 8)) return fail(in, "window index longer than the block");
    windows.resize(static_cast<std::size_t>(count));
    std::set<std::uint32_t> seen;
    for (WindowTemplate& w : windows) {
      w.id = *in.u32();
      if (id_class(w.id) != kWindowIdClass || id_serial(w.id) == 0) return fail(in, "not a window id");
      if (!seen.insert(w.id).second) return fail(in, "window id repeated");
    }
    for (WindowTemplate& w : windows) w.index_reserved = *in.u32();
    for (WindowTemplate& w : windows) {
      if (!window_record(in, w)) return std::nullopt;
    }
    if (!in.at_end()) return fail(in, "bytes after the last window");
    return windows;
  }

  const lyr::Error& error() const { return error_; }

 private:
  std::nullopt_t fail(const lyr::ByteReader& at, const char* what) {
    error_ = lyr::fail(what, at.absolute());
    return std::nullopt;
  }
  bool reject(const lyr::ByteReader& at, const char* what) {
    fail(at, what);
    return false;
  }

  bool window_record(lyr::ByteReader& in, WindowTemplate& w) {
    auto r0 = in.u32();
    auto r1 = in.u32();
    if (!r0 || !r1) return reject(in, "window record truncated");
    w.reserved[0] = *r0;
    w.reserved[1] = *r1;
    auto t1 = in.counted_text();
    if (!t1) return reject(in, "window text truncated");
    auto t2 = in.counted_text();
    if (!t2) return reject(in, "window text truncated");
    w.text1 = std::move(*t1);
    w.text2 = std::move(*t2);
    auto unit_count = in.u32();
    auto table_length = in.u32();
    if (!unit_count || !table_length) return reject(in, "unit counts truncated");
    auto table = in.sub(*table_length);
    if (!table) return reject(in, "unit table longer than the block");
    return unit_table(*table, *unit_count, w);
  }

  bool unit_table(lyr::ByteReader& t, std::uint32_t unit_count, WindowTemplate& w) {
    if (unit_count == 0) return reject(t, "window without its own unit");
    // Each unit needs its id, its offset and its size word at least.
    if (!t.fits(unit_count, 12)) return reject(t, "unit count larger than the unit table");
    std::vector<std::uint32_t> ids(unit_count);
    std::vector<std::uint32_t> offsets(unit_count);
    for (auto& id : ids) id = *t.u32();
    for (auto& offset : offsets) offset = *t.u32();
    const std::size_t entries_start = t.position();
    w.units.resize(unit_count);
    std::set<std::uint32_t> seen;
    for (std::size_t i = 0; i < unit_count; ++i) {
      UnitRecord& u = w.units[i];
      u.id = ids[i];
      if (id_serial(u.id) == 0) return reject(t, "unit serial number 0");
      if ((i == 0) != (id_class(u.id) == kWindowUnitClass)) return reject(t, "window unit out of place");
      if (!seen.insert(u.id).second) return reject(t, "unit id repeated");
      // Entries are walked sequentially by the menu builder, so offsets must say exactly that.
      if (static_cast<std::uint64_t>(offsets[i]) + entries_start != t.position())
        return reject(t, "unit record offset out of sequence");
      auto size = t.u32();
      if (!size) return reject(t, "unit record size truncated");
      auto record = t.sub(*size);
      if (!record) return reject(t, "unit record longer than the unit table");
      if (!unit_record(*record, u)) return false;
    }
    if (!t.at_end()) return reject(t, "bytes left in the unit table");
    return true;
  }

  bool unit_record(lyr::ByteReader& r, UnitRecord& u) {
    auto type = r.u32();
    if (!type) return reject(r, "unit record truncated");
    u.type_reference = *type;
    for (auto& word : u.reserved) {
      auto v = r.u32();
      if (!v) return reject(r, "unit record truncated");
      word = *v;
    }
    auto name = r.c_text();
    if (!name) return reject(r, "unit name unterminated");
    auto remark = r.c_text();
    if (!remark) return reject(r, "unit remark unterminated");
    u.name = std::move(*name);
    u.remark = std::move(*remark);
    if (is_menu_id(u.id)) {
      if (u.type_reference != kMenuTypeReference) return reject(r, "menu record of another type");
      u.body = MenuRecord{};
      return menu_record(r, u.menu());
    }
    u.body = ControlRecord{};
    return control_record(r, u.control());
  }

  bool menu_record(lyr::ByteReader& r, MenuRecord& m) {
    auto hotkey = r.u32();
    auto level = r.u32();
    auto flags = r.u32();
    if (!hotkey || !level || !flags) return reject(r, "menu record truncated");
    m.hotkey = *hotkey;
    m.level = *level;
    m.flags = *flags;
    auto caption = r.c_text();
    if (!caption) return reject(r, "menu caption unterminated");
    m.caption = std::move(*caption);
    auto offset = r.i32();
    if (!offset) return reject(r, "menu handler truncated");
    m.handler_offset = *offset;
    if (!relocate(r, m.handler_offset, m.handler)) return false;
    auto slot = r.bytes(m.handle_slot.size());
    if (!slot) return reject(r, "menu record truncated");
    std::copy(slot->begin(), slot->end(), m.handle_slot.begin());
    if (!r.at_end()) return reject(r, "bytes after the menu record");
    return true;
  }

  bool control_record(lyr::ByteReader& r, ControlRecord& c) {
    std::int32_t fields[5];
    for (std::int32_t& f : fields) {
      auto v = r.i32();
      if (!v) return reject(r, "unit record truncated");
      f = *v;
    }
    // fields[0] is the object slot: zero in the block, ours at run time, never read.
    c.left = fields[1];
    c.top = fields[2];
    c.width = fields[3];
    c.height = fields[4];
    auto cursor_slot = r.u32();
    auto parent = r.u32();
    auto child_count = r.u32();
    if (!cursor_slot || !parent || !child_count) return reject(r, "unit record truncated");
    c.parent_id = *parent;
    if (!r.fits(*child_count, 4)) return reject(r, "child count larger than the record");
    c.child_ids.resize(*child_count);
    for (auto& id : c.child_ids) id = *r.u32();
    auto selector_length = r.u32();
    if (!selector_length) return reject(r, "cursor selector truncated");
    auto selector = r.bytes(*selector_length);
    if (!selector) return reject(r, "cursor selector longer than the record");
    c.cursor_selector.assign(selector->begin(), selector->end());
    auto tag = r.c_text();
    if (!tag) return reject(r, "tag unterminated");
    c.tag = std::move(*tag);
    auto before = r.u32();
    auto flags = r.u32();
    auto after = r.u32();
    auto binding_count = r.u32();
    if (!before || !flags || !after || !binding_count) return reject(r, "unit record truncated");
    c.reserved_before_flags = *before;
    c.state_flags = *flags;
    c.reserved_after_flags = *after;
    if (!r.fits(*binding_count, 8)) return reject(r, "event count larger than the record");
    c.events.resize(*binding_count);
    for (EventBinding& b : c.events) {
      b.event = *r.i32();
      b.handler_offset = *r.i32();
      if (!relocate(r, b.handler_offset, b.handler)) return false;
    }
    auto tail = r.bytes(c.reserved_tail.size());
    if (!tail) return reject(r, "unit record truncated");
    std::copy(tail->begin(), tail->end(), c.reserved_tail.begin());
    c.properties = *r.bytes(r.remaining());
    return true;
  }

  bool relocate(const lyr::ByteReader& at, std::int32_t offset, runtime::Routine& out) {
    auto routine = runtime::resolve_handler(code_base_, offset);
    if (!routine) return reject(at, "handler offset names no routine");
    out = *routine;
    return true;
  }

  const runtime::CodeBase* code_base_;
  lyr::Error error_;
};

}  // namespace

ParseResult parse_templates(std::span<const std::uint8_t> block, const runtime::CodeBase* code_base) {
  std::vector<std::uint8_t> copy(block.begin(), block.end());
  lyr::ByteReader in(copy);
  Parser parser(code_base);
  auto windows = parser.parse(in);
  if (!windows) return parser.error();
  return TemplateSet(std::move(copy), std::move(*windows));
}

}  // namespace ui::templates
