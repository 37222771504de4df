#include "commands/value_text.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "commands/arguments.h"

namespace commands {
namespace {

constexpr char kTrue[] = "\xD5\xE6";   // 真
constexpr char kFalse[] = "\xBC\xD9";  // 假

template <class... Args>
std::string formatted(const char* format, Args... args) {
  char buffer[64];
  const int n = std::snprintf(buffer, sizeof buffer, format, args...);
  return std::string(buffer, static_cast<std::size_t>(std::clamp(n, 0, static_cast<int>(sizeof buffer) - 1)));
}

// A float carries about seven significant digits; its double value carries the binary noise
// below them (0.1f is 0.100000001490116...), which the rounding drops before "%.6g".
double single_precision(float value) {
  return std::strtod(formatted("%.7g", static_cast<double>(value)).c_str(), nullptr);
}

bool is_number_kind(std::uint32_t tag) {
  switch (tag) {
    case runtime::tag::kByte:
    case runtime::tag::kShort:
    case runtime::tag::kInt:
    case runtime::tag::kLong:
    case runtime::tag::kFloat:
    case runtime::tag::kDouble:
      return true;
    default:
      return false;
  }
}

// Raw bytes up to the first zero byte.
std::string bytes_to_zero(const std::uint8_t* bytes, std::size_t length) {
  const void* zero = std::memchr(bytes, 0, length);
  if (zero != nullptr) length = static_cast<std::size_t>(static_cast<const std::uint8_t*>(zero) - bytes);
  return std::string(reinterpret_cast<const char*>(bytes), length);
}

std::string byte_set_text(const void* set) {
  if (set == nullptr) return {};
  std::uint32_t length;
  std::memcpy(&length, static_cast<const std::uint8_t*>(set) + 4, sizeof length);
  return bytes_to_zero(static_cast<const std::uint8_t*>(set) + 8, length);
}

std::string number_array_text(std::uint32_t element_tag, const void* array) {
  if (array == nullptr || !is_number_kind(element_tag)) return {};
  std::uint32_t header[2];
  std::memcpy(header, array, sizeof header);
  if (header[0] != 1) return {};
  const std::size_t length = static_cast<std::size_t>(header[1]) * runtime::element_width(element_tag);
  return bytes_to_zero(static_cast<const std::uint8_t*>(array) + sizeof header, length);
}

}  // namespace

std::optional<std::string> number_text(const runtime::ArgRecord& v) {
  switch (runtime::base_tag(v.tag)) {
    case runtime::tag::kByte:
      return formatted("%u", static_cast<unsigned>(v.lo & 0xFF));
    case runtime::tag::kShort:
      return formatted("%d", static_cast<int>(static_cast<std::int16_t>(v.lo & 0xFFFF)));
    case runtime::tag::kInt:
      return formatted("%d", static_cast<int>(static_cast<std::int32_t>(v.lo)));
    case runtime::tag::kLong:
      return formatted("%" PRId64, static_cast<std::int64_t>(v.value()));
    case runtime::tag::kFloat:
      return formatted("%.6g", single_precision(v.as_float()));
    case runtime::tag::kDouble:
      return formatted("%.13g", v.as_double());
    case runtime::tag::kBool:
      return std::string(v.lo != 0 ? kTrue : kFalse);
    case runtime::tag::kDateTime:
      return date_time_text(v.as_double());
    default:
      return std::nullopt;
  }
}

std::string value_text(const runtime::ArgRecord& v) {
  const std::uint32_t tag = runtime::base_tag(v.tag);
  if (runtime::is_array_tag(v.tag)) {
    // A byte set stands where an array of bytes may.
    return tag == runtime::tag::kByteSet ? byte_set_text(v.pointer<const void>())
                                         : number_array_text(tag, v.pointer<const void>());
  }
  if (tag == runtime::tag::kText) {
    const char* text = v.pointer<const char>();
    return text != nullptr ? std::string(text) : std::string();
  }
  if (tag == runtime::tag::kByteSet) return byte_set_text(v.pointer<const void>());
  return number_text(v).value_or(std::string());
}

void to_text_command(runtime::ArgRecord* result, std::int32_t count, runtime::ArgRecord* args) {
  const Arguments a(count, args);
  char* text = a.given(1) ? make_text(value_text(a.record(1))) : nullptr;
  set_pointer_result(result, text, runtime::tag::kText);
}

}  // namespace commands
