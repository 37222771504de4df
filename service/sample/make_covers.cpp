// Builds the bundled sample library: copies every .lrc of the source folder and draws a cover
// beside each one, cycling through JPEG, PNG, animated GIF and BMP so the finder meets every
// picture format it reads. Covers are pure functions of the song's file name: the same build
// draws the same pictures.
//   lyric-sample-covers <source folder> <target folder>
#include <cstdio>
// jpeglib.h uses FILE and size_t without declaring them.
#include <jpeglib.h>
#include <png.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int kSize = 200;

struct Rgb {
  std::uint8_t r, g, b;
};

using Image = std::vector<Rgb>;  // kSize * kSize, top row first

std::uint32_t hash(const std::string& s) {
  std::uint32_t h = 2166136261u;
  for (unsigned char c : s) h = (h ^ c) * 16777619u;
  return h;
}

Rgb hue(double h, double light) {
  auto channel = [&](double offset) {
    double v = 0.5 + 0.5 * std::cos(6.2831853 * (h + offset));
    return static_cast<std::uint8_t>(std::clamp(v * light * 255.0, 0.0, 255.0));
  };
  return {channel(0.0), channel(1.0 / 3), channel(2.0 / 3)};
}

// A record on a gradient: the groove highlight turns with `frame`.
Image draw(std::uint32_t seed, int frame) {
  Image img(kSize * kSize);
  double base = (seed % 1000) / 1000.0;
  double spin = frame * 0.785398;
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      double dx = x - kSize / 2.0 + 0.5, dy = y - kSize / 2.0 + 0.5;
      double r = std::sqrt(dx * dx + dy * dy);
      Rgb c = hue(base + 0.25 * y / kSize, 0.55 + 0.45 * x / kSize);
      if (r < kSize * 0.42) {
        double angle = std::atan2(dy, dx) - spin;
        bool groove = static_cast<int>(r) % 6 < 2;
        double shine = std::pow(std::max(0.0, std::cos(angle)), 8);
        std::uint8_t v = static_cast<std::uint8_t>(std::min(255.0, (groove ? 18 : 30) + 90 * shine));
        c = {v, v, v};
      }
      if (r < kSize * 0.14) c = hue(base + 0.5, 0.9);
      if (r < kSize * 0.025) c = {240, 240, 240};
      img[static_cast<std::size_t>(y * kSize + x)] = c;
    }
  }
  return img;
}

bool write_png(const fs::path& path, const Image& img) {
  png_image png{};
  png.version = PNG_IMAGE_VERSION;
  png.width = kSize;
  png.height = kSize;
  png.format = PNG_FORMAT_RGB;
  return png_image_write_to_file(&png, path.c_str(), 0, img.data(), kSize * 3, nullptr) != 0;
}

bool write_jpeg(const fs::path& path, const Image& img) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  jpeg_compress_struct cinfo{};
  jpeg_error_mgr err{};
  cinfo.err = jpeg_std_error(&err);
  jpeg_create_compress(&cinfo);
  jpeg_stdio_dest(&cinfo, f);
  cinfo.image_width = kSize;
  cinfo.image_height = kSize;
  cinfo.input_components = 3;
  cinfo.in_color_space = JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, 88, TRUE);
  jpeg_start_compress(&cinfo, TRUE);
  while (cinfo.next_scanline < cinfo.image_height) {
    auto* row = const_cast<JSAMPLE*>(reinterpret_cast<const JSAMPLE*>(&img[cinfo.next_scanline * kSize]));
    jpeg_write_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  return std::fclose(f) == 0;
}

void put16(std::string& out, unsigned v) {
  out.push_back(static_cast<char>(v & 0xFF));
  out.push_back(static_cast<char>(v >> 8));
}

void put32(std::string& out, std::uint32_t v) {
  put16(out, v & 0xFFFF);
  put16(out, v >> 16);
}

bool write_bytes(const fs::path& path, const std::string& bytes) {
  std::ofstream f(path, std::ios::binary);
  f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(f);
}

bool write_bmp(const fs::path& path, const Image& img) {
  const std::uint32_t row = kSize * 3;  // 600 bytes, already a multiple of 4
  std::string out = "BM";
  put32(out, 54 + row * kSize);
  put32(out, 0);
  put32(out, 54);
  put32(out, 40);
  put32(out, kSize);
  put32(out, kSize);
  put16(out, 1);
  put16(out, 24);
  put32(out, 0);
  put32(out, row * kSize);
  put32(out, 2835);
  put32(out, 2835);
  put32(out, 0);
  put32(out, 0);
  for (int y = kSize - 1; y >= 0; --y)
    for (int x = 0; x < kSize; ++x) {
      const Rgb& c = img[static_cast<std::size_t>(y * kSize + x)];
      out.push_back(static_cast<char>(c.b));
      out.push_back(static_cast<char>(c.g));
      out.push_back(static_cast<char>(c.r));
    }
  return write_bytes(path, out);
}

// GIF image data: 8-bit codes sent as 9-bit literals with a clear code before the table would
// widen the codes, which every decoder reads and which needs no string table here.
std::string gif_lzw(const std::vector<std::uint8_t>& indices) {
  std::string out;
  std::uint32_t bits = 0;
  int nbits = 0;
  std::string block;
  auto emit = [&](unsigned code) {
    bits |= code << nbits;
    nbits += 9;
    while (nbits >= 8) {
      block.push_back(static_cast<char>(bits & 0xFF));
      bits >>= 8;
      nbits -= 8;
    }
  };
  const unsigned clear = 256, end = 257;
  int since_clear = 0;
  emit(clear);
  for (std::uint8_t i : indices) {
    if (since_clear == 250) {
      emit(clear);
      since_clear = 0;
    }
    emit(i);
    ++since_clear;
  }
  emit(end);
  if (nbits > 0) block.push_back(static_cast<char>(bits & 0xFF));
  out.push_back(8);  // minimum code size
  for (std::size_t i = 0; i < block.size(); i += 255) {
    std::size_t n = std::min<std::size_t>(255, block.size() - i);
    out.push_back(static_cast<char>(n));
    out.append(block, i, n);
  }
  out.push_back(0);
  return out;
}

std::uint8_t palette_index(const Rgb& c) {
  return static_cast<std::uint8_t>((c.r * 6 / 256) * 36 + (c.g * 6 / 256) * 6 + c.b * 6 / 256);
}

bool write_gif(const fs::path& path, std::uint32_t seed) {
  std::string out = "GIF89a";
  put16(out, kSize);
  put16(out, kSize);
  out.push_back(static_cast<char>(0xF7));  // global table of 256 colours
  out.push_back(0);
  out.push_back(0);
  for (int i = 0; i < 256; ++i) {
    int r = i / 36 % 6, g = i / 6 % 6, b = i % 6;
    bool used = i < 216;
    out.push_back(static_cast<char>(used ? r * 51 : 0));
    out.push_back(static_cast<char>(used ? g * 51 : 0));
    out.push_back(static_cast<char>(used ? b * 51 : 0));
  }
  out += "\x21\xFF\x0BNETSCAPE2.0\x03\x01";  // loop for ever
  put16(out, 0);
  out.push_back(0);
  for (int frame = 0; frame < 8; ++frame) {
    out += "\x21\xF9\x04";
    out.push_back(0x04);  // keep the frame, no transparency
    put16(out, 12);       // 0.12 s
    out.push_back(0);
    out.push_back(0);
    out.push_back(',');
    put16(out, 0);
    put16(out, 0);
    put16(out, kSize);
    put16(out, kSize);
    out.push_back(0);
    Image img = draw(seed, frame);
    std::vector<std::uint8_t> indices(img.size());
    std::transform(img.begin(), img.end(), indices.begin(), palette_index);
    out += gif_lzw(indices);
  }
  out.push_back(';');
  return write_bytes(path, out);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: lyric-sample-covers <source folder> <target folder>\n");
    return 2;
  }
  fs::path source = argv[1], target = argv[2];
  std::error_code ec;
  fs::create_directories(target, ec);
  std::vector<fs::path> lyrics;
  for (const auto& e : fs::directory_iterator(source, ec))
    if (e.path().extension() == ".lrc") lyrics.push_back(e.path());
  if (ec || lyrics.empty()) {
    std::fprintf(stderr, "lyric-sample-covers: no lyric files in %s\n", source.c_str());
    return 1;
  }
  std::sort(lyrics.begin(), lyrics.end());
  for (std::size_t i = 0; i < lyrics.size(); ++i) {
    fs::path lrc = lyrics[i];
    std::string stem = lrc.stem().string();
    fs::copy_file(lrc, target / lrc.filename(), fs::copy_options::overwrite_existing, ec);
    std::uint32_t seed = hash(stem);
    bool ok = !ec;
    switch (i % 4) {
      case 0:
        ok = ok && write_jpeg(target / (stem + ".jpg"), draw(seed, 0));
        break;
      case 1:
        ok = ok && write_png(target / (stem + ".png"), draw(seed, 0));
        break;
      case 2:
        ok = ok && write_gif(target / (stem + ".gif"), seed);
        break;
      default:
        ok = ok && write_bmp(target / (stem + ".bmp"), draw(seed, 0));
    }
    if (!ok) {
      std::fprintf(stderr, "lyric-sample-covers: cannot write the files of %s into %s\n", stem.c_str(),
                   target.c_str());
      return 1;
    }
  }
  return 0;
}
