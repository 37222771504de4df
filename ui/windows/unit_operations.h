// The unit type of a unit record and the operations its interface query hands out.
#pragma once

#include <cstdint>

#include "runtime/abi/image.h"
#include "ui/templates/template_model.h"

namespace ui {

// The type descriptor of a record's type reference, from the image's libraries; null if none.
const runtime::UnitTypeDescriptor* unit_type_of(const templates::UnitRecord& unit);

// The operation of interface code `code` cast to Op, or null (no type, no query, no operation).
template <class Op>
Op unit_operation(const runtime::UnitTypeDescriptor* type, std::int32_t code) {
  if (type == nullptr || type->interface_query == nullptr) return nullptr;
  return reinterpret_cast<Op>(type->interface_query(code));
}

inline std::uint32_t type_state_bits(const runtime::UnitTypeDescriptor* type) {
  return type != nullptr ? type->state_bits : 0;
}

}  // namespace ui
