// One line of text shaped item by item, without a PangoLayout. A layout works out line heights
// from its fonts' metrics, and pango gets a font's metrics by laying out a sample text of the
// language, loading the outlines of its glyphs; a line drawn at the font's own line pitch never
// needs them, and skipping them is most of what the first use of a font costs.
// Contract: shape() answers nullopt for text only a layout handles alike: control characters
// (tabs, line breaks), right-to-left runs, and a context turned by a rotation. Otherwise the
// line measures, positions and draws exactly as a single-paragraph layout of the same text in
// `desc` (positions rounded to whole pixels when the context rounds them).
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/gdi/pango_glue.h"

namespace platform::gdi {

class ShapedLine {
 public:
  static std::optional<ShapedLine> shape(PangoContext* ctx, const PangoFontDescription* desc,
                                         std::string_view utf8);
  // As shape(), cut at a character boundary and ended with "…" when wider than `max_width`
  // (pango units).
  static std::optional<ShapedLine> shape_within(PangoContext* ctx, const PangoFontDescription* desc,
                                                std::string_view utf8, int max_width);

  // Logical width in pango units.
  int width() const { return width_; }
  // The leading edge of the character that starts at byte `index`, in pango units; the width
  // at or past the end.
  int x_at(std::size_t index) const;
  // The logical rectangle in whole pixels, y measured from the baseline (negative above it):
  // the union of the runs' own rectangles (a layout may leave more room for a fallback face).
  PangoRectangle pixel_extents() const;
  // Draws from the current point of `cr`, which is on the baseline.
  void show(cairo_t* cr) const;

 private:
  struct ItemFree {
    void operator()(PangoItem* item) const { pango_item_free(item); }
  };
  struct GlyphsFree {
    void operator()(PangoGlyphString* glyphs) const { pango_glyph_string_free(glyphs); }
  };
  struct Run {
    std::unique_ptr<PangoItem, ItemFree> item;
    std::unique_ptr<PangoGlyphString, GlyphsFree> glyphs;
    int x = 0;  // pango units from the line's start
  };

  std::string text_;
  std::vector<Run> runs_;
  int width_ = 0;
};

}  // namespace platform::gdi
