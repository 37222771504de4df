// Property descriptor lists of unit types: the eight common properties of every control type
// followed by the type's own, addressed by index.
#pragma once

#include <array>
#include <cstdint>

#include "runtime/abi/image.h"

namespace ui {

namespace kind {
inline constexpr std::uint16_t kInteger = 1001;
inline constexpr std::uint16_t kLong = 1002;
inline constexpr std::uint16_t kLogical = 1003;
inline constexpr std::uint16_t kText = 1005;
inline constexpr std::uint16_t kChoice = 1006;
inline constexpr std::uint16_t kPicture = 1009;
inline constexpr std::uint16_t kIcon = 1010;
inline constexpr std::uint16_t kCursor = 1011;
inline constexpr std::uint16_t kSound = 1012;
inline constexpr std::uint16_t kFont = 1013;
inline constexpr std::uint16_t kColour = 1014;
inline constexpr std::uint16_t kColour2 = 1015;
inline constexpr std::uint16_t kText2 = 1016;
inline constexpr std::uint16_t kBackColour = 1017;
inline constexpr std::uint16_t kDataSource = 1018;
inline constexpr std::uint16_t kDataColumn = 1020;
inline constexpr std::uint16_t kListData1 = 1023;
inline constexpr std::uint16_t kListData2 = 1024;
}  // namespace kind

inline constexpr std::uint16_t kCommonPropertyFlags = 0xE000;

constexpr runtime::PropertyDescriptor property(std::uint16_t kind_value, std::uint16_t flags = 0) {
  return runtime::PropertyDescriptor{nullptr, nullptr, nullptr, kind_value, flags, nullptr};
}

// The common properties 0-7 followed by the type's own kinds.
template <std::size_t N>
constexpr std::array<runtime::PropertyDescriptor, 8 + N> control_properties(
    const std::array<std::uint16_t, N>& own_kinds) {
  std::array<runtime::PropertyDescriptor, 8 + N> all{};
  constexpr std::uint16_t common[8] = {kind::kInteger, kind::kInteger, kind::kInteger, kind::kInteger,
                                       kind::kText,    kind::kLogical, kind::kLogical, kind::kCursor};
  for (std::size_t i = 0; i < 8; ++i) all[i] = property(common[i], kCommonPropertyFlags);
  for (std::size_t i = 0; i < N; ++i) all[8 + i] = property(own_kinds[i]);
  return all;
}

// The kind of property `index` of a type, or 0 when the type has no such property.
inline std::uint16_t property_kind(const runtime::UnitTypeDescriptor& type, std::int32_t index) {
  if (index < 0 || static_cast<std::uint32_t>(index) >= type.property_count || type.properties == nullptr)
    return 0;
  return type.properties[index].kind;
}

}  // namespace ui
