// Lines shaped without a layout must look and measure exactly like the layout's single line,
// and leave to the layout what only it handles.
#include "platform/gdi/shaped_line.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "platform/gdi/font.h"

namespace {

using platform::gdi::ShapedLine;

struct SurfaceFree {
  void operator()(cairo_surface_t* s) const { cairo_surface_destroy(s); }
};
using SurfacePtr = std::unique_ptr<cairo_surface_t, SurfaceFree>;

PangoFontDescription* face(const char* family, int px, PangoWeight weight) {
  PangoFontDescription* d = pango_font_description_new();
  pango_font_description_set_family(d, family);
  pango_font_description_set_absolute_size(d, px * PANGO_SCALE);
  pango_font_description_set_weight(d, weight);
  return d;
}

PangoLayout* layout_of(PangoContext* ctx, const PangoFontDescription* d, const char* text) {
  PangoLayout* layout = pango_layout_new(ctx);
  pango_layout_set_font_description(layout, d);
  pango_layout_set_single_paragraph_mode(layout, TRUE);
  pango_layout_set_text(layout, text, -1);
  return layout;
}

// Draws `text` on a white strip, through the layout or shaped directly.
SurfacePtr drawn(const PangoFontDescription* d, const char* text, bool shaped) {
  SurfacePtr s(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 420, 40));
  cairo_t* cr = cairo_create(s.get());
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_paint(cr);
  cairo_set_source_rgb(cr, 0, 0, 0);
  cairo_move_to(cr, 4, 28);
  PangoContext* ctx = platform::gdi::thread_pango_context();
  if (shaped) {
    ShapedLine::shape(ctx, d, text)->show(cr);
  } else {
    PangoLayout* layout = layout_of(ctx, d, text);
    pango_cairo_show_layout_line(cr, pango_layout_get_line_readonly(layout, 0));
    g_object_unref(layout);
  }
  cairo_destroy(cr);
  cairo_surface_flush(s.get());
  return s;
}

constexpr const char* kTexts[] = {
    "Sonvo\xE6\x89\xBE\xE6\xAD\x8C\xE8\xAF\x8D v1.0 By Veskar",        // Sonvo找歌词 …
    "\xED\x95\x9C\xEA\xB5\xAD\xEC\x96\xB4 \xF0\x9F\x98\x80 \xC3\xA9",  // 한국어 😀 é
    "fi ffl AV To", "  spaced  "};

TEST(ShapedLine, DrawsAndMeasuresLikeTheLayoutLine) {
  PangoContext* ctx = platform::gdi::thread_pango_context();
  for (const char* family : {"WenQuanYi Micro Hei", "DejaVu Sans"}) {
    for (PangoWeight weight : {PANGO_WEIGHT_NORMAL, PANGO_WEIGHT_BOLD}) {
      PangoFontDescription* d = face(family, 12, weight);
      for (const char* text : kTexts) {
        SCOPED_TRACE(std::string(family) + " " + text);
        auto line = ShapedLine::shape(ctx, d, text);
        ASSERT_TRUE(line.has_value());
        PangoLayout* layout = layout_of(ctx, d, text);
        PangoLayoutLine* ll = pango_layout_get_line_readonly(layout, 0);
        PangoRectangle logical;
        pango_layout_line_get_extents(ll, nullptr, &logical);
        EXPECT_EQ(line->width(), logical.width);
        if (text != kTexts[1] && std::strcmp(family, "DejaVu Sans") != 0) {  // no fallback face
          pango_layout_line_get_pixel_extents(ll, nullptr, &logical);
          const PangoRectangle mine = line->pixel_extents();
          EXPECT_EQ(mine.y, logical.y);
          EXPECT_EQ(mine.height, logical.height);
        }
        for (std::size_t i = 0; i < std::strlen(text); i = g_utf8_next_char(text + i) - text) {
          PangoRectangle pos;
          pango_layout_index_to_pos(layout, static_cast<int>(i), &pos);
          EXPECT_EQ(line->x_at(i), pos.x) << "at byte " << i;
        }
        g_object_unref(layout);
        SurfacePtr a = drawn(d, text, false), b = drawn(d, text, true);
        EXPECT_EQ(std::memcmp(cairo_image_surface_get_data(a.get()), cairo_image_surface_get_data(b.get()),
                              static_cast<std::size_t>(cairo_image_surface_get_stride(a.get()) * 40)),
                  0);
      }
      pango_font_description_free(d);
    }
  }
}

TEST(ShapedLine, LeavesTabsBreaksRightToLeftAndTurnedTextToTheLayout) {
  PangoContext* ctx = platform::gdi::thread_pango_context();
  PangoFontDescription* d = face("WenQuanYi Micro Hei", 12, PANGO_WEIGHT_NORMAL);
  EXPECT_FALSE(ShapedLine::shape(ctx, d, "a\tb"));
  EXPECT_FALSE(ShapedLine::shape(ctx, d, "line\r\nbreak"));
  EXPECT_FALSE(ShapedLine::shape(ctx, d, "\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D abc"));  // Hebrew first
  EXPECT_FALSE(ShapedLine::shape(ctx, d, "\xFF\xFE not UTF-8"));
  PangoMatrix turned = PANGO_MATRIX_INIT;
  pango_matrix_rotate(&turned, 30);
  pango_context_set_matrix(ctx, &turned);
  EXPECT_FALSE(ShapedLine::shape(ctx, d, "abc"));
  pango_context_set_matrix(ctx, nullptr);
  EXPECT_TRUE(ShapedLine::shape(ctx, d, ""));
  pango_font_description_free(d);
}

TEST(ShapedLine, EllipsizesToFitAndKeepsWhatFits) {
  PangoContext* ctx = platform::gdi::thread_pango_context();
  PangoFontDescription* d = face("WenQuanYi Micro Hei", 12, PANGO_WEIGHT_BOLD);
  const char* title = kTexts[0];
  const int full = ShapedLine::shape(ctx, d, title)->width();
  EXPECT_EQ(ShapedLine::shape_within(ctx, d, title, full)->width(), full);
  for (int room : {full / 2, full / 5, PANGO_SCALE}) {
    auto cut = ShapedLine::shape_within(ctx, d, title, room);
    ASSERT_TRUE(cut.has_value());
    EXPECT_LT(cut->width(), full);
    if (room > 3 * 12 * PANGO_SCALE) {
      EXPECT_LE(cut->width(), room);
    }
  }
  pango_font_description_free(d);
}

}  // namespace
