#include "platform/com/variant_text.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "platform/kernel/calendar.h"

namespace platform::com::text {
namespace {

// The ASCII content of a BSTR without surrounding blanks; empty when it holds anything else.
std::string ascii(BSTR text, bool* ok) {
  std::string s;
  *ok = true;
  for (UINT i = 0; i < SysStringLen(text); ++i) {
    if (text[i] >= 0x80) {
      *ok = false;
      return {};
    }
    s.push_back(static_cast<char>(text[i]));
  }
  std::size_t b = s.find_first_not_of(" \t\r\n");
  std::size_t e = s.find_last_not_of(" \t\r\n");
  return b == std::string::npos ? std::string() : s.substr(b, e - b + 1);
}

std::u16string widen(const std::string& s) {
  return std::u16string(s.begin(), s.end());
}

}  // namespace

HRESULT parse_number(BSTR text, double* out) {
  bool ok = false;
  std::string s = ascii(text, &ok);
  if (!ok || s.empty()) return DISP_E_TYPEMISMATCH;
  char* end = nullptr;
  double d = std::strtod(s.c_str(), &end);
  if (end == nullptr || *end != 0 || std::isnan(d)) return DISP_E_TYPEMISMATCH;
  if (std::isinf(d)) return DISP_E_OVERFLOW;
  *out = d;
  return S_OK;
}

int parse_bool(BSTR text) {
  bool ok = false;
  std::string s = ascii(text, &ok);
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (s == "true") return 1;
  if (s == "false") return 0;
  return -1;
}

bool parse_date(BSTR text, DATE* out) {
  bool ok = false;
  std::string s = ascii(text, &ok);
  if (!ok) return false;
  int y = 0, mo = 0, d = 0, h = 0, mi = 0, se = 0;
  char sep1 = 0, sep2 = 0;
  int used = 0;
  if (std::sscanf(s.c_str(), "%d%c%d%c%d%n", &y, &sep1, &mo, &sep2, &d, &used) != 5) return false;
  if ((sep1 != '-' && sep1 != '/') || sep2 != sep1) return false;
  if (mo < 1 || mo > 12 || d < 1 || d > 31 || y < calendar::kFirstYear || y > calendar::kLastYear)
    return false;
  std::string rest = s.substr(static_cast<std::size_t>(used));
  if (!rest.empty()) {
    int n = std::sscanf(rest.c_str(), " %d:%d:%d", &h, &mi, &se);
    if (n < 2 || h > 23 || mi > 59 || se > 59 || h < 0 || mi < 0 || se < 0) return false;
  }
  const std::int64_t days =
      calendar::ole_days_from_civil(y, static_cast<unsigned>(mo), static_cast<unsigned>(d));
  *out = calendar::ole_date(days, (h * 3600 + mi * 60 + se) / 86400.0);
  return true;
}

std::u16string format_number(double value) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.15G", value);
  return widen(buffer);
}

std::u16string format_date(DATE value) {
  if (!std::isfinite(value) || std::fabs(value) > 3e6) return format_number(value);
  double whole = std::trunc(value);
  auto seconds = static_cast<std::int64_t>(std::llround(std::fabs(value - whole) * 86400.0));
  if (seconds >= 86400) {
    seconds -= 86400;
    whole += value >= 0 ? 1 : -1;
  }
  const calendar::CivilDate date = calendar::civil_from_ole_days(static_cast<std::int64_t>(whole));
  char buffer[64];
  std::string s;
  if (whole != 0 || seconds == 0) {
    std::snprintf(buffer, sizeof buffer, "%lld/%u/%u", static_cast<long long>(date.year), date.month,
                  date.day);
    s = buffer;
  }
  if (seconds != 0) {
    std::snprintf(buffer, sizeof buffer, "%s%lld:%02lld:%02lld", s.empty() ? "" : " ",
                  static_cast<long long>(seconds / 3600), static_cast<long long>(seconds / 60 % 60),
                  static_cast<long long>(seconds % 60));
    s += buffer;
  }
  return widen(s);
}

}  // namespace platform::com::text
