// Reading the parts of a request target ourselves, from the raw bytes: a title may hold an
// encoded "/" (%2F) that must not split it, and a part may come as UTF-8 or, from older
// clients, as GBK bytes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "service/core/result.h"

namespace lyr::service {

// Percent-decodes one part; fails on a broken escape or bytes that are not text.
Result<std::string> decode_part(std::string_view raw);

// The target without its query ("?...") and fragment.
std::string_view target_path(std::string_view target);

struct LyricQuery {
  std::string title;
  std::string artist;
};

// "<title>/<artist>" or "<title>" after "/api/lyric/". The first raw "/" separates the two.
Result<LyricQuery> parse_lyric_query(std::string_view rest);

// "17" → 17; fails for anything but 1 to 18 digits.
Result<std::uint64_t> parse_id(std::string_view digits);

// "<id>.<ext>" → id when ext matches `want_ext` (not checked when empty).
Result<std::uint64_t> parse_id_file(std::string_view name, std::string_view want_ext,
                                    std::string* ext = nullptr);

}  // namespace lyr::service
