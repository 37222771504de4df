// GradientFill: rectangles (horizontal or vertical) and triangles, colour interpolated per
// pixel from the vertices' 16-bit channels.
#include <algorithm>
#include <cmath>

#include "platform/gdi/dc.h"
#include "platform/gdi/handle_table.h"

using namespace platform::gdi;

namespace {

struct Rgb {
  double r, g, b;
};

Rgb rgb_of(const TRIVERTEX& v) {
  return Rgb{v.Red / 256.0, v.Green / 256.0, v.Blue / 256.0};
}

std::uint32_t pack(Rgb c, bool mono) {
  auto ch = [](double v) { return static_cast<BYTE>(std::clamp(std::floor(v), 0.0, 255.0)); };
  return device_pixel(RGB(ch(c.r), ch(c.g), ch(c.b)), mono);
}

void fill_rect(Canvas& c, const TRIVERTEX& a, const TRIVERTEX& b, bool vertical) {
  Dc& dc = c.dc();
  const TRIVERTEX& first = (vertical ? a.y <= b.y : a.x <= b.x) ? a : b;
  const TRIVERTEX& second = &first == &a ? b : a;
  const RECT logical{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
  const RECT s = c.to_device(to_surface(dc, logical));
  const Rgb c0 = rgb_of(first), c1 = rgb_of(second);
  const int span = vertical ? s.bottom - s.top : s.right - s.left;
  c.for_each_piece(s, [&](const RECT& p) {
    for (int y = p.top; y < p.bottom; ++y) {
      std::uint32_t* row = c.row(y);
      for (int x = p.left; x < p.right; ++x) {
        const int k = vertical ? y - s.top : x - s.left;
        const double t = span > 1 ? static_cast<double>(k) / span : 0.0;
        row[x] = pack(Rgb{c0.r + (c1.r - c0.r) * t, c0.g + (c1.g - c0.g) * t, c0.b + (c1.b - c0.b) * t},
                      dc.mono());
      }
    }
  });
}

void fill_triangle(Canvas& c, const TRIVERTEX& v1, const TRIVERTEX& v2, const TRIVERTEX& v3) {
  Dc& dc = c.dc();
  const POINT off = dc.offset();
  // Corners in device pixels.
  const double k = dc.scale() / 4.0;
  const double x1 = (v1.x + off.x) * k, y1 = (v1.y + off.y) * k, x2 = (v2.x + off.x) * k,
               y2 = (v2.y + off.y) * k;
  const double x3 = (v3.x + off.x) * k, y3 = (v3.y + off.y) * k;
  const double det = (y2 - y3) * (x1 - x3) + (x3 - x2) * (y1 - y3);
  if (det == 0) return;
  auto pin = [](double v) { return clamp_coord(static_cast<long long>(std::clamp(v, -1e12, 1e12))); };
  const RECT box{pin(std::min({x1, x2, x3})), pin(std::min({y1, y2, y3})), pin(std::max({x1, x2, x3}) + 1),
                 pin(std::max({y1, y2, y3}) + 1)};
  const Rgb c1 = rgb_of(v1), c2 = rgb_of(v2), c3 = rgb_of(v3);
  c.for_each_piece(box, [&](const RECT& p) {
    for (int y = p.top; y < p.bottom; ++y) {
      std::uint32_t* row = c.row(y);
      for (int x = p.left; x < p.right; ++x) {
        // Barycentric weights at the pixel's corner, so vertices land on their own colour.
        const double l1 = ((y2 - y3) * (x - x3) + (x3 - x2) * (y - y3)) / det;
        const double l2 = ((y3 - y1) * (x - x3) + (x1 - x3) * (y - y3)) / det;
        const double l3 = 1.0 - l1 - l2;
        const double eps = -1e-9;
        if (l1 < eps || l2 < eps || l3 < eps) continue;
        row[x] = pack(Rgb{l1 * c1.r + l2 * c2.r + l3 * c3.r, l1 * c1.g + l2 * c2.g + l3 * c3.g,
                          l1 * c1.b + l2 * c2.b + l3 * c3.b},
                      dc.mono());
      }
    }
  });
}

}  // namespace

extern "C" {

BOOL WINAPI GradientFill(HDC hdc, TRIVERTEX* pVertex, ULONG nVertex, void* pMesh, ULONG nMesh, ULONG ulMode) {
  auto dc = find<Dc>(hdc);
  if (!dc || !pVertex || !pMesh || ulMode > GRADIENT_FILL_TRIANGLE) return FALSE;
  Canvas c(*dc);
  if (ulMode == GRADIENT_FILL_TRIANGLE) {
    const auto* tri = static_cast<const GRADIENT_TRIANGLE*>(pMesh);
    for (ULONG i = 0; i < nMesh; ++i) {
      if (tri[i].Vertex1 >= nVertex || tri[i].Vertex2 >= nVertex || tri[i].Vertex3 >= nVertex) return FALSE;
      fill_triangle(c, pVertex[tri[i].Vertex1], pVertex[tri[i].Vertex2], pVertex[tri[i].Vertex3]);
    }
    return TRUE;
  }
  const auto* rects = static_cast<const GRADIENT_RECT*>(pMesh);
  for (ULONG i = 0; i < nMesh; ++i) {
    if (rects[i].UpperLeft >= nVertex || rects[i].LowerRight >= nVertex) return FALSE;
    fill_rect(c, pVertex[rects[i].UpperLeft], pVertex[rects[i].LowerRight], ulMode == GRADIENT_FILL_RECT_V);
  }
  return TRUE;
}

}  // extern "C"
