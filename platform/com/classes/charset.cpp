#include "platform/com/classes/charset.h"

#include <iconv.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <cstring>

#include "platform/kernel/iconv_handle.h"

namespace platform::com {
namespace {

constexpr char16_t kReplacement = 0xFFFD;

using Iconv = codepage::IconvHandle;

std::string lower_ascii(std::u16string_view name) {
  std::string s;
  for (char16_t c : name) {
    if (c >= 0x80) return {};
    s.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
  }
  return s;
}

void decode_utf16(std::span<const std::uint8_t> bytes, bool big_endian, std::u16string& out) {
  std::size_t n = bytes.size() / 2;
  std::size_t start = out.size();
  out.resize(start + n);
  for (std::size_t i = 0; i < n; ++i) {
    std::uint8_t a = bytes[2 * i], b = bytes[2 * i + 1];
    out[start + i] = big_endian ? static_cast<char16_t>(a << 8 | b) : static_cast<char16_t>(b << 8 | a);
  }
  if (bytes.size() % 2 != 0) out.push_back(kReplacement);
}

void decode_iconv(const std::string& name, std::span<const std::uint8_t> bytes, std::u16string& out) {
  Iconv cd("UTF-16LE", name.c_str());
  if (!cd.ok()) {
    out.append(bytes.size(), kReplacement);
    return;
  }
  auto* in = reinterpret_cast<char*>(const_cast<std::uint8_t*>(bytes.data()));
  std::size_t in_left = bytes.size();
  std::array<char16_t, 4096> buffer;
  while (in_left > 0) {
    auto* dst = reinterpret_cast<char*>(buffer.data());
    std::size_t dst_left = sizeof buffer;
    std::size_t r = iconv(cd.get(), &in, &in_left, &dst, &dst_left);
    out.append(buffer.data(), (sizeof buffer - dst_left) / sizeof(char16_t));
    if (r != static_cast<std::size_t>(-1)) continue;
    if (errno == E2BIG) continue;
    // A bad byte (EILSEQ) or a cut-off sequence at the end (EINVAL): one replacement, move on.
    out.push_back(kReplacement);
    ++in;
    --in_left;
    iconv(cd.get(), nullptr, nullptr, nullptr, nullptr);
  }
}

}  // namespace

void utf8_to_utf16_lossy(std::span<const std::uint8_t> bytes, std::u16string& out) {
  std::size_t start = out.size();
  out.resize(start + bytes.size());  // never more code units than bytes
  out.resize(start + utf8_to_utf16_into(bytes, out.data() + start));
}

std::size_t utf8_to_utf16_into(std::span<const std::uint8_t> bytes, char16_t* const begin) {
  const std::size_t n = bytes.size();
  char16_t* dst = begin;
  std::size_t i = 0;
  while (i < n) {
    // Runs of ASCII (time tags, Latin words) go eight bytes at a time.
    while (i + 8 <= n) {
      std::uint64_t word;
      std::memcpy(&word, bytes.data() + i, sizeof word);
      if ((word & 0x8080808080808080ull) != 0) break;
      for (int k = 0; k < 8; ++k) dst[k] = static_cast<char16_t>(bytes[i + k]);
      dst += 8;
      i += 8;
    }
    if (i >= n) break;
    std::uint8_t b = bytes[i];
    if (b < 0x80) {
      *dst++ = b;
      ++i;
      continue;
    }
    if (b >= 0xE1 && b <= 0xEC && i + 2 < n && (bytes[i + 1] & 0xC0) == 0x80 &&
        (bytes[i + 2] & 0xC0) == 0x80) {
      // The bulk of Chinese text: three-byte forms that can be neither overlong nor surrogates.
      *dst++ = static_cast<char16_t>((b & 0x0F) << 12 | (bytes[i + 1] & 0x3F) << 6 | (bytes[i + 2] & 0x3F));
      i += 3;
      continue;
    }
    std::uint32_t cp = 0;
    std::size_t len = 0;
    std::uint32_t min = 0;
    if (b >= 0xC2 && b <= 0xDF) {
      cp = b & 0x1F, len = 2, min = 0x80;
    } else if (b >= 0xE0 && b <= 0xEF) {
      cp = b & 0x0F, len = 3, min = 0x800;
    } else if (b >= 0xF0 && b <= 0xF4) {
      cp = b & 0x07, len = 4, min = 0x10000;
    } else {
      *dst++ = kReplacement;
      ++i;
      continue;
    }
    std::size_t k = 1;
    for (; k < len && i + k < n && (bytes[i + k] & 0xC0) == 0x80; ++k) cp = cp << 6 | (bytes[i + k] & 0x3F);
    if (k < len || cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
      // The maximal valid prefix becomes one replacement character.
      *dst++ = kReplacement;
      i += k;
      continue;
    }
    i += len;
    if (cp >= 0x10000) {
      cp -= 0x10000;
      *dst++ = static_cast<char16_t>(0xD800 + (cp >> 10));
      *dst++ = static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
    } else {
      *dst++ = static_cast<char16_t>(cp);
    }
  }
  return static_cast<std::size_t>(dst - begin);
}

std::string utf16_to_utf8_lossy(std::u16string_view text) {
  std::string out;
  out.reserve(text.size() * 3);
  for (std::size_t i = 0; i < text.size(); ++i) {
    std::uint32_t cp = text[i];
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (cp >= 0xD800 && cp <= 0xDFFF) {
      cp = kReplacement;
    }
    if (cp < 0x80) {
      out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
      out.push_back(static_cast<char>(0xC0 | cp >> 6));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | cp >> 12));
      out.push_back(static_cast<char>(0x80 | (cp >> 6 & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | cp >> 18));
      out.push_back(static_cast<char>(0x80 | (cp >> 12 & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp >> 6 & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
  }
  return out;
}

std::optional<Charset> Charset::find(std::u16string_view name) {
  std::string n = lower_ascii(name);
  if (n.empty()) return std::nullopt;
  if (n == "utf-8" || n == "utf8") return Charset(Kind::kUtf8, "UTF-8");
  if (n == "unicode" || n == "utf-16" || n == "utf-16le") return Charset(Kind::kUtf16Le, "UTF-16LE");
  if (n == "utf-16be" || n == "unicodefffe") return Charset(Kind::kUtf16Be, "UTF-16BE");
  if (n == "us-ascii" || n == "ascii") return Charset(Kind::kOther, "ASCII");
  for (char& c : n) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  Iconv probe("UTF-16LE", n.c_str());
  if (!probe.ok()) return std::nullopt;
  return Charset(Kind::kOther, n);
}

std::size_t Charset::bom_length(std::span<const std::uint8_t> bytes) const {
  if (kind_ == Kind::kOther) return 0;
  if (bytes.size() >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) return 3;
  if (bytes.size() >= 2 &&
      ((bytes[0] == 0xFF && bytes[1] == 0xFE) || (bytes[0] == 0xFE && bytes[1] == 0xFF))) {
    return 2;
  }
  return 0;
}

std::u16string Charset::decode(std::span<const std::uint8_t> bytes, bool skip_bom) const {
  std::u16string out;
  Kind kind = kind_;
  if (std::size_t bom = skip_bom ? bom_length(bytes) : 0; bom > 0) {
    kind = bom == 3 ? Kind::kUtf8 : bytes[0] == 0xFF ? Kind::kUtf16Le : Kind::kUtf16Be;
    bytes = bytes.subspan(bom);
  }
  switch (kind) {
    case Kind::kUtf8:
      utf8_to_utf16_lossy(bytes, out);
      break;
    case Kind::kUtf16Le:
    case Kind::kUtf16Be:
      decode_utf16(bytes, kind == Kind::kUtf16Be, out);
      break;
    case Kind::kOther:
      decode_iconv(iconv_name_, bytes, out);
      break;
  }
  return out;
}

BSTR Charset::decode_bstr(std::span<const std::uint8_t> bytes, bool skip_bom) const {
  std::size_t bom = skip_bom ? bom_length(bytes) : 0;
  if (kind_ == Kind::kUtf8 && (bom == 0 || bom == 3)) {
    // The common case, without a detour through another buffer.
    bytes = bytes.subspan(bom);
    BSTR text = SysAllocStringLen(nullptr, static_cast<UINT>(bytes.size()));
    if (text == nullptr) return nullptr;
    auto units = static_cast<UINT>(utf8_to_utf16_into(bytes, text));
    SysReAllocStringLen(&text, text, units);
    return text;
  }
  std::u16string decoded = decode(bytes, skip_bom);
  return SysAllocStringLen(decoded.data(), static_cast<UINT>(decoded.size()));
}

std::string Charset::encode(std::u16string_view text) const {
  if (kind_ == Kind::kUtf8) return utf16_to_utf8_lossy(text);
  std::string out;
  if (kind_ != Kind::kOther) {
    out.reserve(text.size() * 2);
    for (char16_t c : text) {
      char hi = static_cast<char>(c >> 8), lo = static_cast<char>(c & 0xFF);
      if (kind_ == Kind::kUtf16Le) {
        out.push_back(lo);
        out.push_back(hi);
      } else {
        out.push_back(hi);
        out.push_back(lo);
      }
    }
    return out;
  }
  out.resize(max_encoded_size(text));
  out.resize(encode_into(text, out.data()));
  return out;
}

}  // namespace platform::com

namespace platform::com {

std::size_t Charset::encode_into(std::u16string_view text, char* out) const {
  if (kind_ != Kind::kOther) {
    std::string encoded = encode(text);
    std::memcpy(out, encoded.data(), encoded.size());
    return encoded.size();
  }
  Iconv cd(iconv_name_.c_str(), "UTF-16LE");
  if (!cd.ok()) {
    std::memset(out, '?', text.size());
    return text.size();
  }
  auto* in = reinterpret_cast<char*>(const_cast<char16_t*>(text.data()));
  std::size_t in_left = text.size() * sizeof(char16_t);
  char* dst = out;
  std::size_t dst_left = max_encoded_size(text);
  while (in_left > 0) {
    if (iconv(cd.get(), &in, &in_left, &dst, &dst_left) != static_cast<std::size_t>(-1)) continue;
    if (errno == E2BIG || dst_left == 0) break;  // cannot happen with the promised room
    // A character the charset cannot hold (or a lone surrogate): '?' in its place.
    *dst++ = '?';
    --dst_left;
    std::size_t skip = in_left >= 4 && (reinterpret_cast<char16_t*>(in)[0] & 0xFC00) == 0xD800 ? 4 : 2;
    skip = std::min(skip, in_left);
    in += skip;
    in_left -= skip;
    iconv(cd.get(), nullptr, nullptr, nullptr, nullptr);
  }
  return static_cast<std::size_t>(dst - out);
}

}  // namespace platform::com
