// A unit type's own properties as one table: for each own index, the field of the unit's
// property set that holds it, its kind, and whether a write needs a new native window. The
// property descriptor list, the getter and the setter all read the same table.
// Contract:
// - get_property fills the pair from the field of `own` (texts and data point into the set and
//   stay valid while the field is unchanged) and answers false for an index not in the table.
// - set_property stores the pair into the field of `own` (copying texts and data) and answers
//   the row, so that the unit can bring its native window up to date; null for an index not in
//   the table, which leaves the set untouched. A logical field takes any non-zero value as true.
// - A row without a field (std::monostate) is a property the unit computes itself: the getter
//   answers false for it and the setter answers the row without storing anything.
// - write_recreates(row, set) says whether the write just stored needs a new native window: a
//   re-creating row with a condition asks only while the condition holds for the set as the
//   write left it (a style that only some views of a control have).
// - descriptors(table) is the common properties 0-7 followed by the rows' kinds in index order;
//   the rows must be listed in index order without gaps.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <type_traits>
#include <variant>
#include <vector>

#include "runtime/abi/image.h"
#include "ui/units/property_descriptors.h"
#include "ui/units/property_pair_values.h"
#include "ui/units/unit_interface.h"

namespace ui {

template <class Set>
using PropertyField =
    std::variant<std::monostate, std::int32_t Set::*, std::uint32_t Set::*, bool Set::*, std::string Set::*,
                 std::vector<std::uint8_t> Set::*, std::array<std::uint32_t, 3> Set::*>;

template <class Set>
struct PropertyRow {
  std::int32_t own_index;
  PropertyField<Set> field;
  std::uint16_t kind;
  bool recreates = false;
  std::uint8_t element = 0;  // for a field that is an array: which of its values
  bool (*recreates_when)(const Set&) = nullptr;
};

template <class Set>
constexpr bool write_recreates(const PropertyRow<Set>& row, const Set& set) {
  return row.recreates && (row.recreates_when == nullptr || row.recreates_when(set));
}

template <class Set, std::size_t N>
constexpr const PropertyRow<Set>* find_row(const std::array<PropertyRow<Set>, N>& table, std::int32_t own) {
  for (const PropertyRow<Set>& row : table)
    if (row.own_index == own) return &row;
  return nullptr;
}

template <class Set, std::size_t N>
constexpr std::array<runtime::PropertyDescriptor, 8 + N> descriptors(
    const std::array<PropertyRow<Set>, N>& table) {
  std::array<std::uint16_t, N> kinds{};
  for (std::size_t i = 0; i < N; ++i) {
    // Evaluated at compile time: a row out of place stops the build.
    if (table[i].own_index != static_cast<std::int32_t>(i)) throw "property rows must follow their indexes";
    kinds[i] = table[i].kind;
  }
  return control_properties(kinds);
}

// descriptors(Table), kept for the program's life: a unit type's descriptor points at it.
template <const auto& Table>
inline constexpr auto kDescriptorsOf = descriptors(Table);

template <class Set, std::size_t N>
bool get_property(const std::array<PropertyRow<Set>, N>& table, const Set& set, std::int32_t own,
                  PropertyPair* out) {
  const PropertyRow<Set>* row = find_row(table, own);
  if (row == nullptr || std::holds_alternative<std::monostate>(row->field)) return false;
  std::visit(
      [&](auto member) {
        if constexpr (std::is_same_v<decltype(member), std::monostate>)
          return;
        else {
          const auto& value = set.*member;
          using Value = std::remove_cvref_t<decltype(value)>;
          if constexpr (std::is_same_v<Value, std::array<std::uint32_t, 3>>)
            *out = int_pair(static_cast<std::int32_t>(value[row->element]));
          else if constexpr (std::is_same_v<Value, std::string>)
            *out = text_pair(value);
          else if constexpr (std::is_same_v<Value, std::vector<std::uint8_t>>)
            *out = bytes_pair(value);
          else
            *out = int_pair(static_cast<std::int32_t>(value));
        }
      },
      row->field);
  return true;
}

template <class Set, std::size_t N>
const PropertyRow<Set>* set_property(const std::array<PropertyRow<Set>, N>& table, Set& set, std::int32_t own,
                                     const PropertyPair& pair) {
  const PropertyRow<Set>* row = find_row(table, own);
  if (row == nullptr) return nullptr;
  std::visit(
      [&](auto member) {
        if constexpr (std::is_same_v<decltype(member), std::monostate>)
          return;
        else {
          auto& value = set.*member;
          using Value = std::remove_cvref_t<decltype(value)>;
          if constexpr (std::is_same_v<Value, std::array<std::uint32_t, 3>>)
            value[row->element] = static_cast<std::uint32_t>(pair_int(pair));
          else if constexpr (std::is_same_v<Value, std::string>)
            value = std::string(pair_text(pair));
          else if constexpr (std::is_same_v<Value, std::vector<std::uint8_t>>)
            value = copy_bytes(pair);
          else if constexpr (std::is_same_v<Value, bool>)
            value = pair_int(pair) != 0;
          else
            value = static_cast<Value>(pair_int(pair));
        }
      },
      row->field);
  return row;
}

}  // namespace ui
