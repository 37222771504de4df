#include "tests/ui/picture/picture_encoders.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <stdexcept>
#include <utility>

// libjpeg needs FILE declared first.
// clang-format off
#include <jpeglib.h>
#include <png.h>
// clang-format on

namespace lyr::picture::test {
namespace {

void put16(Bytes& b, unsigned v) {
  b.push_back(static_cast<std::uint8_t>(v));
  b.push_back(static_cast<std::uint8_t>(v >> 8));
}
void put32(Bytes& b, std::uint32_t v) {
  put16(b, v & 0xFFFF);
  put16(b, v >> 16);
}
void put_rgbquad(Bytes& b, std::uint32_t rgb) {
  b.push_back(static_cast<std::uint8_t>(rgb));
  b.push_back(static_cast<std::uint8_t>(rgb >> 8));
  b.push_back(static_cast<std::uint8_t>(rgb >> 16));
  b.push_back(0);
}

int stride_of(int width, int bits) {
  return (width * bits + 31) / 32 * 4;
}

// Rows of a DIB, bottom-up unless top_down; pixel(x, y) yields an index or a colour.
template <class Pixel>
Bytes dib_rows(int width, int height, int bits, bool top_down, Pixel pixel) {
  const int stride = stride_of(width, bits);
  Bytes out(std::size_t(stride) * height, 0);
  for (int row = 0; row < height; ++row) {
    const int y = top_down ? row : height - 1 - row;
    std::uint8_t* dst = &out[std::size_t(row) * stride];
    for (int x = 0; x < width; ++x) {
      const std::uint32_t v = pixel(x, y);
      if (bits <= 8) {
        const int bit = x * bits;
        dst[bit / 8] |= static_cast<std::uint8_t>(v << (8 - bits - bit % 8));
      } else {
        std::uint8_t* p = dst + x * (bits / 8);
        p[0] = static_cast<std::uint8_t>(v);
        p[1] = static_cast<std::uint8_t>(v >> 8);
        if (bits >= 24) p[2] = static_cast<std::uint8_t>(v >> 16);
        if (bits == 32) p[3] = static_cast<std::uint8_t>(v >> 24);
      }
    }
  }
  return out;
}

void put_info_header(Bytes& b, int width, int height, int bits, std::uint32_t image_size,
                     std::uint32_t colours) {
  put32(b, 40);
  put32(b, static_cast<std::uint32_t>(width));
  put32(b, static_cast<std::uint32_t>(height));
  put16(b, 1);
  put16(b, bits);
  put32(b, 0);
  put32(b, image_size);
  put32(b, 2835);
  put32(b, 2835);
  put32(b, colours);
  put32(b, 0);
}

Bytes write_bmp_file(int width, int height, int bits, bool top_down,
                     const std::vector<std::uint32_t>& palette, const Bytes& rows, int extra_gap) {
  Bytes b{'B', 'M'};
  const std::uint32_t off = 14 + 40 + 4 * std::uint32_t(palette.size()) + std::uint32_t(extra_gap);
  put32(b, off + std::uint32_t(rows.size()));
  put32(b, 0);
  put32(b, off);
  put_info_header(b, width, top_down ? -height : height, bits, std::uint32_t(rows.size()),
                  std::uint32_t(palette.size()));
  for (auto c : palette) put_rgbquad(b, c);
  b.insert(b.end(), std::size_t(extra_gap), 0xEE);
  b.insert(b.end(), rows.begin(), rows.end());
  return b;
}

}  // namespace

Bytes write_bmp_indexed(int width, int height, int bits, const std::vector<std::uint32_t>& palette,
                        const std::vector<std::uint8_t>& indices, bool top_down, int extra_gap) {
  auto rows = dib_rows(width, height, bits, top_down,
                       [&](int x, int y) { return indices[std::size_t(y) * width + x]; });
  return write_bmp_file(width, height, bits, top_down, palette, rows, extra_gap);
}

Bytes write_bmp_rgb(int width, int height, int bits, const std::vector<std::uint32_t>& rgb, bool top_down) {
  auto rows =
      dib_rows(width, height, bits, top_down, [&](int x, int y) { return rgb[std::size_t(y) * width + x]; });
  return write_bmp_file(width, height, bits, top_down, {}, rows, 0);
}

// ---- GIF ----

Bytes gif_lzw_encode(const std::vector<std::uint8_t>& indices, int min_code_size, bool clear_when_full) {
  const std::uint32_t clear = 1u << min_code_size, end = clear + 1;
  Bytes out;
  std::uint32_t acc = 0;
  int count = 0;
  int code_bits = min_code_size + 1;
  auto emit = [&](std::uint32_t code) {
    acc |= code << count;
    count += code_bits;
    while (count >= 8) {
      out.push_back(static_cast<std::uint8_t>(acc));
      acc >>= 8;
      count -= 8;
    }
  };
  std::map<std::pair<std::uint32_t, std::uint8_t>, std::uint32_t> table;
  std::uint32_t next = clear + 2;
  emit(clear);
  if (indices.empty()) {
    emit(end);
    if (count) out.push_back(static_cast<std::uint8_t>(acc));
    return out;
  }
  std::uint32_t prefix = indices[0];
  for (std::size_t i = 1; i < indices.size(); ++i) {
    const std::uint8_t k = indices[i];
    auto it = table.find({prefix, k});
    if (it != table.end()) {
      prefix = it->second;
      continue;
    }
    emit(prefix);
    if (next < 4096) {
      table[{prefix, k}] = next++;
      // The decoder widens its codes once the slot it will fill next needs another bit.
      if (next > (1u << code_bits) && code_bits < 12) ++code_bits;
    } else if (clear_when_full) {
      emit(clear);
      table.clear();
      next = clear + 2;
      code_bits = min_code_size + 1;
    }
    prefix = k;
  }
  emit(prefix);
  emit(end);
  if (count) out.push_back(static_cast<std::uint8_t>(acc));
  return out;
}

namespace {

int palette_bits(std::size_t entries) {
  int bits = 1;
  while ((std::size_t{1} << bits) < entries) ++bits;
  return bits;
}

void put_palette(Bytes& b, const std::vector<std::uint32_t>& palette) {
  for (std::size_t i = 0; i < (std::size_t{1} << palette_bits(palette.size())); ++i) {
    const std::uint32_t c = i < palette.size() ? palette[i] : 0;
    b.push_back(static_cast<std::uint8_t>(c >> 16));
    b.push_back(static_cast<std::uint8_t>(c >> 8));
    b.push_back(static_cast<std::uint8_t>(c));
  }
}

void put_sub_blocks(Bytes& b, const Bytes& data) {
  for (std::size_t i = 0; i < data.size(); i += 255) {
    const std::size_t n = std::min<std::size_t>(255, data.size() - i);
    b.push_back(static_cast<std::uint8_t>(n));
    b.insert(b.end(), data.begin() + std::ptrdiff_t(i), data.begin() + std::ptrdiff_t(i + n));
  }
  b.push_back(0);
}

std::vector<std::uint8_t> interlace(const GifFrameLayout& f) {
  std::vector<std::uint8_t> out;
  const int start[4] = {0, 4, 2, 1}, step[4] = {8, 8, 4, 2};
  for (int pass = 0; pass < 4; ++pass)
    for (int y = start[pass]; y < f.height; y += step[pass])
      out.insert(out.end(), f.indices.begin() + y * f.width, f.indices.begin() + (y + 1) * f.width);
  return out;
}

}  // namespace

Bytes write_gif(const GifLayout& layout) {
  Bytes b{'G', 'I', 'F', '8', '9', 'a'};
  put16(b, layout.width);
  put16(b, layout.height);
  const bool global = !layout.global_palette.empty();
  b.push_back(
      static_cast<std::uint8_t>(global ? 0x80 | (palette_bits(layout.global_palette.size()) - 1) : 0));
  b.push_back(layout.background);
  b.push_back(0);
  if (global) put_palette(b, layout.global_palette);
  if (layout.loop_extension) {
    const std::uint8_t loop[] = {0x21, 0xFF, 11,  'N', 'E', 'T', 'S', 'C', 'A', 'P',
                                 'E',  '2',  '.', '0', 3,   1,   0,   0,   0};
    b.insert(b.end(), std::begin(loop), std::end(loop));
  }
  for (const auto& f : layout.frames) {
    b.insert(b.end(), {0x21, 0xF9, 4});
    b.push_back(static_cast<std::uint8_t>((f.disposal << 2) | (f.transparent ? 1 : 0)));
    put16(b, f.delay_cs);
    b.push_back(f.transparent.value_or(0));
    b.push_back(0);
    b.push_back(0x2C);
    put16(b, f.left);
    put16(b, f.top);
    put16(b, f.width);
    put16(b, f.height);
    std::uint8_t packed = f.interlaced ? 0x40 : 0;
    if (!f.local_palette.empty()) packed |= 0x80 | (palette_bits(f.local_palette.size()) - 1);
    b.push_back(packed);
    if (!f.local_palette.empty()) put_palette(b, f.local_palette);
    const auto& palette = f.local_palette.empty() ? layout.global_palette : f.local_palette;
    const int min_code = f.min_code_size ? f.min_code_size : std::max(2, palette_bits(palette.size()));
    b.push_back(static_cast<std::uint8_t>(min_code));
    put_sub_blocks(b,
                   gif_lzw_encode(f.interlaced ? interlace(f) : f.indices, min_code, layout.clear_when_full));
  }
  if (layout.trailer) b.push_back(0x3B);
  return b;
}

// ---- PCX ----

namespace {

void rle_line(Bytes& out, const std::uint8_t* line, std::size_t n) {
  for (std::size_t i = 0; i < n;) {
    std::size_t run = 1;
    while (i + run < n && run < 63 && line[i + run] == line[i]) ++run;
    if (run > 1 || line[i] >= 0xC0) out.push_back(static_cast<std::uint8_t>(0xC0 + run));
    out.push_back(line[i]);
    i += run;
  }
}

Bytes pcx_header(int version, int bits, int width, int height, int bytes_per_line) {
  Bytes b{0x0A, static_cast<std::uint8_t>(version), 1, static_cast<std::uint8_t>(bits)};
  put16(b, 0);
  put16(b, 0);
  put16(b, width - 1);
  put16(b, height - 1);
  put16(b, 72);
  put16(b, 72);
  for (int i = 0; i < 16; ++i) {  // EGA palette: black, white, ...
    const std::uint8_t v = i == 1 ? 255 : 0;
    b.insert(b.end(), {v, v, v});
  }
  b.push_back(0);
  b.push_back(1);  // planes
  put16(b, bytes_per_line);
  put16(b, 1);
  b.resize(128, 0);
  return b;
}

}  // namespace

Bytes write_pcx8(int width, int height, const std::vector<std::uint8_t>& indices,
                 const std::vector<std::uint32_t>& palette, int bytes_per_line) {
  const int bpl = bytes_per_line ? bytes_per_line : width + (width % 2);
  Bytes b = pcx_header(5, 8, width, height, bpl);
  std::vector<std::uint8_t> line(std::size_t(bpl), 0);
  for (int y = 0; y < height; ++y) {
    std::copy_n(indices.begin() + y * width, width, line.begin());
    rle_line(b, line.data(), line.size());
  }
  b.push_back(0x0C);
  for (int i = 0; i < 256; ++i) {
    const std::uint32_t c = i < int(palette.size()) ? palette[std::size_t(i)] : 0;
    b.insert(b.end(), {std::uint8_t(c >> 16), std::uint8_t(c >> 8), std::uint8_t(c)});
  }
  return b;
}

Bytes write_pcx1(int width, int height, const std::vector<bool>& white) {
  int bpl = (width + 7) / 8;
  bpl += bpl % 2;
  Bytes b = pcx_header(3, 1, width, height, bpl);
  for (int y = 0; y < height; ++y) {
    std::vector<std::uint8_t> line(std::size_t(bpl), 0);
    for (int x = 0; x < width; ++x)
      if (white[std::size_t(y) * width + x]) line[std::size_t(x / 8)] |= std::uint8_t(0x80 >> (x % 8));
    rle_line(b, line.data(), line.size());
  }
  return b;
}

// ---- PNG / JPEG ----

Bytes write_png(int width, int height, const std::vector<std::uint32_t>& argb) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  image.width = std::uint32_t(width);
  image.height = std::uint32_t(height);
  image.format = PNG_FORMAT_BGRA;
  Bytes bgra(argb.size() * 4);
  for (std::size_t i = 0; i < argb.size(); ++i) std::memcpy(&bgra[i * 4], &argb[i], 4);  // little endian
  png_alloc_size_t size = 0;
  if (!png_image_write_to_memory(&image, nullptr, &size, 0, bgra.data(), 0, nullptr))
    throw std::runtime_error("png size");
  Bytes out(size);
  if (!png_image_write_to_memory(&image, out.data(), &size, 0, bgra.data(), 0, nullptr))
    throw std::runtime_error("png write");
  out.resize(size);
  return out;
}

Bytes write_jpeg(int width, int height, const std::vector<std::uint32_t>& rgb, int quality,
                 bool progressive) {
  jpeg_compress_struct cinfo;
  jpeg_error_mgr err;
  cinfo.err = jpeg_std_error(&err);
  jpeg_create_compress(&cinfo);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &buffer, &size);
  cinfo.image_width = JDIMENSION(width);
  cinfo.image_height = JDIMENSION(height);
  cinfo.input_components = 3;
  cinfo.in_color_space = JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, quality, TRUE);
  if (progressive) jpeg_simple_progression(&cinfo);
  jpeg_start_compress(&cinfo, TRUE);
  std::vector<std::uint8_t> row(std::size_t(width) * 3);
  while (cinfo.next_scanline < cinfo.image_height) {
    for (int x = 0; x < width; ++x) {
      const std::uint32_t c = rgb[std::size_t(cinfo.next_scanline) * width + x];
      row[std::size_t(x) * 3] = std::uint8_t(c >> 16);
      row[std::size_t(x) * 3 + 1] = std::uint8_t(c >> 8);
      row[std::size_t(x) * 3 + 2] = std::uint8_t(c);
    }
    JSAMPROW p = row.data();
    jpeg_write_scanlines(&cinfo, &p, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  Bytes out(buffer, buffer + size);
  std::free(buffer);
  return out;
}

// ---- icons ----

namespace {

// One 0x00RRGGBB colour packed into the bits of three masks.
std::uint32_t packed(std::uint32_t rgb, const std::vector<std::uint32_t>& masks) {
  std::uint32_t v = 0;
  for (int c = 0; c < 3; ++c) {
    const std::uint32_t mask = masks[std::size_t(c)];
    const int shift = __builtin_ctz(mask);
    const std::uint32_t top = mask >> shift;
    v |= (((rgb >> (16 - 8 * c)) & 0xFF) * top / 255) << shift;
  }
  return v;
}

Bytes icon_dib(const IconEntryLayout& e) {
  Bytes b;
  const bool indexed = e.bits <= 8;
  const std::vector<std::uint32_t> masks =
      !e.masks.empty() ? e.masks : std::vector<std::uint32_t>{0x7C00, 0x03E0, 0x001F};
  Bytes rows =
      indexed ? dib_rows(e.width, e.height, e.bits, false,
                         [&](int x, int y) { return std::uint32_t(e.indices[std::size_t(y) * e.width + x]); })
              : dib_rows(e.width, e.height, e.bits, false, [&](int x, int y) {
                  const std::uint32_t argb = e.argb[std::size_t(y) * e.width + x];
                  if (e.bits == 16 || !e.masks.empty()) return packed(argb, masks) | (argb & 0xFF000000u);
                  return argb;
                });
  Bytes mask = dib_rows(e.width, e.height, 1, false, [&](int x, int y) {
    return std::uint32_t(!e.mask.empty() && e.mask[std::size_t(y) * e.width + x]);
  });
  put_info_header(b, e.width, e.height * 2, e.bits, std::uint32_t(rows.size() + mask.size()),
                  indexed ? std::uint32_t(e.palette.size()) : 0);
  if (!e.masks.empty()) {
    b[b.size() - 24] = 3;  // biCompression BI_BITFIELDS
    for (std::uint32_t m : e.masks) put32(b, m);
  }
  if (indexed)
    for (auto c : e.palette) put_rgbquad(b, c);
  b.insert(b.end(), rows.begin(), rows.end());
  b.insert(b.end(), mask.begin(), mask.end());
  return b;
}

}  // namespace

Bytes write_icon(const std::vector<IconEntryLayout>& entries, bool cursor) {
  Bytes b;
  put16(b, 0);
  put16(b, cursor ? 2 : 1);
  put16(b, unsigned(entries.size()));
  std::vector<Bytes> images;
  for (const auto& e : entries)
    images.push_back(e.as_png ? write_png(e.width, e.height, e.argb) : icon_dib(e));
  std::uint32_t offset = 6 + 16 * std::uint32_t(entries.size());
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const auto& e = entries[i];
    const int w = e.dir_width >= 0 ? e.dir_width : e.width;
    b.push_back(std::uint8_t(w & 0xFF));
    b.push_back(std::uint8_t(e.height & 0xFF));
    b.push_back(std::uint8_t(e.dir_colours));
    b.push_back(0);
    put16(b, cursor ? unsigned(e.hotspot_x) : 1);
    put16(b, cursor ? unsigned(e.hotspot_y) : unsigned(e.bits));
    put32(b, std::uint32_t(images[i].size()));
    put32(b, offset);
    offset += std::uint32_t(images[i].size());
  }
  for (const auto& img : images) b.insert(b.end(), img.begin(), img.end());
  return b;
}

std::vector<std::uint32_t> quadrants(int width, int height) {
  std::vector<std::uint32_t> v(std::size_t(width) * height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      v[std::size_t(y) * width + x] =
          y < height / 2 ? (x < width / 2 ? 0xE02010 : 0x1020E0) : (x < width / 2 ? 0x20C020 : 0xF0F0F0);
  return v;
}

IconEntryLayout corner_masked_icon() {
  IconEntryLayout e;
  e.width = e.height = 4;
  e.bits = 8;
  e.palette = {0x000000, 0x3060F0};
  e.indices.assign(16, 1);
  e.mask.assign(16, false);
  e.mask[0] = true;
  return e;
}

}  // namespace lyr::picture::test
