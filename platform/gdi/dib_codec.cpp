#include "platform/gdi/dib_codec.h"

#include <bit>
#include <cstring>

namespace platform::gdi {
namespace {

std::uint32_t from_quad(const RGBQUAD& q) {
  return (std::uint32_t{q.rgbRed} << 16) | (std::uint32_t{q.rgbGreen} << 8) | q.rgbBlue;
}

// Extracts a masked channel and scales it to 8 bits.
std::uint32_t channel(std::uint32_t v, DWORD mask) {
  if (mask == 0) return 0;
  const int shift = std::countr_zero(mask);
  const int bits = std::popcount(mask);
  std::uint32_t c = (v & mask) >> shift;
  if (bits >= 8) return c >> (bits - 8);
  // Replicate the high bits so that full-scale values become 255.
  std::uint32_t out = 0;
  int filled = 0;
  while (filled < 8) {
    out = (out << bits) | c;
    filled += bits;
  }
  return out >> (filled - 8);
}

std::uint32_t pack_channel(std::uint32_t c8, DWORD mask) {
  if (mask == 0) return 0;
  const int shift = std::countr_zero(mask);
  const int bits = std::popcount(mask);
  std::uint32_t c = bits >= 8 ? c8 << (bits - 8) : c8 >> (8 - bits);
  return (c << shift) & mask;
}

int nearest_index(const std::vector<RGBQUAD>& pal, std::uint32_t px) {
  int best = 0;
  long best_d = -1;
  const int r = (px >> 16) & 0xFF, g = (px >> 8) & 0xFF, b = px & 0xFF;
  for (std::size_t i = 0; i < pal.size(); ++i) {
    const long dr = r - pal[i].rgbRed, dg = g - pal[i].rgbGreen, db = b - pal[i].rgbBlue;
    const long d = dr * dr + dg * dg + db * db;
    if (best_d < 0 || d < best_d) {
      best_d = d;
      best = static_cast<int>(i);
    }
  }
  return best;
}

}  // namespace

bool valid_bitmap_size(long long width, long long height) {
  return width > 0 && height > 0 && width <= kMaxBitmapSide && height <= kMaxBitmapSide &&
         static_cast<unsigned long long>(width) * static_cast<unsigned long long>(height) <= kMaxBitmapPixels;
}

std::optional<DibFormat> parse_dib(const BITMAPINFO* bmi, UINT usage, std::size_t available) {
  if (!bmi || available < sizeof(BITMAPINFOHEADER)) return std::nullopt;
  const BITMAPINFOHEADER& h = bmi->bmiHeader;
  if (h.biSize < sizeof(BITMAPINFOHEADER) || usage != DIB_RGB_COLORS) return std::nullopt;
  DibFormat f;
  f.width = h.biWidth;
  f.top_down = h.biHeight < 0;
  f.height = h.biHeight < 0 ? -static_cast<long long>(h.biHeight) : h.biHeight;
  f.bpp = h.biBitCount;
  if (!valid_bitmap_size(h.biWidth, f.height)) return std::nullopt;
  if (f.bpp != 1 && f.bpp != 4 && f.bpp != 8 && f.bpp != 16 && f.bpp != 24 && f.bpp != 32)
    return std::nullopt;
  if (h.biCompression != BI_RGB && !(h.biCompression == BI_BITFIELDS && (f.bpp == 16 || f.bpp == 32)))
    return std::nullopt;
  const auto* after = reinterpret_cast<const std::uint8_t*>(bmi) + h.biSize;
  std::size_t extra = 0;
  if (f.bpp <= 8) {
    std::size_t n = h.biClrUsed ? h.biClrUsed : (std::size_t{1} << f.bpp);
    if (n > (std::size_t{1} << f.bpp)) n = std::size_t{1} << f.bpp;
    extra = n * sizeof(RGBQUAD);
    if (available < h.biSize + extra) return std::nullopt;
    f.palette.resize(n);
    std::memcpy(f.palette.data(), after, extra);
    // Indexes past a short colour table read as black.
    f.palette.resize(std::size_t{1} << f.bpp, RGBQUAD{0, 0, 0, 0});
  } else if (h.biCompression == BI_BITFIELDS) {
    extra = h.biSize == sizeof(BITMAPINFOHEADER) ? 12 : 0;
    if (available < h.biSize + extra) return std::nullopt;
    // Larger headers carry the masks inside themselves, right after the 40 bytes.
    const auto* m =
        h.biSize == sizeof(BITMAPINFOHEADER) ? after : reinterpret_cast<const std::uint8_t*>(bmi) + 40;
    std::memcpy(f.masks, m, 12);
  } else if (f.bpp == 16) {
    f.masks[0] = 0x7C00;
    f.masks[1] = 0x03E0;
    f.masks[2] = 0x001F;
  } else {
    f.masks[0] = 0xFF0000;
    f.masks[1] = 0x00FF00;
    f.masks[2] = 0x0000FF;
  }
  f.header_bytes = h.biSize + extra;
  return f;
}

void decode_row(const DibFormat& f, const std::uint8_t* bits, int stored_row, std::uint32_t* out) {
  const std::uint8_t* p = bits + f.stride() * stored_row;
  switch (f.bpp) {
    case 1:
      for (int x = 0; x < f.width; ++x) out[x] = from_quad(f.palette[(p[x >> 3] >> (7 - (x & 7))) & 1]);
      break;
    case 4:
      for (int x = 0; x < f.width; ++x) out[x] = from_quad(f.palette[(p[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xF]);
      break;
    case 8:
      for (int x = 0; x < f.width; ++x) out[x] = from_quad(f.palette[p[x]]);
      break;
    case 16:
      for (int x = 0; x < f.width; ++x) {
        const std::uint32_t v = p[2 * x] | (p[2 * x + 1] << 8);
        out[x] = (channel(v, f.masks[0]) << 16) | (channel(v, f.masks[1]) << 8) | channel(v, f.masks[2]);
      }
      break;
    case 24:
      for (int x = 0; x < f.width; ++x)
        out[x] = (std::uint32_t{p[3 * x + 2]} << 16) | (std::uint32_t{p[3 * x + 1]} << 8) | p[3 * x];
      break;
    case 32:
      for (int x = 0; x < f.width; ++x) {
        std::uint32_t v;
        std::memcpy(&v, p + 4 * x, 4);
        out[x] = (channel(v, f.masks[0]) << 16) | (channel(v, f.masks[1]) << 8) | channel(v, f.masks[2]);
      }
      break;
    default:
      break;
  }
}

void encode_row(const DibFormat& f, const std::uint32_t* in, int stored_row, std::uint8_t* bits) {
  std::uint8_t* p = bits + f.stride() * stored_row;
  switch (f.bpp) {
    case 1:
      std::memset(p, 0, f.stride());
      for (int x = 0; x < f.width; ++x)
        if (nearest_index(f.palette, in[x]) & 1) p[x >> 3] |= static_cast<std::uint8_t>(0x80 >> (x & 7));
      break;
    case 4:
      std::memset(p, 0, f.stride());
      for (int x = 0; x < f.width; ++x)
        p[x >> 1] |= static_cast<std::uint8_t>((nearest_index(f.palette, in[x]) & 0xF) << ((x & 1) ? 0 : 4));
      break;
    case 8:
      for (int x = 0; x < f.width; ++x) p[x] = static_cast<std::uint8_t>(nearest_index(f.palette, in[x]));
      break;
    case 16:
      for (int x = 0; x < f.width; ++x) {
        const std::uint32_t v = pack_channel((in[x] >> 16) & 0xFF, f.masks[0]) |
                                pack_channel((in[x] >> 8) & 0xFF, f.masks[1]) |
                                pack_channel(in[x] & 0xFF, f.masks[2]);
        p[2 * x] = static_cast<std::uint8_t>(v);
        p[2 * x + 1] = static_cast<std::uint8_t>(v >> 8);
      }
      break;
    case 24:
      for (int x = 0; x < f.width; ++x) {
        p[3 * x] = static_cast<std::uint8_t>(in[x]);
        p[3 * x + 1] = static_cast<std::uint8_t>(in[x] >> 8);
        p[3 * x + 2] = static_cast<std::uint8_t>(in[x] >> 16);
      }
      break;
    case 32:
      for (int x = 0; x < f.width; ++x) {
        const std::uint32_t v = pack_channel((in[x] >> 16) & 0xFF, f.masks[0]) |
                                pack_channel((in[x] >> 8) & 0xFF, f.masks[1]) |
                                pack_channel(in[x] & 0xFF, f.masks[2]);
        std::memcpy(p + 4 * x, &v, 4);
      }
      break;
    default:
      break;
  }
}

}  // namespace platform::gdi
