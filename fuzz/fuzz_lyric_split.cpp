// The synced and plain forms of any UTF-8 text. Synced lines each start with a time tag and come
// in time order; the plain form has no time tags left at a line's start, no blank-line runs, no
// blank edges; an instrumental has neither form; valid text stays valid.
#include <string>
#include <string_view>

#include "fuzz/fuzz_check.h"
#include "service/text/lrc_lyric.h"
#include "service/text/utf8.h"

using namespace lyr::service;

namespace {

void check_synced(std::string_view synced) {
  FUZZ_CHECK(!synced.empty() && !synced.ends_with('\n'));
  long long last = -1;
  std::size_t pos = 0;
  while (pos <= synced.size()) {
    std::size_t end = synced.find('\n', pos);
    if (end == std::string_view::npos) end = synced.size();
    std::string_view line = synced.substr(pos, end - pos);
    pos = end + 1;
    FUZZ_CHECK(line.starts_with('['));
    std::size_t close = line.find(']');
    FUZZ_CHECK(close != std::string_view::npos);
    auto ms = lrc_time_ms(line.substr(1, close - 1));
    FUZZ_CHECK(ms && *ms >= last);
    last = *ms;
    FUZZ_CHECK(close + 1 == line.size() || line[close + 1] == ' ');
  }
}

void check_plain(std::string_view plain) {
  FUZZ_CHECK(!plain.empty() && !plain.starts_with('\n') && !plain.ends_with('\n'));
  FUZZ_CHECK(plain.find("\n\n\n") == std::string_view::npos);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  auto lyric = read_lrc_lyric(text);
  if (lyric.instrumental) FUZZ_CHECK(!lyric.synced && !lyric.plain);
  if (lyric.synced) check_synced(*lyric.synced);
  if (lyric.plain) check_plain(*lyric.plain);
  if (lyric.length) FUZZ_CHECK(*lyric.length >= 0);
  if (valid_utf8(text)) {
    FUZZ_CHECK(!lyric.synced || valid_utf8(*lyric.synced));
    FUZZ_CHECK(!lyric.plain || valid_utf8(*lyric.plain));
  }
  // A reply carries the synced form as written here; read again it must say the same.
  if (lyric.synced) FUZZ_CHECK(read_lrc_lyric(*lyric.synced).synced == lyric.synced);
  return 0;
}
