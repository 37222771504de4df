// Character sets of the stream and the request objects: bytes to UTF-16 and back.
// Contract:
// - find() knows "UTF-8", "GB2312", "GBK", "GB18030", "Big5", "Unicode" / "UTF-16" (little
//   endian), "UTF-16BE", "ISO-8859-1", "us-ascii" in any case, and any other name that iconv
//   accepts; it answers nothing for an unknown name.
// - decode never fails and never cuts: a byte sequence that is not valid becomes U+FFFD and
//   decoding goes on after it. With skip_bom, a UTF-8 or UTF-16 byte-order mark at the start of
//   a Unicode charset's bytes is dropped (a UTF-16 mark also picks the byte order).
// - encode turns a character that the charset cannot hold into '?'.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "platform/com/variant.h"

namespace platform::com {

class Charset {
 public:
  enum class Kind { kUtf8, kUtf16Le, kUtf16Be, kOther };

  static std::optional<Charset> find(std::u16string_view name);

  std::u16string decode(std::span<const std::uint8_t> bytes, bool skip_bom) const;
  // decode straight into a BSTR (null only when memory runs out).
  BSTR decode_bstr(std::span<const std::uint8_t> bytes, bool skip_bom) const;
  std::string encode(std::u16string_view text) const;
  // encode into a caller's buffer of at least max_encoded_size(text) bytes, in one pass and
  // without filling the buffer first; answers the bytes written.
  std::size_t encode_into(std::u16string_view text, char* out) const;
  static std::size_t max_encoded_size(std::u16string_view text) { return text.size() * 4; }
  // Bytes of the byte-order mark that decode(bytes, true) skips.
  std::size_t bom_length(std::span<const std::uint8_t> bytes) const;
  const std::string& iconv_name() const { return iconv_name_; }
  Kind kind() const { return kind_; }

 private:
  Charset(Kind kind, std::string iconv_name) : kind_(kind), iconv_name_(std::move(iconv_name)) {}

  Kind kind_;
  std::string iconv_name_;
};

// UTF-8 to UTF-16 with U+FFFD for every bad sequence (the hot path of text reading).
void utf8_to_utf16_lossy(std::span<const std::uint8_t> bytes, std::u16string& out);
// The same into room for bytes.size() units; answers the units written.
std::size_t utf8_to_utf16_into(std::span<const std::uint8_t> bytes, char16_t* out);
std::string utf16_to_utf8_lossy(std::u16string_view text);

}  // namespace platform::com
