// The ImageList_* functions: creation, adding images from bitmaps and icons, drawing, streams.
#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/api.h"
#include "platform/api/dib_info.h"
#include "platform/api/listview.h"
#include "platform/controls/imagelist_store.h"

namespace il = platform::controls::imagelist;

namespace {

constexpr std::uint32_t kAlphaMask = 0xFF000000u;

std::uint32_t bgra(COLORREF c, std::uint8_t alpha) {
  return (static_cast<std::uint32_t>(alpha) << 24) | (static_cast<std::uint32_t>(GetRValue(c)) << 16) |
         (static_cast<std::uint32_t>(GetGValue(c)) << 8) | GetBValue(c);
}

struct Pixels {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> data;  // top-down 0xAARRGGBB as GetDIBits gives it
};

// A 32-bit DIB section is read straight from its memory, so that its alpha survives.
bool read_dib_section(HBITMAP bitmap, Pixels& out) {
  DIBSECTION ds{};
  if (GetObjectA(bitmap, sizeof(ds), &ds) != static_cast<int>(sizeof(ds))) return false;
  if (ds.dsBm.bmBitsPixel != 32 || !ds.dsBm.bmBits || ds.dsBmih.biCompression != BI_RGB) return false;
  out.width = ds.dsBm.bmWidth;
  out.height = ds.dsBm.bmHeight;
  out.data.assign(static_cast<std::size_t>(out.width) * out.height, 0);
  const bool top_down = ds.dsBmih.biHeight < 0;
  const auto* bits = static_cast<const std::uint8_t*>(ds.dsBm.bmBits);
  for (int y = 0; y < out.height; ++y) {
    const int stored = top_down ? y : out.height - 1 - y;
    std::memcpy(&out.data[static_cast<std::size_t>(y) * out.width],
                bits + static_cast<std::ptrdiff_t>(stored) * ds.dsBm.bmWidthBytes,
                static_cast<std::size_t>(out.width) * 4);
  }
  return true;
}

// Reads any bitmap as 32-bit top-down pixels.
bool read_bitmap(HBITMAP bitmap, Pixels& out) {
  BITMAP bm{};
  if (!bitmap || GetObjectA(bitmap, sizeof(bm), &bm) == 0 || bm.bmWidth <= 0 || bm.bmHeight <= 0)
    return false;
  if (read_dib_section(bitmap, out)) return true;
  out.width = bm.bmWidth;
  out.height = bm.bmHeight;
  out.data.assign(static_cast<std::size_t>(out.width) * out.height, 0);
  BITMAPINFO info = platform::top_down_dib_info(out.width, out.height);
  HDC dc = CreateCompatibleDC(nullptr);
  const int lines =
      GetDIBits(dc, bitmap, 0, static_cast<UINT>(out.height), out.data.data(), &info, DIB_RGB_COLORS);
  DeleteDC(dc);
  return lines > 0;
}

bool has_alpha(const Pixels& p) {
  return std::any_of(p.data.begin(), p.data.end(), [](std::uint32_t v) { return (v & kAlphaMask) != 0; });
}

// Copies image `index` of a strip (images side by side) into `dst`, cropping or padding.
void copy_from_strip(const Pixels& src, int index, int cx, int cy, std::span<std::uint32_t> dst) {
  std::fill(dst.begin(), dst.end(), 0);
  const int rows = std::min(cy, src.height);
  for (int y = 0; y < rows; ++y)
    for (int x = 0; x < cx; ++x) {
      const int sx = index * cx + x;
      if (sx >= src.width) break;
      dst[static_cast<std::size_t>(y) * cx + x] = src.data[static_cast<std::size_t>(y) * src.width + sx];
    }
}

// Nearest-neighbour scaling of a whole picture into `dst` (cx by cy).
void scale_into(const Pixels& src, int src_h, int cx, int cy, std::span<std::uint32_t> dst) {
  for (int y = 0; y < cy; ++y)
    for (int x = 0; x < cx; ++x) {
      const int sx = x * src.width / cx;
      const int sy = y * src_h / cy;
      dst[static_cast<std::size_t>(y) * cx + x] = src.data[static_cast<std::size_t>(sy) * src.width + sx];
    }
}

int add_strip(HIMAGELIST himl, const Pixels& image, const Pixels* mask, const COLORREF* mask_colour) {
  int first = -1;
  il::with(himl, [&](il::ImageList& list) {
    const int n = std::max(1, image.width / list.cx);
    first = list.append_blank(n);
    if (first < 0) return;
    const bool alpha = (list.flags & 0xFE) == ILC_COLOR32 && has_alpha(image);
    std::vector<std::uint32_t> mask_px(static_cast<std::size_t>(list.cx) * list.cy);
    for (int k = 0; k < n; ++k) {
      auto dst = list.image(first + k);
      copy_from_strip(image, k, list.cx, list.cy, dst);
      if (mask) copy_from_strip(*mask, k, list.cx, list.cy, mask_px);
      for (std::size_t j = 0; j < dst.size(); ++j) {
        std::uint32_t& px = dst[j];
        if (!alpha) px |= kAlphaMask;
        if (mask && (mask_px[j] & 0x00FFFFFFu) != 0) px = 0;
        if (mask_colour && (px & 0x00FFFFFFu) == (bgra(*mask_colour, 0) & 0x00FFFFFFu)) px = 0;
      }
    }
  });
  return first;
}

COLORREF blend(COLORREF a, COLORREF b, int percent_b) {
  auto mix = [&](int x, int y) { return static_cast<BYTE>((x * (100 - percent_b) + y * percent_b) / 100); };
  return RGB(mix(GetRValue(a), GetRValue(b)), mix(GetGValue(a), GetGValue(b)),
             mix(GetBValue(a), GetBValue(b)));
}

}  // namespace

extern "C" HIMAGELIST ImageList_Create(int cx, int cy, UINT flags, int /*cInitial*/, int cGrow) {
  if (cx < 1 || cy < 1 || cx > il::kMaxSide || cy > il::kMaxSide) return nullptr;
  il::ImageList list;
  list.cx = cx;
  list.cy = cy;
  list.flags = flags;
  list.grow = std::max(cGrow, 1);
  return il::add(std::move(list));
}

extern "C" BOOL ImageList_Destroy(HIMAGELIST himl) {
  return il::destroy(himl) ? TRUE : FALSE;
}

extern "C" int ImageList_GetImageCount(HIMAGELIST himl) {
  int n = 0;
  il::with(himl, [&](il::ImageList& list) { n = list.count(); });
  return n;
}

extern "C" BOOL ImageList_SetImageCount(HIMAGELIST himl, UINT uNewCount) {
  if (uNewCount > static_cast<UINT>(il::kMaxCount)) return FALSE;
  bool ok = false;
  il::with(himl, [&](il::ImageList& list) {
    const std::size_t wanted = static_cast<std::size_t>(uNewCount) * list.cx * list.cy;
    if (wanted > il::kMaxPixels) return;
    list.pixels.resize(wanted, 0);
    ok = true;
  });
  return ok ? TRUE : FALSE;
}

extern "C" int ImageList_Add(HIMAGELIST himl, HBITMAP hbmImage, HBITMAP hbmMask) {
  Pixels image;
  Pixels mask;
  if (!il::with(himl, [](il::ImageList&) {}) || !read_bitmap(hbmImage, image)) return -1;
  const bool use_mask = hbmMask && read_bitmap(hbmMask, mask);
  return add_strip(himl, image, use_mask ? &mask : nullptr, nullptr);
}

extern "C" int ImageList_AddMasked(HIMAGELIST himl, HBITMAP hbmImage, COLORREF crMask) {
  Pixels image;
  if (!il::with(himl, [](il::ImageList&) {}) || !read_bitmap(hbmImage, image)) return -1;
  return add_strip(himl, image, nullptr, crMask == CLR_DEFAULT || crMask == CLR_NONE ? nullptr : &crMask);
}

extern "C" int ImageList_ReplaceIcon(HIMAGELIST himl, int i, HICON hicon) {
  ICONINFO info{};
  if (!hicon || !GetIconInfo(hicon, &info)) return -1;
  Pixels colour;
  Pixels mask;
  const bool have_colour = info.hbmColor && read_bitmap(info.hbmColor, colour);
  const bool have_mask = info.hbmMask && read_bitmap(info.hbmMask, mask);
  if (info.hbmColor) DeleteObject(info.hbmColor);
  if (info.hbmMask) DeleteObject(info.hbmMask);
  if (!have_colour && !have_mask) return -1;
  // A monochrome icon keeps its AND mask over its XOR picture in one bitmap twice as tall.
  const int pic_h = have_colour ? colour.height : mask.height / 2;
  int result = -1;
  il::with(himl, [&](il::ImageList& list) {
    if (i < -1 || i >= list.count()) return;
    const int index = i == -1 ? list.append_blank(1) : i;
    if (index < 0) return;
    auto dst = list.image(index);
    std::vector<std::uint32_t> mask_px(dst.size(), 0);
    if (have_colour) {
      scale_into(colour, pic_h, list.cx, list.cy, dst);
    } else {
      Pixels xor_part{
          mask.width, pic_h,
          std::vector<std::uint32_t>(mask.data.begin() + static_cast<std::ptrdiff_t>(mask.width) * pic_h,
                                     mask.data.end())};
      scale_into(xor_part, pic_h, list.cx, list.cy, dst);
    }
    if (have_mask) scale_into(mask, have_colour ? mask.height : pic_h, list.cx, list.cy, mask_px);
    const bool alpha = have_colour && has_alpha(colour);
    for (std::size_t j = 0; j < dst.size(); ++j) {
      if (!alpha) dst[j] |= kAlphaMask;
      if (!alpha && have_mask && (mask_px[j] & 0x00FFFFFFu) != 0) dst[j] = 0;
    }
    result = index;
  });
  return result;
}

extern "C" int ImageList_AddIcon(HIMAGELIST himl, HICON hicon) {
  return ImageList_ReplaceIcon(himl, -1, hicon);
}

extern "C" BOOL ImageList_Remove(HIMAGELIST himl, int i) {
  bool ok = false;
  il::with(himl, [&](il::ImageList& list) { ok = list.remove(i); });
  return ok ? TRUE : FALSE;
}

extern "C" COLORREF ImageList_SetBkColor(HIMAGELIST himl, COLORREF clrBk) {
  COLORREF previous = CLR_NONE;
  il::with(himl, [&](il::ImageList& list) {
    previous = list.bk;
    list.bk = clrBk;
  });
  return previous;
}

extern "C" COLORREF ImageList_GetBkColor(HIMAGELIST himl) {
  COLORREF bk = CLR_NONE;
  il::with(himl, [&](il::ImageList& list) { bk = list.bk; });
  return bk;
}

extern "C" BOOL ImageList_GetIconSize(HIMAGELIST himl, int* cx, int* cy) {
  if (!cx || !cy) return FALSE;
  return il::with(himl,
                  [&](il::ImageList& list) {
                    *cx = list.cx;
                    *cy = list.cy;
                  })
             ? TRUE
             : FALSE;
}

extern "C" BOOL ImageList_SetIconSize(HIMAGELIST himl, int cx, int cy) {
  if (cx < 1 || cy < 1 || cx > il::kMaxSide || cy > il::kMaxSide) return FALSE;
  return il::with(himl,
                  [&](il::ImageList& list) {
                    list.cx = cx;
                    list.cy = cy;
                    list.pixels.clear();
                  })
             ? TRUE
             : FALSE;
}

extern "C" HIMAGELIST ImageList_Duplicate(HIMAGELIST himl) {
  il::ImageList copy;
  if (!il::with(himl, [&](il::ImageList& list) { copy = list; })) return nullptr;
  return il::add(std::move(copy));
}

extern "C" BOOL ImageList_DrawEx(HIMAGELIST himl, int i, HDC hdcDst, int x, int y, int dx, int dy,
                                 COLORREF rgbBk, COLORREF rgbFg, UINT fStyle) {
  if (!hdcDst) return FALSE;
  int cx = 0;
  int cy = 0;
  std::vector<std::uint32_t> px;
  COLORREF list_bk = CLR_NONE;
  il::with(himl, [&](il::ImageList& list) {
    auto img = list.image(i);
    if (img.empty()) return;
    cx = list.cx;
    cy = list.cy;
    list_bk = list.bk;
    px.assign(img.begin(), img.end());
  });
  if (px.empty()) return FALSE;
  const COLORREF bk = rgbBk == CLR_DEFAULT ? list_bk : rgbBk;
  const bool transparent = (fStyle & ILD_TRANSPARENT) || bk == CLR_NONE;
  const int blend_percent = (fStyle & ILD_BLEND50) ? 50 : (fStyle & ILD_BLEND25) ? 25 : 0;
  const COLORREF fg = rgbFg == CLR_DEFAULT ? GetSysColor(COLOR_HIGHLIGHT) : rgbFg;
  for (std::uint32_t& p : px) {
    std::uint32_t a = p >> 24;
    COLORREF c = RGB(static_cast<BYTE>(p >> 16), static_cast<BYTE>(p >> 8), static_cast<BYTE>(p));
    if (fStyle & ILD_MASK) {
      c = a ? RGB(0, 0, 0) : RGB(255, 255, 255);
      a = 255;
    } else {
      if (blend_percent && fg != CLR_NONE) c = blend(c, fg, blend_percent);
      if (!transparent) {
        c = blend(bk, c, static_cast<int>(a * 100 / 255));
        a = 255;
      }
    }
    // Premultiplied for the blend below.
    p = (a << 24) | ((GetRValue(c) * a / 255) << 16) | ((GetGValue(c) * a / 255) << 8) |
        (GetBValue(c) * a / 255);
  }
  BITMAPINFO info = platform::top_down_dib_info(cx, cy);
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(hdcDst, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!dib || !bits) return FALSE;
  std::memcpy(bits, px.data(), px.size() * sizeof(std::uint32_t));
  HDC mem = CreateCompatibleDC(hdcDst);
  HGDIOBJ old = SelectObject(mem, dib);
  const int w = dx > 0 ? std::min(dx, cx) : cx;
  const int h = dy > 0 ? std::min(dy, cy) : cy;
  const BLENDFUNCTION fn{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  const BOOL ok = AlphaBlend(hdcDst, x, y, w, h, mem, 0, 0, w, h, fn);
  SelectObject(mem, old);
  DeleteDC(mem);
  DeleteObject(dib);
  return ok;
}

extern "C" BOOL ImageList_Draw(HIMAGELIST himl, int i, HDC hdcDst, int x, int y, UINT fStyle) {
  return ImageList_DrawEx(himl, i, hdcDst, x, y, 0, 0, CLR_DEFAULT, CLR_DEFAULT, fStyle);
}

extern "C" HIMAGELIST ImageList_ReadFromMemory(const void* data, SIZE_T size, SIZE_T* consumed) {
  if (consumed) *consumed = 0;
  if (!data) return nullptr;
  auto list = il::read_stream(std::span(static_cast<const std::uint8_t*>(data), size), consumed);
  return list ? il::add(std::move(*list)) : nullptr;
}

extern "C" SIZE_T ImageList_WriteToMemory(HIMAGELIST himl, void* buffer, SIZE_T capacity) {
  std::vector<std::uint8_t> bytes;
  if (!il::with(himl, [&](il::ImageList& list) { bytes = il::write_stream(list); })) return 0;
  if (buffer && capacity >= bytes.size()) std::memcpy(buffer, bytes.data(), bytes.size());
  return bytes.size();
}
