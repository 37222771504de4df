#include <optional>

#include "ui/access/access_parts.h"
#include "ui/access/font_record.h"
#include "ui/access/property_kinds.h"
#include "ui/units/property_descriptors.h"
#include "ui/units/unit_interface.h"
#include "ui/units/unit_values.h"

namespace ui {
namespace {

GetOp getter_of(const runtime::UnitTypeDescriptor& type) {
  return type.interface_query != nullptr ? reinterpret_cast<GetOp>(type.interface_query(kGetOp)) : nullptr;
}

SetOp setter_of(const runtime::UnitTypeDescriptor& type) {
  return type.interface_query != nullptr ? reinterpret_cast<SetOp>(type.interface_query(kSetOp)) : nullptr;
}

LOGFONTA current_font(GetOp get, void* object, std::int32_t own) {
  PropertyPair pair;
  get(object, own, &pair);
  return logfont_or_default(pair_bytes(pair));
}

}  // namespace

std::uint64_t read_own_property(const runtime::UnitTypeDescriptor& type, void* object, std::int32_t index,
                                std::int32_t first_own, std::int32_t selector) {
  const std::uint16_t k = property_kind(type, index);
  GetOp get = getter_of(type);
  if (k == 0 || get == nullptr || object == nullptr) return 0;
  PropertyPair pair;
  get(object, index - first_own, &pair);
  if (k == kind::kFont) return read_font(logfont_or_default(pair_bytes(pair)), selector);
  return value_from_pair(k, pair);
}

int write_own_property(const runtime::UnitTypeDescriptor& type, void* object, std::int32_t index,
                       std::int32_t first_own, std::int32_t selector, std::uint64_t value) {
  const std::uint16_t k = property_kind(type, index);
  SetOp set = setter_of(type);
  if (k == 0 || set == nullptr || object == nullptr) return 0;
  const std::int32_t own = index - first_own;
  WriteBuffer buffer;
  PropertyPair pair;
  LOGFONTA font{};
  if (k == kind::kFont) {
    if (selector == kWholeFont) {
      std::optional<LOGFONTA> whole =
          logfont_from_record(reinterpret_cast<const FontRecord*>(static_cast<std::uintptr_t>(value)));
      if (whole) font = *whole;
      pair = whole ? data_pair(&font, sizeof font) : PropertyPair{};
    } else {
      GetOp get = getter_of(type);
      if (get == nullptr) return 0;
      font = current_font(get, object, own);
      if (!write_font_field(font, selector, value)) return 0;
      pair = data_pair(&font, sizeof font);
    }
  } else {
    pair = pair_from_value(k, value, buffer);
  }
  return set(object, own, pair);
}

}  // namespace ui
