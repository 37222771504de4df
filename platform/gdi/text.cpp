// Text output and measurement: TextOutA, ExtTextOutA and the extent functions.
#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/gdi/dc.h"
#include "platform/gdi/handle_table.h"
#include "platform/gdi/shaped_line.h"
#include "platform/gdi/text_layout.h"
#include "platform/kernel/codepage.h"

namespace platform::gdi {

LayoutPtr make_layout(const Font& f, std::string_view utf8, int underline_at) {
  // pango refuses text with embedded NULs; the text ends there.
  utf8 = utf8.substr(0, utf8.find('\0'));
  LayoutPtr layout(pango_layout_new(thread_pango_context()));
  pango_layout_set_font_description(layout.get(), f.description());
  pango_layout_set_single_paragraph_mode(layout.get(), TRUE);
  pango_layout_set_text(layout.get(), utf8.data(), static_cast<int>(utf8.size()));
  PangoAttrList* attrs = pango_attr_list_new();
  if (f.lf.lfUnderline) pango_attr_list_insert(attrs, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
  if (f.lf.lfStrikeOut) pango_attr_list_insert(attrs, pango_attr_strikethrough_new(TRUE));
  if (underline_at >= 0 && static_cast<std::size_t>(underline_at) < utf8.size()) {
    PangoAttribute* a = pango_attr_underline_new(PANGO_UNDERLINE_SINGLE);
    a->start_index = static_cast<guint>(underline_at);
    a->end_index = static_cast<guint>(g_utf8_next_char(utf8.data() + underline_at) - utf8.data());
    pango_attr_list_insert(attrs, a);
  }
  pango_layout_set_attributes(layout.get(), attrs);
  pango_attr_list_unref(attrs);
  return layout;
}

int line_width(PangoLayout* layout) {
  PangoRectangle logical;
  pango_layout_line_get_pixel_extents(pango_layout_get_line_readonly(layout, 0), nullptr, &logical);
  return logical.width;
}

namespace {

// The logical width of one line of `utf8` in `f`, in pixels before any horizontal stretch.
int unstretched_width(const Font& f, std::string_view utf8) {
  utf8 = utf8.substr(0, utf8.find('\0'));
  if (!f.lf.lfUnderline && !f.lf.lfStrikeOut) {
    if (auto line = ShapedLine::shape(thread_pango_context(), f.description(), utf8)) {
      PangoRectangle logical{0, 0, line->width(), 0};
      pango_extents_to_pixels(&logical, nullptr);
      return logical.width;
    }
  }
  return line_width(make_layout(f, utf8).get());
}

}  // namespace

int text_width(const Font& f, std::string_view utf8) {
  if (utf8.empty()) return 0;
  if (!f.handle) return static_cast<int>(std::lround(unstretched_width(f, utf8) * f.x_scale()));
  // Windows repaint the same strings over and over: widths are remembered per thread, keyed by
  // the font's handle (never reused) and the text.
  thread_local std::unordered_map<std::string, int> cache;
  std::string key(reinterpret_cast<const char*>(&f.handle), sizeof(f.handle));
  key.append(utf8);
  if (auto it = cache.find(key); it != cache.end()) return it->second;
  const int width = static_cast<int>(std::lround(unstretched_width(f, utf8) * f.x_scale()));
  if (cache.size() >= 4096) cache.clear();
  cache.emplace(std::move(key), width);
  return width;
}

void draw_line(cairo_t* cr, const Font& f, std::string_view utf8, double x, double top, int underline_at) {
  if (utf8.empty()) return;
  PangoContext* ctx = thread_pango_context();
  {
    cairo_save(cr);
    cairo_translate(cr, x, top + f.metrics().ascent);
    // Rotation reaches pango through the context; the lfWidth stretch must not, or pango
    // would compensate for it.
    pango_cairo_update_context(cr, ctx);
    if (f.x_scale() != 1.0) cairo_scale(cr, f.x_scale(), 1.0);
    cairo_move_to(cr, 0, 0);
    const std::string_view line_text = utf8.substr(0, utf8.find('\0'));
    std::optional<ShapedLine> line;
    if (underline_at < 0 && !f.lf.lfUnderline && !f.lf.lfStrikeOut)
      line = ShapedLine::shape(ctx, f.description(), line_text);
    if (line) {
      line->show(cr);
    } else {
      LayoutPtr layout = make_layout(f, utf8, underline_at);
      pango_cairo_show_layout_line(cr, pango_layout_get_line_readonly(layout.get(), 0));
    }
    cairo_restore(cr);
  }
  // Measuring elsewhere expects an untransformed context.
  pango_context_set_matrix(ctx, nullptr);
}

}  // namespace platform::gdi

using namespace platform::gdi;

namespace {

std::string_view ansi_view(LPCSTR s, int c) {
  if (!s) return {};
  return c < 0 ? std::string_view(s) : std::string_view(s, static_cast<std::size_t>(c));
}

// The text run of TextOut/ExtTextOut at reference point (x, y), honouring the alignment,
// background mode, escapement, and the optional opaque/clip rectangle.
bool text_run(Dc& dc, int x, int y, UINT options, const RECT* rect, std::string_view ansi) {
  const Font& f = *dc.st.font;
  const FontMetrics& m = f.metrics();
  const std::string utf8 = platform::codepage::ansi_to_utf8(ansi);
  const int width = text_width(f, utf8);
  const UINT align = dc.st.text_align;
  if (align & TA_UPDATECP) {
    x = dc.st.pos.x;
    y = dc.st.pos.y;
  }
  Canvas canvas(dc);
  cairo_t* cr = canvas.cr();
  if (rect && (options & (ETO_OPAQUE | ETO_CLIPPED))) {
    RECT r = *rect;
    if (options & ETO_OPAQUE) {
      cairo_rectangle(cr, r.left, r.top, r.right - r.left, r.bottom - r.top);
      set_source_color(cr, dc.st.bk_color, dc.mono());
      cairo_fill(cr);
    }
    if (options & ETO_CLIPPED) {
      cairo_rectangle(cr, r.left, r.top, r.right - r.left, r.bottom - r.top);
      cairo_clip(cr);
    }
  }
  cairo_save(cr);
  cairo_translate(cr, x, y);
  const double angle = f.escapement_degrees();
  if (angle != 0) cairo_rotate(cr, -angle * M_PI / 180.0);
  double dx = 0, dy = 0;
  if ((align & TA_CENTER) == TA_CENTER) {
    dx = -width / 2;
  } else if (align & TA_RIGHT) {
    dx = -width;
  }
  if ((align & TA_BASELINE) == TA_BASELINE) {
    dy = -m.ascent;
  } else if (align & TA_BOTTOM) {
    dy = -m.height;
  }
  if (dc.st.bk_mode == OPAQUE && !(options & ETO_OPAQUE)) {
    cairo_rectangle(cr, dx, dy, width, m.height);
    set_source_color(cr, dc.st.bk_color, dc.mono());
    cairo_fill(cr);
  }
  set_source_color(cr, dc.st.text_color, dc.mono());
  draw_line(cr, f, utf8, dx, dy);
  cairo_restore(cr);
  if (align & TA_UPDATECP)
    dc.st.pos.x = x + ((align & TA_CENTER) == TA_CENTER ? 0 : (align & TA_RIGHT) ? -width : width);
  return true;
}

}  // namespace

extern "C" {

BOOL WINAPI TextOutA(HDC hdc, int x, int y, LPCSTR lpString, int c) {
  auto dc = find<Dc>(hdc);
  if (!dc || (!lpString && c != 0) || c < 0) return FALSE;
  return text_run(*dc, x, y, 0, nullptr, ansi_view(lpString, c)) ? TRUE : FALSE;
}

BOOL WINAPI ExtTextOutA(HDC hdc, int x, int y, UINT options, const RECT* lprect, LPCSTR lpString, UINT c,
                        const INT*) {
  auto dc = find<Dc>(hdc);
  if (!dc || (!lpString && c != 0)) return FALSE;
  return text_run(*dc, x, y, options, lprect, ansi_view(lpString, static_cast<int>(c))) ? TRUE : FALSE;
}

BOOL WINAPI GetTextExtentPoint32A(HDC hdc, LPCSTR lpString, int c, LPSIZE psizl) {
  auto dc = find<Dc>(hdc);
  if (!dc || !psizl || c < 0 || (!lpString && c > 0)) return FALSE;
  const Font& f = *dc->st.font;
  psizl->cx = text_width(f, platform::codepage::ansi_to_utf8(ansi_view(lpString, c)));
  psizl->cy = f.metrics().height;
  return TRUE;
}

// Extents are reported per byte: both bytes of a double-byte character carry the extent at
// the end of that character, and lpnFit counts the bytes of the characters that fit whole.
BOOL WINAPI GetTextExtentExPointA(HDC hdc, LPCSTR lpszString, int cchString, int nMaxExtent, LPINT lpnFit,
                                  LPINT lpnDx, LPSIZE lpSize) {
  auto dc = find<Dc>(hdc);
  if (!dc || cchString < 0 || (!lpszString && cchString > 0)) return FALSE;
  const Font& f = *dc->st.font;
  const std::string_view ansi = ansi_view(lpszString, cchString);
  // Map every code-page character to its UTF-8 byte range.
  std::string utf8;
  std::vector<std::pair<std::size_t, std::size_t>> chars;  // (ansi length, utf8 end)
  for (std::size_t i = 0; i < ansi.size();) {
    const std::size_t n = platform::codepage::ansi_char_length(ansi.substr(i));
    utf8 += platform::codepage::ansi_to_utf8(ansi.substr(i, n));
    chars.emplace_back(n, utf8.size());
    i += n;
  }
  const double sx = f.x_scale();
  std::optional<ShapedLine> line;
  LayoutPtr layout;
  if (!f.lf.lfUnderline && !f.lf.lfStrikeOut && utf8.find('\0') == std::string::npos)
    line = ShapedLine::shape(thread_pango_context(), f.description(), utf8);
  if (!line) layout = make_layout(f, utf8);
  int total = 0;
  if (!utf8.empty()) {
    PangoRectangle logical{0, 0, line ? line->width() : 0, 0};
    pango_extents_to_pixels(&logical, nullptr);
    total = static_cast<int>(std::lround((line ? logical.width : line_width(layout.get())) * sx));
  }
  int fit = 0;
  std::size_t byte = 0;
  for (std::size_t k = 0; k < chars.size(); ++k) {
    int extent = total;
    if (k + 1 < chars.size()) {
      int x = 0;
      if (line) {
        x = line->x_at(chars[k].second);
      } else {
        PangoRectangle pos;
        pango_layout_index_to_pos(layout.get(), static_cast<int>(chars[k].second), &pos);
        x = std::min(pos.x, pos.x + pos.width);
      }
      extent = static_cast<int>(std::lround(x * sx / PANGO_SCALE));
    }
    if (lpnFit && extent <= nMaxExtent && fit == static_cast<int>(byte))
      fit = static_cast<int>(byte + chars[k].first);
    for (std::size_t b = 0; b < chars[k].first; ++b)
      if (lpnDx) lpnDx[byte + b] = extent;
    byte += chars[k].first;
  }
  if (lpnFit) *lpnFit = fit;
  if (lpSize) *lpSize = SIZE{total, f.metrics().height};
  return TRUE;
}

BOOL WINAPI GetCharWidth32A(HDC hdc, UINT iFirst, UINT iLast, LPINT lpBuffer) {
  auto dc = find<Dc>(hdc);
  if (!dc || !lpBuffer || iFirst > iLast || iLast > 0xFF) return FALSE;
  for (UINT ch = iFirst; ch <= iLast; ++ch) {
    const char c = static_cast<char>(ch);
    lpBuffer[ch - iFirst] =
        text_width(*dc->st.font, platform::codepage::ansi_to_utf8(std::string_view(&c, 1)));
  }
  return TRUE;
}

}  // extern "C"
