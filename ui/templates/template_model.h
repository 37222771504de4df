// The parsed form of a window-template block.
// Contract:
// - A TemplateSet owns a private copy of the block; property data blocks of control records are
//   spans into that copy, so a TemplateSet is move-only (moving keeps the copy in place).
// - Windows and their units keep template order; unit index 0 is the window's own unit.
// - Handler offsets are kept as stored (-1 none) beside the routine they were resolved to; a
//   record that was composed by hand for the builder leaves the routines null.
// - Equality compares what the block stores (ids, fields, texts, offsets, property bytes), not
//   the resolved routines, so parse(build(x)) == x holds for any x the builder accepts.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <variant>
#include <vector>

#include "runtime/abi/image.h"

namespace ui::templates {

inline constexpr std::uint32_t kMenuTypeReference = 0x00010003;

// Id classes (top byte).
inline constexpr std::uint32_t kWindowIdClass = 0x52;
inline constexpr std::uint32_t kWindowUnitClass = 0x06;
inline constexpr std::uint32_t kControlClass = 0x16;
inline constexpr std::uint32_t kMenuClass = 0x26;

inline bool is_menu_id(std::uint32_t id) {
  return (id & 0x0F000000u) == 0x06000000u && (id & 0xF0000000u) == 0x20000000u;
}
inline std::uint32_t id_class(std::uint32_t id) {
  return id >> 24;
}
inline std::uint32_t id_serial(std::uint32_t id) {
  return id & 0x00FFFFFFu;
}

// Unit state flags.
inline constexpr std::uint32_t kVisible = 1u << 0;
inline constexpr std::uint32_t kDisabled = 1u << 1;
inline constexpr std::uint32_t kTabStop = 1u << 2;
inline constexpr std::uint32_t kOwnerDrawnPopups = 1u << 3;

// Menu record flags.
inline constexpr std::uint32_t kMenuHidden = 1u << 0;
inline constexpr std::uint32_t kMenuDisabled = 1u << 1;
inline constexpr std::uint32_t kMenuChecked = 1u << 2;

inline bool same_bytes(std::span<const std::uint8_t> a, std::span<const std::uint8_t> b) {
  return std::ranges::equal(a, b);
}

struct EventBinding {
  std::int32_t event = 0;
  std::int32_t handler_offset = -1;
  runtime::Routine handler = nullptr;  // resolved at load; null for "none"

  bool operator==(const EventBinding& o) const {
    return event == o.event && handler_offset == o.handler_offset;
  }
};

// Every unit that is not a menu record (the window's own unit included).
struct ControlRecord {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::uint32_t parent_id = 0;
  std::vector<std::uint32_t> child_ids;  // page containers; 0 separates pages
  std::vector<std::uint8_t> cursor_selector;
  std::string tag;
  std::uint32_t reserved_before_flags = 0;
  std::uint32_t state_flags = 0;
  std::uint32_t reserved_after_flags = 0;
  std::vector<EventBinding> events;
  std::array<std::uint8_t, 20> reserved_tail{};
  std::span<const std::uint8_t> properties;  // the type's property data block

  // The binding of an event number, or null (the first one when a record repeats a number).
  const EventBinding* binding(std::int32_t event) const {
    for (const EventBinding& b : events) {
      if (b.event == event) return &b;
    }
    return nullptr;
  }

  bool operator==(const ControlRecord& o) const {
    return left == o.left && top == o.top && width == o.width && height == o.height &&
           parent_id == o.parent_id && child_ids == o.child_ids && cursor_selector == o.cursor_selector &&
           tag == o.tag && reserved_before_flags == o.reserved_before_flags && state_flags == o.state_flags &&
           reserved_after_flags == o.reserved_after_flags && events == o.events &&
           reserved_tail == o.reserved_tail && same_bytes(properties, o.properties);
  }
};

// One menu item.
struct MenuRecord {
  std::uint32_t hotkey = 0;
  std::uint32_t level = 0;
  std::uint32_t flags = 0;
  std::string caption;
  std::int32_t handler_offset = -1;
  runtime::Routine handler = nullptr;
  std::array<std::uint8_t, 16> handle_slot{};  // zero in a well-formed block; carried as stored

  bool operator==(const MenuRecord& o) const {
    return hotkey == o.hotkey && level == o.level && flags == o.flags && caption == o.caption &&
           handler_offset == o.handler_offset && handle_slot == o.handle_slot;
  }
};

struct UnitRecord {
  std::uint32_t id = 0;
  std::uint32_t type_reference = 0;
  std::array<std::uint32_t, 5> reserved{};
  std::string name;
  std::string remark;
  std::variant<ControlRecord, MenuRecord> body;

  bool is_menu() const { return std::holds_alternative<MenuRecord>(body); }
  ControlRecord& control() { return std::get<ControlRecord>(body); }
  const ControlRecord& control() const { return std::get<ControlRecord>(body); }
  MenuRecord& menu() { return std::get<MenuRecord>(body); }
  const MenuRecord& menu() const { return std::get<MenuRecord>(body); }

  bool operator==(const UnitRecord&) const = default;
};

struct WindowTemplate {
  std::uint32_t id = 0;
  std::uint32_t index_reserved = 0;  // the index word the runtime would overwrite
  std::uint32_t reserved[2] = {0, 0};
  std::string text1;
  std::string text2;
  std::vector<UnitRecord> units;  // template order; index 0 the window's own unit

  // Index of a unit id, or -1.
  int find_unit(std::uint32_t unit_id) const {
    for (std::size_t i = 0; i < units.size(); ++i) {
      if (units[i].id == unit_id) return static_cast<int>(i);
    }
    return -1;
  }
  bool operator==(const WindowTemplate& o) const {
    return id == o.id && index_reserved == o.index_reserved && reserved[0] == o.reserved[0] &&
           reserved[1] == o.reserved[1] && text1 == o.text1 && text2 == o.text2 && units == o.units;
  }
};

class TemplateSet {
 public:
  TemplateSet() = default;
  TemplateSet(std::vector<std::uint8_t> block, std::vector<WindowTemplate> windows)
      : block_(std::move(block)), windows_(std::move(windows)) {}
  TemplateSet(TemplateSet&&) = default;
  TemplateSet& operator=(TemplateSet&&) = default;
  TemplateSet(const TemplateSet&) = delete;
  TemplateSet& operator=(const TemplateSet&) = delete;

  std::span<const std::uint8_t> block() const { return block_; }
  std::vector<WindowTemplate>& windows() { return windows_; }
  const std::vector<WindowTemplate>& windows() const { return windows_; }

  // Index of a window id, or -1 (linear, in template order).
  int find_window(std::uint32_t window_id) const {
    for (std::size_t i = 0; i < windows_.size(); ++i) {
      if (windows_[i].id == window_id) return static_cast<int>(i);
    }
    return -1;
  }

 private:
  std::vector<std::uint8_t> block_;  // the copy that property spans point into
  std::vector<WindowTemplate> windows_;
};

}  // namespace ui::templates
