// Feeds arbitrary bytes to both PCX decoders.
#include "fuzz/fuzz_limits.h"
#include "ui/picture/codecs/codec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  lyr::picture::Bytes bytes(data, size);
  (void)lyr::picture::pcx8_codec().decode(bytes, fuzz_limits());
  (void)lyr::picture::pcx1_codec().decode(bytes, fuzz_limits());
  return 0;
}
