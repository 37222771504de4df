// Decoding a 1-megapixel JPEG and PNG through the picture path against calling libjpeg and
// libpng directly with the least work they allow. The ratio of the two is the figure.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <random>

#include "tests/ui/picture/picture_encoders.h"
#include "ui/picture/codecs/codec.h"
#include "ui/picture/picture_pixels.h"

// After the platform types: libjpeg defines TRUE and FALSE as macros.
// clang-format off
#include <jpeglib.h>
#include <png.h>
// clang-format on

namespace {

constexpr int kSide = 1024;  // 1 048 576 pixels

// A photo-like picture: smooth gradients with a little noise, so both codecs do real work.
std::vector<std::uint32_t> photo(bool with_alpha) {
  std::mt19937 rng(42);
  std::vector<std::uint32_t> v(std::size_t(kSide) * kSide);
  for (int y = 0; y < kSide; ++y)
    for (int x = 0; x < kSide; ++x) {
      const std::uint32_t n = rng() % 16;
      const std::uint32_t r = (x / 4 + n) & 0xFF, g = (y / 4 + n) & 0xFF, b = ((x + y) / 8) & 0xFF;
      const std::uint32_t a = with_alpha ? (x * 255 / kSide) : 255;
      v[std::size_t(y) * kSide + x] = a << 24 | r << 16 | g << 8 | b;
    }
  return v;
}

const std::vector<std::uint8_t>& jpeg_file() {
  static const auto file = lyr::picture::test::write_jpeg(kSide, kSide, photo(false), 90);
  return file;
}
const std::vector<std::uint8_t>& png_file() {
  static const auto file = lyr::picture::test::write_png(kSide, kSide, photo(true));
  return file;
}

void BM_PicturePathJpeg(benchmark::State& state) {
  jpeg_file();  // built outside the timing
  for (auto _ : state) {
    auto picture = lyr::picture::decode_picture(jpeg_file());
    if (!picture.ok()) state.SkipWithError("decode failed");
    benchmark::DoNotOptimize(picture.value().pixels.data());
  }
}
BENCHMARK(BM_PicturePathJpeg)->Unit(benchmark::kMillisecond);

void BM_LibjpegDirect(benchmark::State& state) {
  const auto& file = jpeg_file();
  std::vector<std::uint8_t> pixels;
  for (auto _ : state) {
    jpeg_decompress_struct cinfo;
    jpeg_error_mgr err;
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, file.data(), file.size());
    jpeg_read_header(&cinfo, TRUE);
    jpeg_start_decompress(&cinfo);
    const std::size_t row = std::size_t(cinfo.output_width) * cinfo.output_components;
    pixels.resize(row * cinfo.output_height);
    while (cinfo.output_scanline < cinfo.output_height) {
      JSAMPROW p = pixels.data() + row * cinfo.output_scanline;
      jpeg_read_scanlines(&cinfo, &p, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    benchmark::DoNotOptimize(pixels.data());
  }
}
BENCHMARK(BM_LibjpegDirect)->Unit(benchmark::kMillisecond);

void BM_PicturePathPng(benchmark::State& state) {
  png_file();  // built outside the timing
  for (auto _ : state) {
    auto picture = lyr::picture::decode_picture(png_file());
    if (!picture.ok()) state.SkipWithError("decode failed");
    benchmark::DoNotOptimize(picture.value().pixels.data());
  }
}
BENCHMARK(BM_PicturePathPng)->Unit(benchmark::kMillisecond);

void BM_LibpngDirect(benchmark::State& state) {
  const auto& file = png_file();
  std::vector<std::uint8_t> pixels;
  for (auto _ : state) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    png_image_begin_read_from_memory(&image, file.data(), file.size());
    image.format = PNG_FORMAT_BGRA;
    pixels.resize(PNG_IMAGE_SIZE(image));
    png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr);
    png_image_free(&image);
    benchmark::DoNotOptimize(pixels.data());
  }
}
BENCHMARK(BM_LibpngDirect)->Unit(benchmark::kMillisecond);

// Decoding plus the conversion to the 32-bit bitmap pixels that rendering hands to the display.
void BM_PicturePathPngToBitmapPixels(benchmark::State& state) {
  png_file();  // built outside the timing
  for (auto _ : state) {
    auto picture = lyr::picture::decode_picture(png_file());
    auto pixels = lyr::picture::to_bgra_top_down(picture.value(), RGB(212, 208, 200));
    benchmark::DoNotOptimize(pixels.data());
  }
}
BENCHMARK(BM_PicturePathPngToBitmapPixels)->Unit(benchmark::kMillisecond);

void BM_PicturePathJpegToBitmapPixels(benchmark::State& state) {
  jpeg_file();  // built outside the timing
  for (auto _ : state) {
    auto picture = lyr::picture::decode_picture(jpeg_file());
    auto pixels = lyr::picture::to_bgra_top_down(picture.value(), RGB(212, 208, 200));
    benchmark::DoNotOptimize(pixels.data());
  }
}
BENCHMARK(BM_PicturePathJpegToBitmapPixels)->Unit(benchmark::kMillisecond);

}  // namespace
