// The parts property access is made of, shared by its files: locating the addressed unit record,
// the common properties 0-7, menu-record properties, and a type's own properties through its
// getter and setter.
#pragma once

#include <cstddef>
#include <cstdint>

#include "runtime/abi/image.h"
#include "ui/templates/template_model.h"

namespace ui {

class Unit;

struct AccessTarget {
  std::size_t window = 0;
  std::size_t unit = 0;
  templates::UnitRecord* record = nullptr;
};

// The unit record addressed by (window id, unit id); reports the runtime error when either is
// missing.
AccessTarget find_access_target(std::uint32_t window_id, std::uint32_t unit_id);

std::uint64_t read_menu_property(const templates::MenuRecord& menu, std::int32_t index);
void write_menu_property(const AccessTarget& target, std::int32_t index, std::uint64_t value);

std::uint64_t read_common_property(const AccessTarget& target, std::int32_t index);
void write_common_property(const AccessTarget& target, std::int32_t index, std::uint64_t value);

// Units number their own properties from 8 (after the common ones), library objects from 0.
inline constexpr std::int32_t kUnitFirstOwn = 8;
inline constexpr std::int32_t kObjectFirstOwn = 0;

// A type's own property `index` through its getter (request 6, own index = index - first_own),
// converted by kind; 0 when the type has no such property or no getter.
std::uint64_t read_own_property(const runtime::UnitTypeDescriptor& type, void* object, std::int32_t index,
                                std::int32_t first_own, std::int32_t selector);
// Through its setter (request 4); the setter's answer (1: re-create the unit), 0 when nothing
// was set.
int write_own_property(const runtime::UnitTypeDescriptor& type, void* object, std::int32_t index,
                       std::int32_t first_own, std::int32_t selector, std::uint64_t value);

}  // namespace ui
