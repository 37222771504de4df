#include "platform/kernel/calendar.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

namespace calendar = platform::calendar;

struct KnownDay {
  std::int64_t year;
  unsigned month;
  unsigned day;
  std::int64_t unix_days;  // from 1 January 1970
  std::int64_t ole_days;   // from 30 December 1899
};

// Counted independently of this code (a reference calendar library).
constexpr KnownDay kKnownDays[] = {
    {1970, 1, 1, 0, 25569},            // the Unix epoch
    {1899, 12, 30, -25569, 0},         // the DATE epoch
    {1899, 12, 29, -25570, -1},        // the first negative DATE
    {1900, 1, 1, -25567, 2},           //
    {1900, 2, 28, -25509, 60},         // 1900 is no leap year ...
    {1900, 3, 1, -25508, 61},          // ... so March follows 28 February
    {2000, 2, 29, 11016, 36585},       // but 2000 is
    {2000, 3, 1, 11017, 36586},        //
    {1600, 2, 29, -135081, -109512},   //
    {2024, 2, 29, 19782, 45351},       //
    {100, 1, 1, -683003, -657434},     // the first day a date text or DATE may name
    {9999, 12, 31, 2932896, 2958465},  // the last
    {1, 1, 1, -719162, -693593},       //
    {0, 3, 1, -719468, -693899},       // year 0 is a leap year of the proleptic calendar
    {0, 1, 1, -719528, -693959},       //
    {-1, 12, 31, -719529, -693960},    // an era before year 0
};

TEST(Calendar, KnownDaysBothWays) {
  for (const KnownDay& k : kKnownDays) {
    SCOPED_TRACE(testing::Message() << k.year << "-" << k.month << "-" << k.day);
    EXPECT_EQ(calendar::days_from_civil(k.year, k.month, k.day), k.unix_days);
    EXPECT_EQ(calendar::ole_days_from_civil(k.year, k.month, k.day), k.ole_days);
    const calendar::CivilDate d = calendar::civil_from_ole_days(k.ole_days);
    EXPECT_EQ(d.year, k.year);
    EXPECT_EQ(d.month, k.month);
    EXPECT_EQ(d.day, k.day);
  }
  EXPECT_EQ(calendar::ole_days_from_civil(calendar::kFirstYear, 1, 1), calendar::kFirstOleDate);
  EXPECT_EQ(calendar::ole_days_from_civil(calendar::kLastYear, 12, 31), calendar::kLastOleDate);
}

TEST(Calendar, LeapYearsFollowTheCenturyRules) {
  struct Case {
    std::int64_t year;
    bool leap;
  };
  constexpr Case kCases[] = {{1999, false}, {2004, true}, {1900, false}, {1800, false}, {2100, false},
                             {1600, true},  {2000, true}, {2400, true},  {0, true},     {-4, true},
                             {-100, false}, {-400, true}, {100, false},  {9996, true}};
  for (const Case& c : kCases) {
    EXPECT_EQ(calendar::is_leap_year(c.year), c.leap) << c.year;
    EXPECT_EQ(calendar::days_in_month(c.year, 2), c.leap ? 29u : 28u) << c.year;
  }
  constexpr unsigned kLengths[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  for (unsigned m = 1; m <= 12; ++m) EXPECT_EQ(calendar::days_in_month(2023, m), kLengths[m - 1]) << m;
}

// Every day the callers accept, walked in order: each is the day after the one before, and the
// day count comes back unchanged.
TEST(Calendar, EveryAcceptedDayFollowsTheLastAndRoundTrips) {
  const auto first = static_cast<std::int64_t>(calendar::kFirstOleDate);
  const auto last = static_cast<std::int64_t>(calendar::kLastOleDate);
  calendar::CivilDate previous = calendar::civil_from_ole_days(first - 1);
  EXPECT_EQ(previous.year, calendar::kFirstYear - 1);
  for (std::int64_t n = first; n <= last; ++n) {
    const calendar::CivilDate d = calendar::civil_from_ole_days(n);
    const bool next_day = d.year == previous.year && d.month == previous.month && d.day == previous.day + 1;
    const bool next_month = d.day == 1 &&
                            previous.day == calendar::days_in_month(previous.year, previous.month) &&
                            ((d.year == previous.year && d.month == previous.month + 1) ||
                             (d.year == previous.year + 1 && d.month == 1 && previous.month == 12));
    ASSERT_TRUE(next_day || next_month) << n;
    ASSERT_EQ(calendar::ole_days_from_civil(d.year, d.month, d.day), n);
    previous = d;
  }
  EXPECT_EQ(previous.year, calendar::kLastYear);
}

TEST(Calendar, TimeOfDayCountsAwayFromZeroBeforeTheEpoch) {
  EXPECT_EQ(calendar::ole_date(2, 0.25), 2.25);
  EXPECT_EQ(calendar::ole_date(0, 0.5), 0.5);
  EXPECT_EQ(calendar::ole_date(-1, 0.25), -1.25);  // 29 December 1899, 6 o'clock
  EXPECT_EQ(calendar::ole_date(-2, 0), -2.0);
}

}  // namespace
