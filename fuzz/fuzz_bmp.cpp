// Feeds arbitrary bytes to the BMP decoder as if they came from a file.
#include "ui/picture/codecs/codec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  lyr::picture::Bytes bytes(data, size);
  auto& codec = lyr::picture::bmp_codec();
  (void)codec.size(bytes, lyr::picture::default_limits());
  (void)codec.decode(bytes, lyr::picture::default_limits());
  return 0;
}
