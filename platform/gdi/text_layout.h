// Single-line pango layouts for a font, measured and drawn at the font's own line metrics
// (line pitch = ascent + descent, baseline at top + ascent).
#pragma once

#include <memory>
#include <string_view>

#include "platform/gdi/font.h"
#include "platform/gdi/pango_glue.h"

namespace platform::gdi {

struct GObjectUnref {
  void operator()(void* p) const { g_object_unref(p); }
};
using LayoutPtr = std::unique_ptr<PangoLayout, GObjectUnref>;

// `underline_at`: byte offset of one character to underline (the "&" prefix), or -1.
LayoutPtr make_layout(const Font& f, std::string_view utf8, int underline_at = -1);
// Logical width of the layout's first line, in pixels.
int line_width(PangoLayout* layout);
int text_width(const Font& f, std::string_view utf8);
// Draws one line with its top-left at (x, top) in the user space of `cr`.
void draw_line(cairo_t* cr, const Font& f, std::string_view utf8, double x, double top,
               int underline_at = -1);

}  // namespace platform::gdi
