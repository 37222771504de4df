#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>

#include "commands/value_text.h"
#include "platform/kernel/calendar.h"

namespace commands {
namespace {

constexpr std::int64_t kSecondsPerDay = 86400;

// GB18030 texts of the date and time units.
constexpr char kDate[] = "%d\xC4\xEA%d\xD4\xC2%d\xC8\xD5";  // 年 月 日
constexpr char kHour[] = "%d\xCA\xB1";                      // 时
constexpr char kMinute[] = "%d\xB7\xD6";                    // 分
constexpr char kSecond[] = "%d\xC3\xEB";                    // 秒

}  // namespace

std::string date_time_text(double date) {
  if (std::isnan(date)) date = 0;
  date = std::clamp(date, platform::calendar::kFirstOleDate, platform::calendar::kLastOleDate);
  // Before the epoch the whole part counts days back and the fraction still runs forward
  // through that day: -1.25 is 29 December 1899, 6 o'clock.
  double whole = std::trunc(date);
  auto seconds = static_cast<std::int64_t>(std::llround(std::fabs(date - whole) * kSecondsPerDay));
  auto days = static_cast<std::int64_t>(whole);
  if (seconds >= kSecondsPerDay) {
    seconds -= kSecondsPerDay;
    ++days;
  }
  const platform::calendar::CivilDate d = platform::calendar::civil_from_ole_days(days);
  const int hour = static_cast<int>(seconds / 3600);
  const int minute = static_cast<int>(seconds / 60 % 60);
  const int second = static_cast<int>(seconds % 60);

  char buffer[96];
  int n = std::snprintf(buffer, sizeof buffer, kDate, static_cast<int>(d.year), static_cast<int>(d.month),
                        static_cast<int>(d.day));
  auto append = [&](const char* format, int value) {
    n += std::snprintf(buffer + n, sizeof buffer - static_cast<std::size_t>(n), format, value);
  };
  if (second != 0) {
    append(kHour, hour);
    append(kMinute, minute);
    append(kSecond, second);
  } else if (minute != 0) {
    append(kHour, hour);
    append(kMinute, minute);
  } else if (hour != 0) {
    append(kHour, hour);
  }
  return std::string(buffer, static_cast<std::size_t>(n));
}

}  // namespace commands
