#include "ui/units/edit_input_mode.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <vector>

#include "platform/kernel/calendar.h"
#include "runtime/convert.h"

namespace ui {
namespace {

bool is_digit(char c) {
  return c >= '0' && c <= '9';
}

enum class Accepts { everything, digits, signed_digits, decimals };

Accepts accepts_of(std::int32_t mode) {
  switch (mode) {
    case 3:
    case 6:
    case 7:
    case 8:
      return Accepts::signed_digits;
    case 4:
    case 9:
    case 10:
      return Accepts::decimals;
    case 5:
      return Accepts::digits;
    default:
      return Accepts::everything;
  }
}

bool allowed(Accepts accepts, std::uint8_t byte) {
  const char c = static_cast<char>(byte);
  switch (accepts) {
    case Accepts::everything:
      return true;
    case Accepts::digits:
      return is_digit(c);
    case Accepts::signed_digits:
      return is_digit(c) || c == '-';
    case Accepts::decimals:
      return is_digit(c) || c == '-' || c == '.';
  }
  return true;
}

std::string_view skip_blanks(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  return text;
}

// The leading integer of the text (sign and digits; a fraction is cut off), saturated to 64
// bits; 0 when there is none.
std::int64_t leading_integer(std::string_view text) {
  text = skip_blanks(text);
  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  std::size_t n = 0;
  while (n < text.size() && is_digit(text[n])) ++n;
  std::uint64_t magnitude = 0;
  bool overflow = false;
  for (std::size_t i = 0; i < n; ++i) {
    const auto digit = static_cast<std::uint64_t>(text[i] - '0');
    if (magnitude > (std::numeric_limits<std::uint64_t>::max() - digit) / 10) {
      overflow = true;
      break;
    }
    magnitude = magnitude * 10 + digit;
  }
  constexpr auto kMax = static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());
  if (negative) {
    if (overflow || magnitude > kMax) return std::numeric_limits<std::int64_t>::min();
    return -static_cast<std::int64_t>(magnitude);
  }
  if (overflow || magnitude > kMax) return std::numeric_limits<std::int64_t>::max();
  return static_cast<std::int64_t>(magnitude);
}

// The leading decimal number of the text (sign, digits, fraction, exponent), saturated to the
// largest finite double; 0 when there is none.
double leading_number(std::string_view text) {
  text = skip_blanks(text);
  std::size_t n = 0;
  if (n < text.size() && (text[n] == '-' || text[n] == '+')) ++n;
  const std::size_t digits_start = n;
  while (n < text.size() && is_digit(text[n])) ++n;
  if (n < text.size() && text[n] == '.') {
    ++n;
    while (n < text.size() && is_digit(text[n])) ++n;
  }
  if (n == digits_start || (n == digits_start + 1 && text[digits_start] == '.')) return 0;
  if (n < text.size() && (text[n] == 'e' || text[n] == 'E')) {
    std::size_t e = n + 1;
    if (e < text.size() && (text[e] == '-' || text[e] == '+')) ++e;
    if (e < text.size() && is_digit(text[e])) {
      while (e < text.size() && is_digit(text[e])) ++e;
      n = e;
    }
  }
  std::string_view number = text.substr(0, n);
  const bool negative = number.front() == '-';
  if (number.front() == '+' || number.front() == '-') number.remove_prefix(1);
  double value = 0;
  const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
  (void)end;
  if (error == std::errc::result_out_of_range) {
    // Too large saturates, too small is 0: small means a negative exponent or no integer digit
    // above zero.
    const std::string_view integer_part = number.substr(0, number.find_first_of(".eE"));
    const bool tiny = number.find("e-") != std::string_view::npos ||
                      number.find("E-") != std::string_view::npos ||
                      integer_part.find_first_not_of('0') == std::string_view::npos;
    value = tiny ? 0.0 : std::numeric_limits<double>::max();
  } else if (error != std::errc{}) {
    value = 0;
  }
  return negative ? -value : value;
}

template <typename T>
std::string shortest_text(T value) {
  std::array<char, 64> buffer{};
  const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
  return std::string(buffer.data(), result.ptr);
}

std::string shown(std::string text) {
  return text == "0" ? std::string() : text;
}

// Separators a date text may use: ASCII punctuation and the date form's own characters
// (年 月 日 时 分 秒 in GB18030).
std::size_t separator_length(std::string_view rest) {
  static constexpr std::string_view kWide[] = {"\xC4\xEA", "\xD4\xC2", "\xC8\xD5",
                                               "\xCA\xB1", "\xB7\xD6", "\xC3\xEB"};
  const char c = rest.front();
  if (c == ' ' || c == '-' || c == '/' || c == '.' || c == ':' || c == 'T' || c == '\t') return 1;
  for (std::string_view wide : kWide) {
    if (rest.substr(0, wide.size()) == wide) return wide.size();
  }
  return 0;
}

}  // namespace

bool TypedCharFilter::accept(std::int32_t mode, std::uint8_t byte) {
  if (byte < 32) {
    refused_trail_bytes_ = 0;
    after_refused_lead_ = false;
    return true;
  }
  const Accepts accepts = accepts_of(mode);
  if (after_refused_lead_) {
    // The second byte of a refused character; a digit there means a four-byte character.
    after_refused_lead_ = false;
    if (is_digit(static_cast<char>(byte))) refused_trail_bytes_ = 2;
    return false;
  }
  if (refused_trail_bytes_ > 0) {
    --refused_trail_bytes_;
    return false;
  }
  if (allowed(accepts, byte)) return true;
  after_refused_lead_ = byte >= 0x81 && byte <= 0xFE;
  return false;
}

std::optional<double> parse_date_time(std::string_view text) {
  std::vector<std::int64_t> fields;
  while (!text.empty()) {
    if (is_digit(text.front())) {
      std::int64_t value = 0;
      std::size_t n = 0;
      while (n < text.size() && is_digit(text[n])) {
        if (value > 100000) return std::nullopt;
        value = value * 10 + (text[n] - '0');
        ++n;
      }
      fields.push_back(value);
      if (fields.size() > 6) return std::nullopt;
      text.remove_prefix(n);
      continue;
    }
    const std::size_t skip = separator_length(text);
    if (skip == 0) return std::nullopt;
    text.remove_prefix(skip);
  }
  if (fields.size() < 3) return std::nullopt;
  fields.resize(6, 0);
  const auto year = static_cast<int>(fields[0]);
  const auto month = static_cast<int>(fields[1]);
  const auto day = static_cast<int>(fields[2]);
  namespace calendar = platform::calendar;
  if (year < calendar::kFirstYear || year > calendar::kLastYear || month < 1 || month > 12 || day < 1 ||
      day > static_cast<int>(calendar::days_in_month(year, static_cast<unsigned>(month))))
    return std::nullopt;
  if (fields[3] > 23 || fields[4] > 59 || fields[5] > 59) return std::nullopt;
  const double time = static_cast<double>(fields[3] * 3600 + fields[4] * 60 + fields[5]) / 86400.0;
  return calendar::ole_date(
      calendar::ole_days_from_civil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)), time);
}

std::optional<std::string> normalized_text(std::int32_t mode, std::string_view text) {
  switch (mode) {
    case 5:
      return shown(std::to_string(std::clamp<std::int64_t>(leading_integer(text), 0, 255)));
    case 6:
      return shown(std::to_string(std::clamp<std::int64_t>(leading_integer(text), -32768, 32767)));
    case 7:
      return shown(std::to_string(std::clamp<std::int64_t>(leading_integer(text),
                                                           std::numeric_limits<std::int32_t>::min(),
                                                           std::numeric_limits<std::int32_t>::max())));
    case 8:
      return shown(std::to_string(leading_integer(text)));
    case 9: {
      constexpr double kLargest = std::numeric_limits<float>::max();
      const auto value = static_cast<float>(std::clamp(leading_number(text), -kLargest, kLargest));
      return value == 0 ? std::string() : shortest_text(value);
    }
    case 10: {
      const double value = leading_number(text);
      return value == 0 ? std::string() : shortest_text(value);
    }
    case 11: {
      const std::optional<double> date = parse_date_time(text);
      if (!date || *date == 0) return std::string();
      return runtime::date_time_text(*date);
    }
    default:
      return std::nullopt;
  }
}

}  // namespace ui
