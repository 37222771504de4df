#include "platform/kernel/codepage.h"

#include <cerrno>
#include <cstring>

#include "platform/kernel/iconv_handle.h"

namespace platform::codepage {
namespace {

// One iconv descriptor per conversion and call: opening one is cheap next to the text work
// around it.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(to, from) {}

  // Converts all of `in`; an invalid or incomplete input sequence is skipped one byte (or
  // one unit of `unit` bytes) at a time and replaced by `replacement`.
  std::string run(const char* in, std::size_t in_len, std::size_t unit, std::string_view replacement) {
    std::string out;
    if (!cd_.ok()) return out;
    out.resize(in_len * 2 + 16);
    char* src = const_cast<char*>(in);
    std::size_t src_left = in_len;
    std::size_t used = 0;
    while (src_left > 0) {
      char* dst = out.data() + used;
      std::size_t dst_left = out.size() - used;
      std::size_t r = iconv(cd_.get(), &src, &src_left, &dst, &dst_left);
      used = out.size() - dst_left;
      if (r != static_cast<std::size_t>(-1)) break;
      if (errno == E2BIG) {
        out.resize(out.size() * 2);
        continue;
      }
      // EILSEQ or EINVAL: replace and skip one input unit.
      std::size_t skip = unit < src_left ? unit : src_left;
      src += skip;
      src_left -= skip;
      out.resize(used);
      out.append(replacement);
      used = out.size();
      out.resize(used + src_left * 2 + 16);
      iconv(cd_.get(), nullptr, nullptr, nullptr, nullptr);
    }
    out.resize(used);
    return out;
  }

 private:
  IconvHandle cd_;
};

constexpr char kAnsi[] = "GB18030";
constexpr std::string_view kUtf8Replacement = "\xEF\xBF\xBD";
constexpr std::string_view kUtf16Replacement{"\xFD\xFF", 2};

std::u16string bytes_to_u16(const std::string& bytes) {
  std::u16string out(bytes.size() / 2, u'\0');
  std::memcpy(out.data(), bytes.data(), out.size() * 2);
  return out;
}

}  // namespace

std::string ansi_to_utf8(std::string_view ansi) {
  return Converter("UTF-8", kAnsi).run(ansi.data(), ansi.size(), 1, kUtf8Replacement);
}

std::string utf8_to_ansi(std::string_view utf8) {
  return Converter(kAnsi, "UTF-8").run(utf8.data(), utf8.size(), 1, "?");
}

std::u16string ansi_to_utf16(std::string_view ansi) {
  return bytes_to_u16(Converter("UTF-16LE", kAnsi).run(ansi.data(), ansi.size(), 1, kUtf16Replacement));
}

std::string utf16_to_ansi(std::u16string_view utf16) {
  return Converter(kAnsi, "UTF-16LE")
      .run(reinterpret_cast<const char*>(utf16.data()), utf16.size() * 2, 2, "?");
}

std::u16string utf8_to_utf16(std::string_view utf8) {
  return bytes_to_u16(Converter("UTF-16LE", "UTF-8").run(utf8.data(), utf8.size(), 1, kUtf16Replacement));
}

std::string utf16_to_utf8(std::u16string_view utf16) {
  return Converter("UTF-8", "UTF-16LE")
      .run(reinterpret_cast<const char*>(utf16.data()), utf16.size() * 2, 2, kUtf8Replacement);
}

std::size_t ansi_char_length(std::string_view b) {
  if (b.empty()) return 0;
  auto u = [&](std::size_t i) { return static_cast<unsigned char>(b[i]); };
  if (u(0) < 0x81 || u(0) == 0xFF) return 1;
  if (b.size() < 2) return 1;
  if (u(1) >= 0x30 && u(1) <= 0x39) {
    // Four-byte sequence: lead, digit, lead, digit.
    if (b.size() < 4) return 1;
    if (u(2) >= 0x81 && u(2) <= 0xFE && u(3) >= 0x30 && u(3) <= 0x39) return 4;
    return 1;
  }
  if ((u(1) >= 0x40 && u(1) <= 0x7E) || (u(1) >= 0x80 && u(1) <= 0xFE)) return 2;
  return 1;
}

}  // namespace platform::codepage
