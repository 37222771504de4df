// Feeds arbitrary bytes to the BMP decoder as if they came from a file.
#include "fuzz/fuzz_limits.h"
#include "ui/picture/codecs/codec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  lyr::picture::Bytes bytes(data, size);
  auto& codec = lyr::picture::bmp_codec();
  (void)codec.size(bytes, fuzz_limits());
  (void)codec.decode(bytes, fuzz_limits());
  return 0;
}
