// Argument and result records of command calls, and the type tags they carry.
// Contract: a record is 12 bytes: value low word, value high word, type tag. Records of one call
// lie contiguously, argument 1 first. Tag 0 means "argument omitted"; readers mask the array
// flag off (base_tag) before comparing a tag with the constants below.
#pragma once

#include <cstdint>
#include <cstring>

namespace runtime {

struct ArgRecord {
  std::uint32_t lo;
  std::uint32_t hi;
  std::uint32_t tag;

  std::uint64_t value() const { return (static_cast<std::uint64_t>(hi) << 32) | lo; }
  void set_value(std::uint64_t v) {
    lo = static_cast<std::uint32_t>(v);
    hi = static_cast<std::uint32_t>(v >> 32);
  }
  // Pointer-valued records (texts, byte sets, arrays, routines) hold the full 64-bit pointer.
  template <class T>
  T* pointer() const {
    return reinterpret_cast<T*>(static_cast<std::uintptr_t>(value()));
  }
  void set_pointer(const void* p) { set_value(reinterpret_cast<std::uintptr_t>(p)); }
  float as_float() const {
    float f;
    std::memcpy(&f, &lo, sizeof f);
    return f;
  }
  double as_double() const {
    std::uint64_t v = value();
    double d;
    std::memcpy(&d, &v, sizeof d);
    return d;
  }
};
static_assert(sizeof(ArgRecord) == 12);

using CommandRoutine = void (*)(ArgRecord* result, std::int32_t count, ArgRecord* args);

namespace tag {
inline constexpr std::uint32_t kNone = 0;
inline constexpr std::uint32_t kByte = 0x80000101;
inline constexpr std::uint32_t kShort = 0x80000201;
inline constexpr std::uint32_t kInt = 0x80000301;
inline constexpr std::uint32_t kLong = 0x80000401;
inline constexpr std::uint32_t kFloat = 0x80000501;
inline constexpr std::uint32_t kDouble = 0x80000601;
inline constexpr std::uint32_t kBool = 0x80000002;
inline constexpr std::uint32_t kDateTime = 0x80000003;
inline constexpr std::uint32_t kText = 0x80000004;
inline constexpr std::uint32_t kByteSet = 0x80000005;
inline constexpr std::uint32_t kRoutine = 0x80000006;
inline constexpr std::uint32_t kObject = 0x00010030;
inline constexpr std::uint32_t kVariant = 0x00010031;
inline constexpr std::uint32_t kArrayFlag = 0x20000000;
}  // namespace tag

constexpr std::uint32_t base_tag(std::uint32_t t) {
  return t & ~tag::kArrayFlag;
}
constexpr bool is_array_tag(std::uint32_t t) {
  return (t & tag::kArrayFlag) != 0;
}
constexpr bool is_basic_tag(std::uint32_t t) {
  return (base_tag(t) & 0xC0000000u) == 0x80000000u;
}
constexpr bool is_program_type_tag(std::uint32_t t) {
  return (base_tag(t) & 0xC0000000u) == 0x40000000u;
}
constexpr bool is_library_type_tag(std::uint32_t t) {
  return base_tag(t) != 0 && !is_basic_tag(t) && !is_program_type_tag(t);
}

// Width of one array element (or event argument) of a type: the basic numeric types by their
// size; texts, byte sets, objects and every other owned value are stored as native pointers.
constexpr std::uint32_t element_width(std::uint32_t t) {
  switch (base_tag(t)) {
    case tag::kByte:
      return 1;
    case tag::kShort:
      return 2;
    case tag::kInt:
    case tag::kFloat:
    case tag::kBool:
      return 4;
    case tag::kLong:
    case tag::kDouble:
    case tag::kDateTime:
      return 8;
    default:
      return sizeof(void*);
  }
}

// Element types whose array elements own a heap block each.
constexpr bool owns_element_blocks(std::uint32_t t) {
  return base_tag(t) == tag::kText || base_tag(t) == tag::kByteSet;
}

}  // namespace runtime
