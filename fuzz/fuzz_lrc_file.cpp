// An .lrc file's bytes as they come from disk: encoding detection and conversion, then the name
// tags and the lyric. Converted text must be valid UTF-8 whatever went in.
#include <string>
#include <string_view>

#include "fuzz/fuzz_check.h"
#include "service/library/lrc_file.h"
#include "service/text/lrc_lyric.h"
#include "service/text/lyric_encoding.h"
#include "service/text/utf8.h"

using namespace lyr::service;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string bytes(reinterpret_cast<const char*>(data), size);
  (void)encoding_name(detect_encoding(bytes));
  auto text = to_utf8(bytes);
  if (!text) return 0;
  FUZZ_CHECK(valid_utf8(text.value()));
  SongNames names = lrc_tags(text.value());
  // The file name's stem is untrusted too: the first line stands in for it.
  std::string_view stem = std::string_view(text.value()).substr(0, text.value().find('\n'));
  fill_missing(names, names_from_stem(stem));
  FUZZ_CHECK(valid_utf8(names.title) && valid_utf8(names.artist) && valid_utf8(names.album));
  auto lyric = read_lrc_lyric(text.value());
  if (lyric.length) FUZZ_CHECK(*lyric.length >= 0);
  return 0;
}
