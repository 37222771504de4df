#include "service/text/lyric_encoding.h"

#include <iconv.h>

#include <cerrno>
#include <cstdint>

#include "service/text/utf8.h"

namespace lyr::service {

namespace {

bool starts_with(std::string_view s, std::string_view prefix) {
  return s.substr(0, prefix.size()) == prefix;
}

Result<std::string> utf16_to_utf8(std::string_view bytes, bool little_endian) {
  if (bytes.size() % 2 != 0) return fail("UTF-16 text of odd length");
  auto unit = [&](std::size_t i) -> char32_t {
    auto a = static_cast<std::uint8_t>(bytes[i]), b = static_cast<std::uint8_t>(bytes[i + 1]);
    return little_endian ? char32_t(a | (b << 8)) : char32_t((a << 8) | b);
  };
  std::string out;
  out.reserve(bytes.size() * 3 / 2);
  for (std::size_t i = 0; i < bytes.size(); i += 2) {
    char32_t u = unit(i);
    if (u >= 0xD800 && u <= 0xDBFF) {
      if (i + 2 >= bytes.size()) return fail("UTF-16 text ends inside a pair");
      char32_t low = unit(i + 2);
      if (low < 0xDC00 || low > 0xDFFF) return fail("unpaired UTF-16 surrogate");
      u = 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00);
      i += 2;
    } else if (u >= 0xDC00 && u <= 0xDFFF) {
      return fail("unpaired UTF-16 surrogate");
    }
    append_utf8(out, u);
  }
  return out;
}

class Iconv {
 public:
  Iconv(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Iconv() {
    if (ok()) iconv_close(cd_);
  }
  Iconv(const Iconv&) = delete;
  Iconv& operator=(const Iconv&) = delete;
  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
  iconv_t get() const { return cd_; }

 private:
  iconv_t cd_;
};

Result<std::string> gb18030_to_utf8(std::string_view bytes) {
  Iconv cd("UTF-8", "GB18030");
  if (!cd.ok()) return fail("no GB18030 converter on this system");
  std::string out(bytes.size() * 2 + 16, '\0');
  char* in = const_cast<char*>(bytes.data());
  std::size_t in_left = bytes.size();
  std::size_t done = 0;
  while (in_left > 0) {
    char* dst = out.data() + done;
    std::size_t dst_left = out.size() - done;
    std::size_t rc = iconv(cd.get(), &in, &in_left, &dst, &dst_left);
    done = out.size() - dst_left;
    if (rc != static_cast<std::size_t>(-1)) break;
    if (errno == E2BIG) {
      out.resize(out.size() * 2);
      continue;
    }
    return fail("bytes that are neither UTF-8 nor GB18030 at offset " +
                std::to_string(bytes.size() - in_left));
  }
  out.resize(done);
  return out;
}

}  // namespace

LyricEncoding detect_encoding(std::string_view bytes) {
  if (starts_with(bytes, "\xEF\xBB\xBF")) return LyricEncoding::utf8_bom;
  if (starts_with(bytes, "\xFF\xFE")) return LyricEncoding::utf16le;
  if (starts_with(bytes, "\xFE\xFF")) return LyricEncoding::utf16be;
  return valid_utf8(bytes) ? LyricEncoding::utf8 : LyricEncoding::gb18030;
}

const char* encoding_name(LyricEncoding encoding) {
  switch (encoding) {
    case LyricEncoding::utf8:
      return "UTF-8";
    case LyricEncoding::utf8_bom:
      return "UTF-8 with byte-order mark";
    case LyricEncoding::utf16le:
      return "UTF-16LE";
    case LyricEncoding::utf16be:
      return "UTF-16BE";
    case LyricEncoding::gb18030:
      return "GB18030";
  }
  return "?";
}

Result<std::string> to_utf8(std::string bytes) {
  switch (detect_encoding(bytes)) {
    case LyricEncoding::utf8:
      return bytes;
    case LyricEncoding::utf8_bom:
      if (!valid_utf8(std::string_view(bytes).substr(3)))
        return fail("invalid UTF-8 after a UTF-8 byte-order mark");
      bytes.erase(0, 3);
      return bytes;
    case LyricEncoding::utf16le:
      return utf16_to_utf8(std::string_view(bytes).substr(2), true);
    case LyricEncoding::utf16be:
      return utf16_to_utf8(std::string_view(bytes).substr(2), false);
    case LyricEncoding::gb18030:
      return gb18030_to_utf8(bytes);
  }
  return fail("unknown encoding");
}

Result<std::string> utf8_from_unknown(std::string_view bytes) {
  if (valid_utf8(bytes)) return std::string(bytes);
  return gb18030_to_utf8(bytes);
}

}  // namespace lyr::service
