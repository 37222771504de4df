#include "runtime/convert.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

#include "platform/kernel/calendar.h"
#include "runtime/messages.h"
#include "runtime/runtime_error.h"
#include "runtime/values.h"

namespace runtime {
namespace {

std::int32_t truncate(double v) {
  if (std::isnan(v)) return 0;
  if (v >= 2147483647.0) return std::numeric_limits<std::int32_t>::max();
  if (v <= -2147483648.0) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(v);
}

bool is_numeric(std::uint32_t t) {
  switch (t) {
    case tag::kByte:
    case tag::kShort:
    case tag::kInt:
    case tag::kLong:
    case tag::kFloat:
    case tag::kDouble:
      return true;
    default:
      return false;
  }
}

std::string format(const char* fmt, auto... args) {
  char buffer[100];
  int n = std::snprintf(buffer, sizeof buffer, fmt, args...);
  return std::string(buffer,
                     n < 0 ? 0 : std::min<std::size_t>(static_cast<std::size_t>(n), sizeof buffer - 1));
}

std::string raw_bytes_text(const std::uint8_t* bytes, std::uint64_t count) {
  if (bytes == nullptr) return {};
  const void* zero = std::memchr(bytes, 0, count);
  std::size_t n =
      zero != nullptr ? static_cast<std::size_t>(static_cast<const std::uint8_t*>(zero) - bytes) : count;
  return std::string(reinterpret_cast<const char*>(bytes), n);
}

}  // namespace

std::optional<std::int32_t> try_to_int32(const ArgRecord& r) {
  switch (base_tag(r.tag)) {
    case tag::kByte:
      return static_cast<std::int32_t>(r.lo & 0xFF);
    case tag::kShort:
      return static_cast<std::int32_t>(static_cast<std::int16_t>(r.lo & 0xFFFF));
    case tag::kInt:
    case tag::kLong:
      return static_cast<std::int32_t>(r.lo);
    case tag::kFloat:
      return truncate(r.as_float());
    case tag::kDouble:
      return truncate(r.as_double());
    default:
      return std::nullopt;
  }
}

std::int32_t to_int32(const ArgRecord& r) {
  std::optional<std::int32_t> v = try_to_int32(r);
  if (!v) report_runtime_error(messages::kNotNumeric, 0);
  return *v;
}

std::string date_time_text(double date) {
  if (std::isnan(date)) date = 0;
  date = std::clamp(date, platform::calendar::kFirstOleDate, platform::calendar::kLastOleDate);
  double whole = std::trunc(date);
  auto seconds = static_cast<std::int64_t>(std::llround(std::fabs(date - whole) * 86400.0));
  if (seconds >= 86400) seconds = 86399;
  const platform::calendar::CivilDate d =
      platform::calendar::civil_from_ole_days(static_cast<std::int64_t>(whole));
  std::string text = format(messages::kDateFormat, static_cast<int>(d.year), static_cast<int>(d.month),
                            static_cast<int>(d.day));
  int hour = static_cast<int>(seconds / 3600), minute = static_cast<int>(seconds / 60 % 60),
      second = static_cast<int>(seconds % 60);
  if (second != 0) {
    text += format(messages::kTimeSecondsFormat, hour, minute, second);
  } else if (minute != 0) {
    text += format(messages::kTimeMinutesFormat, hour, minute);
  } else if (hour != 0) {
    text += format(messages::kTimeHoursFormat, hour);
  }
  return text;
}

std::string value_as_text(const ArgRecord& r) {
  const std::uint32_t t = base_tag(r.tag);
  if (is_array_tag(r.tag)) {
    // A byte set is accepted wherever an array of bytes is.
    if (t == tag::kByteSet)
      return raw_bytes_text(byte_set_data(r.pointer<void>()), byte_set_length(r.pointer<void>()));
    if (!is_numeric(t)) return {};
    const void* array = r.pointer<const void>();
    std::uint64_t count = static_cast<std::uint64_t>(array_dimension(array, 0)) * element_width(t);
    return raw_bytes_text(static_cast<const std::uint8_t*>(array_elements(array)), count);
  }
  switch (t) {
    case tag::kText:
      return text_or_empty(r.pointer<const char>());
    case tag::kByte:
      return format("%u", r.lo & 0xFF);
    case tag::kShort:
      return format("%d", static_cast<int>(static_cast<std::int16_t>(r.lo & 0xFFFF)));
    case tag::kInt:
      return format("%d", static_cast<int>(static_cast<std::int32_t>(r.lo)));
    case tag::kLong:
      return format("%lld", static_cast<long long>(static_cast<std::int64_t>(r.value())));
    case tag::kFloat:
      return format("%.6g", static_cast<double>(r.as_float()));
    case tag::kDouble:
      return format("%.13g", r.as_double());
    case tag::kBool:
      return r.lo != 0 ? messages::kTrue : messages::kFalse;
    case tag::kDateTime:
      return date_time_text(r.as_double());
    case tag::kByteSet:
      return raw_bytes_text(byte_set_data(r.pointer<void>()), byte_set_length(r.pointer<void>()));
    default:
      return {};
  }
}

}  // namespace runtime
