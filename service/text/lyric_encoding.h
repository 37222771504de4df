// Lyric files come as UTF-8 (with or without a byte-order mark), UTF-16 with a mark, or the
// Chinese national encodings GBK/GB18030. to_utf8 picks the encoding from the bytes and returns
// the text as UTF-8 without a mark; bytes that fit none of them (a stray byte in a GB18030 file,
// an odd-length or unpaired UTF-16 text) are an error, never a half-converted text.
#pragma once

#include <string>
#include <string_view>

#include "service/core/result.h"

namespace lyr::service {

enum class LyricEncoding { utf8, utf8_bom, utf16le, utf16be, gb18030 };

LyricEncoding detect_encoding(std::string_view bytes);
const char* encoding_name(LyricEncoding encoding);

// Takes the bytes by value: UTF-8 text, the common case, comes back without a copy.
Result<std::string> to_utf8(std::string bytes);

// Text from an outside source of unknown encoding (a request path, a tag): kept when it is
// UTF-8, else read as GB18030, else nullopt.
Result<std::string> utf8_from_unknown(std::string_view bytes);

}  // namespace lyr::service
