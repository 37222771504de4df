// Calendar arithmetic for every layer that turns dates into days and back: the proleptic
// Gregorian calendar counted in days from 1 January 1970, and the automation DATE's day count
// from 30 December 1899.
// Contract: days_from_civil and civil_from_days are exact inverses for every valid date of any
// year (month 1..12, day 1..days_in_month); a day count may be negative. Nothing here checks its
// input: callers validate months and days first (days_in_month) and keep years within
// kFirstYear..kLastYear where they accept dates. An OLE day is the whole part of a DATE; a DATE
// before the epoch counts its time of day away from zero (-1.25 is 29 December 1899, 6 o'clock).
#pragma once

#include <cstdint>

namespace platform::calendar {

struct CivilDate {
  std::int64_t year = 0;
  unsigned month = 0;  // 1..12
  unsigned day = 0;    // 1..31
};

// The years a date text or a DATE may name: 1 January 100 to 31 December 9999.
inline constexpr std::int64_t kFirstYear = 100;
inline constexpr std::int64_t kLastYear = 9999;
inline constexpr double kFirstOleDate = -657434.0;  // 1 January 100
inline constexpr double kLastOleDate = 2958465.0;   // 31 December 9999

// 30 December 1899 lies this many days before 1 January 1970.
inline constexpr std::int64_t kOleEpochDays = 25569;

constexpr bool is_leap_year(std::int64_t year) {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

constexpr unsigned days_in_month(std::int64_t year, unsigned month) {
  constexpr unsigned kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && is_leap_year(year) ? 29 : kDays[month - 1];
}

// Days from 1 January 1970. Years are shifted to start in March so that the leap day ends a
// year, then counted in 400-year eras of 146097 days.
constexpr std::int64_t days_from_civil(std::int64_t year, unsigned month, unsigned day) {
  const std::int64_t y = year - (month <= 2 ? 1 : 0);
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const auto yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

constexpr CivilDate civil_from_days(std::int64_t days) {
  const std::int64_t z = days + 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const auto doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  const unsigned month = mp < 10 ? mp + 3 : mp - 9;
  return {static_cast<std::int64_t>(yoe) + era * 400 + (month <= 2 ? 1 : 0), month,
          doy - (153 * mp + 2) / 5 + 1};
}

constexpr std::int64_t ole_days_from_civil(std::int64_t year, unsigned month, unsigned day) {
  return days_from_civil(year, month, day) + kOleEpochDays;
}

constexpr CivilDate civil_from_ole_days(std::int64_t ole_days) {
  return civil_from_days(ole_days - kOleEpochDays);
}

// The DATE of a day and a time of day (a fraction of a day, 0 <= time < 1).
constexpr double ole_date(std::int64_t ole_days, double time) {
  const auto days = static_cast<double>(ole_days);
  return days >= 0 ? days + time : days - time;
}

}  // namespace platform::calendar
