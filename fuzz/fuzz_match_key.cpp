// The match key of any bytes: valid UTF-8 without white space, control characters (the index
// ends keys with NUL) or ASCII punctuation, and a key's key is itself.
#include <string>
#include <string_view>

#include "fuzz/fuzz_check.h"
#include "service/text/match_key.h"
#include "service/text/utf8.h"

using namespace lyr::service;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  std::string key = match_key(text);
  FUZZ_CHECK(valid_utf8(key));
  for (unsigned char c : key) {
    FUZZ_CHECK(c > ' ' && c != 0x7F);
    FUZZ_CHECK(!(c >= 'A' && c <= 'Z'));
    FUZZ_CHECK(c >= 0x80 || (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z'));
  }
  FUZZ_CHECK(match_key(key) == key);
  return 0;
}
