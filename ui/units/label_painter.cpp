#include "ui/units/label_painter.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "platform/api/gdi.h"
#include "platform/api/user.h"

namespace ui {
namespace {

constexpr COLORREF kWhite = 0xFFFFFF;
constexpr COLORREF kBlack = 0x000000;

int channel(COLORREF c, int shift) {
  return static_cast<int>((c >> shift) & 0xFF);
}

COLORREF mix(COLORREF a, COLORREF b, double t) {
  auto one = [&](int shift) {
    return static_cast<COLORREF>(
        std::lround(channel(a, shift) + (channel(b, shift) - channel(a, shift)) * t));
  };
  return one(0) | one(8) << 8 | one(16) << 16;
}

// The colour at t (0..1) along evenly spaced stops.
COLORREF along(const std::vector<COLORREF>& stops, double t) {
  if (stops.size() == 1) return stops[0];
  const double at = std::clamp(t, 0.0, 1.0) * static_cast<double>(stops.size() - 1);
  const std::size_t i = std::min(static_cast<std::size_t>(at), stops.size() - 2);
  return mix(stops[i], stops[i + 1], at - static_cast<double>(i));
}

void fill(HDC dc, const RECT& r, COLORREF colour) {
  HBRUSH brush = CreateSolidBrush(colour);
  FillRect(dc, &r, brush);
  DeleteObject(brush);
}

TRIVERTEX vertex(LONG x, LONG y, COLORREF c) {
  return TRIVERTEX{x,
                   y,
                   static_cast<COLOR16>(channel(c, 0) << 8),
                   static_cast<COLOR16>(channel(c, 8) << 8),
                   static_cast<COLOR16>(channel(c, 16) << 8),
                   0};
}

bool is_empty(const RECT& r) {
  return r.right <= r.left || r.bottom <= r.top;
}

void paint_frame(HDC dc, const RECT& outer, int width, const std::vector<COLORREF>& colours) {
  for (int ring = 0; ring < width; ++ring) {
    const RECT r{outer.left + ring, outer.top + ring, outer.right - ring, outer.bottom - ring};
    if (is_empty(r)) break;
    const double t = width == 1 ? 0.0 : static_cast<double>(ring) / (width - 1);
    HBRUSH brush = CreateSolidBrush(along(colours, t));
    FrameRect(dc, &r, brush);
    DeleteObject(brush);
  }
}

// Bands between evenly spaced stops along one axis.
void fill_bands(HDC dc, const RECT& area, const std::vector<COLORREF>& stops, bool vertical) {
  const int length = vertical ? area.bottom - area.top : area.right - area.left;
  const int bands = static_cast<int>(stops.size()) - 1;
  for (int i = 0; i < bands; ++i) {
    const int from = length * i / bands;
    const int to = length * (i + 1) / bands;
    if (to <= from) continue;
    TRIVERTEX v[2];
    if (vertical) {
      v[0] = vertex(area.left, area.top + from, stops[i]);
      v[1] = vertex(area.right, area.top + to, stops[i + 1]);
    } else {
      v[0] = vertex(area.left + from, area.top, stops[i]);
      v[1] = vertex(area.left + to, area.bottom, stops[i + 1]);
    }
    GRADIENT_RECT mesh{0, 1};
    GradientFill(dc, v, 2, &mesh, 1, vertical ? GRADIENT_FILL_RECT_V : GRADIENT_FILL_RECT_H);
  }
}

// Two triangles whose corners give a linear blend along a diagonal.
void fill_diagonal(HDC dc, const RECT& area, const std::vector<COLORREF>& colours, bool from_top_left) {
  const COLORREF first = colours.front();
  const COLORREF last = colours.back();
  const COLORREF middle = colours.size() >= 3 ? colours[1] : mix(first, last, 0.5);
  TRIVERTEX v[4] = {
      vertex(area.left, area.top, from_top_left ? first : middle),
      vertex(area.right, area.top, from_top_left ? middle : first),
      vertex(area.right, area.bottom, from_top_left ? last : middle),
      vertex(area.left, area.bottom, from_top_left ? middle : last),
  };
  GRADIENT_TRIANGLE mesh[2] = {{0, 1, 2}, {0, 2, 3}};
  GradientFill(dc, v, 4, mesh, 2, GRADIENT_FILL_TRIANGLE);
}

void paint_gradient(HDC dc, const RECT& area, std::int32_t mode, std::vector<COLORREF> colours) {
  std::vector<COLORREF> reversed(colours.rbegin(), colours.rend());
  std::vector<COLORREF> mirrored = colours;
  mirrored.insert(mirrored.end(), reversed.begin() + 1, reversed.end());
  switch (mode) {
    case 1:
      fill_bands(dc, area, colours, false);
      break;
    case 2:
      fill_bands(dc, area, colours, true);
      break;
    case 3:
      fill_bands(dc, area, reversed, false);
      break;
    case 4:
      fill_bands(dc, area, reversed, true);
      break;
    case 5:
      fill_bands(dc, area, mirrored, false);
      break;
    case 6:
      fill_bands(dc, area, mirrored, true);
      break;
    case 7:
      fill_diagonal(dc, area, colours, true);
      break;
    case 8:
      fill_diagonal(dc, area, colours, false);
      break;
    default:
      break;
  }
}

std::vector<COLORREF> chosen_colours(const std::array<COLORREF, 3>& colours) {
  std::vector<COLORREF> chosen;
  for (COLORREF c : colours)
    if (c != kDefaultColour) chosen.push_back(c);
  return chosen;
}

UINT caption_format(const LabelProperties& p) {
  UINT format = DT_NOCLIP;
  if (p.alignment == 1) format |= DT_CENTER;
  if (p.alignment == 2) format |= DT_RIGHT;
  if (p.word_wrap) return format | DT_WORDBREAK;
  format |= DT_SINGLELINE;
  if (p.vertical_alignment == 1) format |= DT_VCENTER;
  if (p.vertical_alignment == 2) format |= DT_BOTTOM;
  return format;
}

void draw_caption(HDC dc, const RECT& area, const LabelProperties& p, HFONT font) {
  const HGDIOBJ old_font = SelectObject(dc, font);
  SetBkMode(dc, TRANSPARENT);
  const UINT format = caption_format(p);
  auto draw = [&](int dx, int dy, COLORREF colour) {
    RECT r = area;
    OffsetRect(&r, dx, dy);
    SetTextColor(dc, colour);
    DrawTextA(dc, p.caption.c_str(), static_cast<int>(p.caption.size()), &r, format);
  };
  int text_dx = 0;
  switch (p.text_effect) {
    case 1:
      draw(1, 1, kWhite);
      break;
    case 2:
      draw(0, 0, kWhite);
      text_dx = 1;
      break;
    case 3:
      draw(2, 2, kBlack);
      break;
    default:
      break;
  }
  draw(text_dx, text_dx, p.text_colour);
  SelectObject(dc, old_font);
}

}  // namespace

void paint_label(HDC dc, const RECT& client, const LabelProperties& p, HFONT font,
                 lyr::picture::PictureContent& picture) {
  RECT area = client;
  if (p.border_style == kLabelPaintedFrame && p.frame_width > 0) {
    const std::vector<COLORREF> colours = chosen_colours(p.frame_colours);
    if (colours.size() >= 2) {
      const int width =
          std::min(p.frame_width, std::max<int>(client.right - client.left, client.bottom - client.top));
      paint_frame(dc, client, width, colours);
      InflateRect(&area, -width, -width);
      area.right = std::max(area.right, area.left);
      area.bottom = std::max(area.bottom, area.top);
    }
  }
  if (is_empty(area)) return;

  const int saved = SaveDC(dc);
  IntersectClipRect(dc, area.left, area.top, area.right, area.bottom);
  const COLORREF background = resolve_colour(p.background);
  const std::vector<COLORREF> gradient = chosen_colours(p.gradient_colours);
  if (const lyr::picture::RenderedPicture* rendered = picture.rendered(p.background)) {
    fill(dc, area, background);
    OffsetViewportOrgEx(dc, area.left, area.top, nullptr);
    lyr::picture::draw_background_picture(dc, *rendered, p.picture_mode, area.right - area.left,
                                          area.bottom - area.top);
    OffsetViewportOrgEx(dc, -area.left, -area.top, nullptr);
  } else if (p.gradient_mode != 0 && gradient.size() >= 2) {
    paint_gradient(dc, area, p.gradient_mode, gradient);
  } else {
    fill(dc, area, background);
  }
  if (!p.caption.empty()) draw_caption(dc, area, p, font);
  RestoreDC(dc, saved);
}

}  // namespace ui
