#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>

#include "commands/value_text.h"

namespace commands {
namespace {

constexpr double kFirstDate = -657434.0;  // 1 January 100
constexpr double kLastDate = 2958465.0;   // 31 December 9999
constexpr std::int64_t kSecondsPerDay = 86400;
constexpr std::int64_t kDaysFrom1970 = 25569;  // 30 December 1899 lies this many days earlier

// GB18030 texts of the date and time units.
constexpr char kDate[] = "%d\xC4\xEA%d\xD4\xC2%d\xC8\xD5";  // 年 月 日
constexpr char kHour[] = "%d\xCA\xB1";                      // 时
constexpr char kMinute[] = "%d\xB7\xD6";                    // 分
constexpr char kSecond[] = "%d\xC3\xEB";                    // 秒

struct CivilDate {
  int year;
  int month;
  int day;
};

// Proleptic Gregorian date of a day count from 1 January 1970.
CivilDate civil_from_days(std::int64_t z) {
  z += 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const auto doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  const unsigned d = doy - (153 * mp + 2) / 5 + 1;
  const unsigned m = mp < 10 ? mp + 3 : mp - 9;
  const auto y = static_cast<int>(static_cast<std::int64_t>(yoe) + era * 400 + (m <= 2 ? 1 : 0));
  return {y, static_cast<int>(m), static_cast<int>(d)};
}

}  // namespace

std::string date_time_text(double date) {
  if (std::isnan(date)) date = 0;
  date = std::clamp(date, kFirstDate, kLastDate);
  // Before the epoch the whole part counts days back and the fraction still runs forward
  // through that day: -1.25 is 29 December 1899, 6 o'clock.
  double whole = std::trunc(date);
  auto seconds = static_cast<std::int64_t>(std::llround(std::fabs(date - whole) * kSecondsPerDay));
  auto days = static_cast<std::int64_t>(whole);
  if (seconds >= kSecondsPerDay) {
    seconds -= kSecondsPerDay;
    ++days;
  }
  const CivilDate d = civil_from_days(days - kDaysFrom1970);
  const int hour = static_cast<int>(seconds / 3600);
  const int minute = static_cast<int>(seconds / 60 % 60);
  const int second = static_cast<int>(seconds % 60);

  char buffer[96];
  int n = std::snprintf(buffer, sizeof buffer, kDate, d.year, d.month, d.day);
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
