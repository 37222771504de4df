// The edit box's input modes: which typed characters a mode lets through, and how a mode
// rewrites the text when the box loses the focus.
// Contract:
// - Modes: 0 normal, 1 read-only, 2 password, 3 integer text, 4 decimal text, 5 byte, 6 short
//   integer, 7 integer, 8 long integer, 9 single, 10 double, 11 date and time.
// - TypedCharFilter sees the WM_CHAR bytes of one box in order. Bytes below 32 always pass.
//   Modes 3, 6, 7, 8 pass digits and "-"; 4, 9, 10 digits, "-" and "."; 5 digits only; other
//   modes everything. A refused multi-byte character is refused whole: its trail bytes never
//   slip through as digits.
// - normalized_text answers the text a box of modes 5-11 shows after losing the focus (nullopt
//   for modes that keep their text): the leading number converted to the mode's type (clamped
//   to its range; no number is 0) and formatted back, "0" shown as ""; mode 11 the date and
//   time in the runtime's date form, "" for an unreadable or zero date.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ui {

inline constexpr std::int32_t kInputModeCount = 12;
inline constexpr std::int32_t kInputReadOnly = 1;
inline constexpr std::int32_t kInputPassword = 2;

class TypedCharFilter {
 public:
  bool accept(std::int32_t mode, std::uint8_t byte);

 private:
  int refused_trail_bytes_ = 0;  // bytes still to refuse of a refused character
  bool after_refused_lead_ = false;
};

std::optional<std::string> normalized_text(std::int32_t mode, std::string_view text);

// An automation date (days since 30 December 1899) read from a date text; nullopt when the text
// is no date. Accepts "2024-05-01", "2024/5/1 13:45:10", "2024.05.01" and the runtime's own form.
std::optional<double> parse_date_time(std::string_view text);

}  // namespace ui
