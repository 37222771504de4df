// Code-page conversion, MulDiv, the user locale and the small string helpers.
#include <cstdint>
#include <cstring>
#include <string>

#include "platform/api/kernel.h"
#include "platform/kernel/codepage.h"

namespace {

enum class Page { kAnsi, kUtf8, kUnknown };

Page page_of(UINT code_page) {
  switch (code_page) {
    case CP_ACP:
    case CP_OEMCP:
    case CP_THREAD_ACP:
    case CP_GBK:
    case CP_GB18030:
      return Page::kAnsi;
    case CP_UTF8:
      return Page::kUtf8;
    default:
      return Page::kUnknown;
  }
}

// Copies a result into the caller's buffer, or only measures it when the buffer size is 0.
template <typename Char>
int deliver(const std::basic_string<Char>& result, Char* target, int capacity) {
  if (result.size() > static_cast<std::size_t>(INT32_MAX)) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  int length = static_cast<int>(result.size());
  if (capacity == 0) return length;
  if (length > capacity) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  std::memcpy(target, result.data(), result.size() * sizeof(Char));
  return length;
}

bool has_lone_surrogate(std::u16string_view s) {
  for (std::size_t i = 0; i < s.size(); ++i) {
    char16_t c = s[i];
    if (c >= 0xD800 && c <= 0xDBFF) {
      if (i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF) {
        ++i;
        continue;
      }
      return true;
    }
    if (c >= 0xDC00 && c <= 0xDFFF) return true;
  }
  return false;
}

}  // namespace

// A length of -1 means NUL-terminated, and the terminator is converted (and counted) too.
extern "C" int WINAPI MultiByteToWideChar(UINT code_page, DWORD, LPCSTR source, int source_bytes,
                                          LPWSTR target, int target_chars) {
  Page page = page_of(code_page);
  if (page == Page::kUnknown || !source || source_bytes == 0 || source_bytes < -1 || target_chars < 0 ||
      (target_chars > 0 && !target)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  std::size_t length = source_bytes == -1 ? std::strlen(source) + 1 : static_cast<std::size_t>(source_bytes);
  std::string_view in(source, length);
  std::u16string out =
      page == Page::kAnsi ? platform::codepage::ansi_to_utf16(in) : platform::codepage::utf8_to_utf16(in);
  return deliver(out, target, target_chars);
}

extern "C" int WINAPI WideCharToMultiByte(UINT code_page, DWORD, LPCWSTR source, int source_chars,
                                          LPSTR target, int target_bytes, LPCSTR default_char,
                                          BOOL* used_default_char) {
  Page page = page_of(code_page);
  // The platform refuses a default character for UTF-8.
  if (page == Page::kUnknown || !source || source_chars == 0 || source_chars < -1 || target_bytes < 0 ||
      (target_bytes > 0 && !target) || (page == Page::kUtf8 && (default_char || used_default_char))) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  std::size_t length = 0;
  if (source_chars == -1) {
    while (source[length] != 0) ++length;
    ++length;
  } else {
    length = static_cast<std::size_t>(source_chars);
  }
  std::u16string_view in(source, length);
  std::string out;
  if (page == Page::kUtf8) {
    out = platform::codepage::utf16_to_utf8(in);
  } else {
    out = platform::codepage::utf16_to_ansi(in);
    // GB18030 holds every character: only a broken surrogate needs the default character.
    bool replaced = has_lone_surrogate(in);
    if (used_default_char) *used_default_char = replaced ? TRUE : FALSE;
    if (replaced && default_char && *default_char && *default_char != '?') {
      // Redo with the caller's default character in place of each "?" the converter produced
      // for a broken surrogate; a literal "?" in the input stays.
      out.clear();
      std::size_t start = 0;
      for (std::size_t i = 0; i <= in.size(); ++i) {
        bool broken = false;
        if (i < in.size()) {
          char16_t c = in[i];
          bool high = c >= 0xD800 && c <= 0xDBFF;
          bool low = c >= 0xDC00 && c <= 0xDFFF;
          if (high && i + 1 < in.size() && in[i + 1] >= 0xDC00 && in[i + 1] <= 0xDFFF) {
            ++i;
            continue;
          }
          broken = high || low;
        }
        if (broken || i == in.size()) {
          out += platform::codepage::utf16_to_ansi(in.substr(start, i - start));
          if (broken) out.push_back(*default_char);
          start = i + 1;
        }
      }
    }
  }
  return deliver(out, target, target_bytes);
}

// number * numerator / denominator in 64 bits, rounded half away from zero; -1 when the
// denominator is 0 or the result does not fit.
extern "C" int WINAPI MulDiv(int number, int numerator, int denominator) {
  if (denominator == 0) return -1;
  std::int64_t product = static_cast<std::int64_t>(number) * numerator;
  std::int64_t d = denominator;
  bool negative = (product < 0) != (d < 0);
  std::uint64_t p = product < 0 ? static_cast<std::uint64_t>(-product) : static_cast<std::uint64_t>(product);
  std::uint64_t q = d < 0 ? static_cast<std::uint64_t>(-d) : static_cast<std::uint64_t>(d);
  std::uint64_t r = (p + q / 2) / q;
  if (r > static_cast<std::uint64_t>(INT32_MAX) + (negative ? 1u : 0u)) return -1;
  return negative ? static_cast<int>(-static_cast<std::int64_t>(r)) : static_cast<int>(r);
}

// Simplified Chinese (PRC), the locale the program's text is written for.
extern "C" LCID WINAPI GetUserDefaultLCID() {
  return 0x0804;
}

extern "C" int WINAPI lstrlenA(LPCSTR text) {
  if (!text) return 0;
  std::size_t n = std::strlen(text);
  return n > static_cast<std::size_t>(INT32_MAX) ? INT32_MAX : static_cast<int>(n);
}

// Copies at most max_chars - 1 bytes and always terminates (for max_chars > 0).
extern "C" LPSTR WINAPI lstrcpynA(LPSTR target, LPCSTR source, int max_chars) {
  if (!target || max_chars <= 0) return target;
  if (!source) source = "";
  int i = 0;
  for (; i < max_chars - 1 && source[i]; ++i) target[i] = source[i];
  target[i] = '\0';
  return target;
}
