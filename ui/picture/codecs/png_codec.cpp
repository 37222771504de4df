#include "ui/picture/codecs/png_codec.h"

#include <png.h>

#include <cstring>

namespace lyr::picture {
namespace {

constexpr std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
constexpr std::size_t kMaxChunks = 100000;
constexpr std::uint32_t kMaxChunkLength = 0x7FFFFFFF;  // the format's own limit

std::uint32_t be32(const std::uint8_t* p) {
  return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) | p[3];
}

// Walks the chunks up to IEND and checks IHDR's size; libpng then never meets a chunk that
// claims more bytes than there are.
Result<PictureSize> prescan(Bytes bytes, const DecodeLimits& limits) {
  if (!has_png_signature(bytes)) return fail("not a PNG");
  std::uint64_t pos = sizeof kSignature;
  std::optional<PictureSize> size;
  for (std::size_t chunks = 0;; ++chunks) {
    if (chunks >= kMaxChunks) return fail("too many PNG chunks");
    if (bytes.size() - pos < 12) return fail("PNG chunk truncated");
    const std::uint32_t length = be32(bytes.data() + pos);
    if (length > kMaxChunkLength || length > bytes.size() - pos - 12)
      return fail("PNG chunk runs past the end");
    const std::uint8_t* type = bytes.data() + pos + 4;
    if (chunks == 0) {
      if (std::memcmp(type, "IHDR", 4) != 0 || length != 13) return fail("PNG header missing");
      const std::uint32_t w = be32(type + 4);
      const std::uint32_t h = be32(type + 8);
      if (!checked_buffer_size(w, h, 32, limits)) return fail("PNG too large");
      size = PictureSize{static_cast<int>(w), static_cast<int>(h)};
    }
    pos += std::uint64_t{length} + 12;
    if (std::memcmp(type, "IEND", 4) == 0) break;
  }
  return *size;
}

// Owns the simplified-interface structure so it is freed on every path.
class PngImage {
 public:
  PngImage() {
    std::memset(&image_, 0, sizeof image_);
    image_.version = PNG_IMAGE_VERSION;
  }
  ~PngImage() { png_image_free(&image_); }
  PngImage(const PngImage&) = delete;
  PngImage& operator=(const PngImage&) = delete;
  png_image* get() { return &image_; }

 private:
  png_image image_;
};

}  // namespace

bool has_png_signature(Bytes bytes) {
  return bytes.size() >= sizeof kSignature && std::memcmp(bytes.data(), kSignature, sizeof kSignature) == 0;
}

Result<BgraImage> decode_png_bgra(Bytes bytes, const DecodeLimits& limits) {
  if (bytes.size() <= 7) return fail("too short for a PNG");
  LYR_TRY_ASSIGN(PictureSize size, prescan(bytes, limits));
  PngImage image;
  if (!png_image_begin_read_from_memory(image.get(), bytes.data(), bytes.size()))
    return fail("libpng rejected the header");
  if (image.get()->width != static_cast<png_uint_32>(size.width) ||
      image.get()->height != static_cast<png_uint_32>(size.height))
    return fail("PNG size mismatch");
  image.get()->format = PNG_FORMAT_BGRA;
  auto buffer_size = checked_buffer_size(image.get()->width, image.get()->height, 32, limits);
  if (!buffer_size) return fail("PNG too large");
  BgraImage out;
  out.width = image.get()->width;
  out.height = image.get()->height;
  out.pixels.resize(*buffer_size);
  if (!png_image_finish_read(image.get(), nullptr, out.pixels.data(), 0, nullptr))
    return fail("libpng failed to decode");
  return out;
}

namespace {

bool sniff(Bytes bytes) {
  return detect_format(bytes) == PictureFormat::png;
}

Result<PictureSize> size(Bytes bytes, const DecodeLimits& limits) {
  return prescan(bytes, limits);
}

Result<DecodedPicture> decode(Bytes bytes, const DecodeLimits& limits) {
  LYR_TRY_ASSIGN(BgraImage image, decode_png_bgra(bytes, limits));
  DecodedPicture picture;
  picture.kind = PictureFormat::png;
  picture.width = static_cast<int>(image.width);
  picture.height = static_cast<int>(image.height);
  picture.pixels = std::move(image.pixels);
  return picture;
}

bool animated(Bytes, const DecodeLimits&) {
  return false;
}

}  // namespace

const Codec& png_codec() {
  static const Codec codec{PictureFormat::png, sniff, size, decode, animated};
  return codec;
}

}  // namespace lyr::picture
