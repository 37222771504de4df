#include "ui/access/property_kinds.h"

#include <array>
#include <cstring>

#include "runtime/values.h"
#include "ui/units/property_descriptors.h"
#include "ui/units/unit_values.h"

namespace ui {
namespace {

// Entry 0 is "none": the default cursor.
constexpr std::array<std::uint32_t, 15> kStandardCursorIds = {
    0, 32512, 32515, 32513, 32514, 32651, 32650, 32648, 32646, 32643, 32645, 32642, 32644, 32516, 32649};

enum class Shape { word32, word64, logical, choice, data, cursor, text };

Shape shape_of(std::uint16_t k) {
  switch (k) {
    case 1000:
    case kind::kInteger:
    case kind::kColour:
    case kind::kColour2:
    case kind::kBackColour:
      return Shape::word32;
    case kind::kLong:
    case 1004:
      return Shape::word64;
    case kind::kLogical:
      return Shape::logical;
    case kind::kChoice:
      return Shape::choice;
    case kind::kPicture:
    case kind::kIcon:
    case kind::kSound:
    case kind::kListData1:
    case kind::kListData2:
      return Shape::data;
    case kind::kCursor:
      return Shape::cursor;
    default:
      return Shape::text;
  }
}

std::uint32_t leading_word(std::span<const std::uint8_t> bytes) {
  std::uint32_t v = 0;
  std::memcpy(&v, bytes.data(), sizeof v);
  return v;
}

void replace_leading_word(std::vector<std::uint8_t>& bytes, std::uint32_t v) {
  std::memcpy(bytes.data(), &v, sizeof v);
}

std::uint64_t pointer_value(const void* p) {
  return reinterpret_cast<std::uintptr_t>(p);
}

const void* value_pointer(std::uint64_t value) {
  return reinterpret_cast<const void*>(static_cast<std::uintptr_t>(value));
}

}  // namespace

std::uint32_t standard_cursor_id(std::uint32_t index) {
  return index < kStandardCursorIds.size() ? kStandardCursorIds[index] : 0;
}

std::vector<std::uint8_t> cursor_bytes_for_reading(std::span<const std::uint8_t> stored) {
  std::vector<std::uint8_t> bytes(stored.begin(), stored.end());
  if (bytes.size() < 4) return bytes;
  const std::uint32_t id = leading_word(bytes);
  for (std::uint32_t i = 0; i < kStandardCursorIds.size(); ++i) {
    if (kStandardCursorIds[i] == id) {
      replace_leading_word(bytes, i);
      break;
    }
  }
  return bytes;
}

std::vector<std::uint8_t> cursor_bytes_for_storing(std::span<const std::uint8_t> given) {
  std::vector<std::uint8_t> bytes(given.begin(), given.end());
  if (bytes.size() < 4) return bytes;
  const std::uint32_t index = leading_word(bytes);
  if (index < kStandardCursorIds.size()) replace_leading_word(bytes, kStandardCursorIds[index]);
  return bytes;
}

std::uint64_t value_from_pair(std::uint16_t kind, const PropertyPair& pair) {
  switch (shape_of(kind)) {
    case Shape::word32:
    case Shape::choice:
      return static_cast<std::uint32_t>(pair.first);
    case Shape::word64:
      return static_cast<std::uint32_t>(pair.first) |
             (static_cast<std::uint64_t>(static_cast<std::uint32_t>(pair.second)) << 32);
    case Shape::logical:
      return pair.first == 1 ? 1 : 0;
    case Shape::data: {
      std::span<const std::uint8_t> bytes = pair_bytes(pair);
      return pointer_value(runtime::make_byte_set(bytes.data(), bytes.size()));
    }
    case Shape::cursor: {
      std::vector<std::uint8_t> bytes = cursor_bytes_for_reading(pair_bytes(pair));
      return pointer_value(runtime::make_byte_set(bytes.data(), bytes.size()));
    }
    case Shape::text:
      return pointer_value(runtime::make_text(reinterpret_cast<const char*>(pair.first)));
  }
  return 0;
}

PropertyPair pair_from_value(std::uint16_t kind, std::uint64_t value, WriteBuffer& buffer) {
  const auto low = static_cast<std::uint32_t>(value);
  switch (shape_of(kind)) {
    case Shape::word32:
      return {static_cast<std::intptr_t>(static_cast<std::int32_t>(low)), 0};
    case Shape::word64:
      return {static_cast<std::intptr_t>(low),
              static_cast<std::intptr_t>(static_cast<std::uint32_t>(value >> 32))};
    case Shape::logical:
      return {low != 0 ? 1 : 0, 0};
    case Shape::choice: {
      const auto v = static_cast<std::int32_t>(low);
      return {v < 0 ? 0 : v, 0};
    }
    case Shape::data: {
      std::span<const std::uint8_t> bytes = runtime::byte_set_bytes(value_pointer(value));
      if (bytes.empty()) return {0, 0};
      return data_pair(bytes.data(), bytes.size());
    }
    case Shape::cursor: {
      buffer.bytes = cursor_bytes_for_storing(runtime::byte_set_bytes(value_pointer(value)));
      if (buffer.bytes.empty()) return {0, 0};
      return data_pair(buffer.bytes.data(), buffer.bytes.size());
    }
    case Shape::text: {
      const char* text = runtime::text_or_empty(static_cast<const char*>(value_pointer(value)));
      return {reinterpret_cast<std::intptr_t>(text), static_cast<std::intptr_t>(std::strlen(text))};
    }
  }
  return {};
}

}  // namespace ui
