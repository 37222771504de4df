// Feeds arbitrary bytes to the icon and cursor decoders (directory, DIB and PNG entries).
#include "fuzz/fuzz_limits.h"
#include "ui/picture/codecs/codec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  lyr::picture::Bytes bytes(data, size);
  (void)lyr::picture::ico_codec().decode(bytes, fuzz_limits());
  (void)lyr::picture::cur_codec().decode(bytes, fuzz_limits());
  return 0;
}
