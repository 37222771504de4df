// Feeds arbitrary bytes to the GIF reader, the still decoder and the frame composer.
#include "fuzz/fuzz_limits.h"
#include "ui/picture/codecs/codec.h"
#include "ui/picture/codecs/gif_composer.h"
#include "ui/picture/codecs/gif_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  lyr::picture::Bytes bytes(data, size);
  const auto& limits = fuzz_limits();
  (void)lyr::picture::gif_codec().decode(bytes, limits);
  auto gif = lyr::picture::decode_gif(bytes, limits, 64);
  if (gif.ok()) {
    lyr::picture::GifComposer composer(gif.value(), 0xFF00FF00u);
    for (std::size_t i = 0; i < gif.value().frames.size(); ++i) composer.draw(i);
    composer.draw(0);
  }
  return 0;
}
