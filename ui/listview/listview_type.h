// The list view unit type: its descriptor (state 0x40, 39 properties) and interface query.
// Contract: the query answers create (1), set (4), serialize (5), get (6) and the enumeration
// of the texts held in a property data block (9); any other code gives null.
#pragma once

#include <cstdint>
#include <span>

#include "runtime/abi/image.h"

namespace ui::listview {

inline constexpr std::uint32_t kListViewType = 0x00020004;
inline constexpr std::uint32_t kListViewPropertyCount = 39;

// Code 9: calls `visit` with the font's face name, every column title and every item text and
// tip of a property data block; answers how many texts it visited, -1 for an unreadable block.
inline constexpr std::int32_t kEnumerateTextsOp = 9;
using TextVisitor = void (*)(const char* text, void* context);
using EnumerateTextsOp = int (*)(std::span<const std::uint8_t> properties, TextVisitor visit, void* context);

const runtime::UnitTypeDescriptor& list_view_unit_type();

}  // namespace ui::listview
