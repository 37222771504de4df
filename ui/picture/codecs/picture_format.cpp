#include "ui/picture/codecs/picture_format.h"

namespace lyr::picture {
namespace {

using Head = std::span<const std::uint8_t, kSniffBytes>;

std::uint16_t u16_at(Head h, std::size_t i) {
  return static_cast<std::uint16_t>(h[i] | (h[i + 1] << 8));
}

bool is_bmp(Head h) {
  return h[0] == 'B' && h[1] == 'M';
}
bool is_jpeg(Head h) {
  return h[0] == 0xFF && h[1] == 0xD8;
}
bool is_png(Head h) {
  return h[0] == 0x89 && h[1] == 'P' && h[2] == 'N' && h[3] == 'G';
}
bool is_icon_dir(Head h, std::uint16_t type) {
  return u16_at(h, 0) == 0 && u16_at(h, 2) == type && u16_at(h, 4) > 0;
}
bool is_gif(Head h) {
  return h[0] == 'G' && h[1] == 'I' && h[2] == 'F' && h[3] == '8' && (h[4] == '7' || h[4] == '9') &&
         h[5] == 'a';
}
// PCX header: manufacturer, version, encoding, bits per pixel.
bool is_pcx8(Head h) {
  return h[0] == 0x0A && h[1] <= 5 && h[2] == 1 && h[3] == 8;
}
bool is_pcx1(Head h) {
  return h[0] == 0x0A && h[1] == 3 && h[2] == 1 && h[3] == 1;
}

}  // namespace

PictureFormat detect_format(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < kSniffBytes) return PictureFormat::none;
  Head h = bytes.first<kSniffBytes>();
  if (is_bmp(h)) return PictureFormat::bmp;
  if (is_jpeg(h)) return PictureFormat::jpeg;
  if (is_png(h)) return PictureFormat::png;
  if (is_icon_dir(h, 1)) return PictureFormat::ico;
  if (is_icon_dir(h, 2)) return PictureFormat::cur;
  if (is_gif(h)) return PictureFormat::gif;
  if (is_pcx8(h)) return PictureFormat::pcx8;
  if (is_pcx1(h)) return PictureFormat::pcx1;
  return PictureFormat::none;
}

}  // namespace lyr::picture
