#include "platform/gdi/shaped_line.h"

#include <algorithm>
#include <cstring>

namespace platform::gdi {
namespace {

bool has_control_characters(std::string_view utf8) {
  for (unsigned char c : utf8)
    if (c < 0x20 || c == 0x7F) return true;
  return false;
}

bool context_is_turned(PangoContext* ctx) {
  const PangoMatrix* m = pango_context_get_matrix(ctx);
  return m != nullptr && (m->xy != 0 || m->yx != 0);
}

}  // namespace

std::optional<ShapedLine> ShapedLine::shape(PangoContext* ctx, const PangoFontDescription* desc,
                                            std::string_view utf8) {
  if (has_control_characters(utf8) || context_is_turned(ctx) ||
      !g_utf8_validate(utf8.data(), static_cast<gssize>(utf8.size()), nullptr))
    return std::nullopt;
  ShapedLine line;
  line.text_.assign(utf8);
  const char* text = line.text_.c_str();
  const int length = static_cast<int>(line.text_.size());
  PangoAttrList* attrs = pango_attr_list_new();
  pango_attr_list_insert(attrs, pango_attr_font_desc_new(desc));
  GList* items = pango_itemize(ctx, text, 0, length, attrs, nullptr);
  pango_attr_list_unref(attrs);
  bool left_to_right = true;
  for (GList* i = items; i != nullptr; i = i->next)
    left_to_right = left_to_right && (static_cast<PangoItem*>(i->data)->analysis.level % 2) == 0;
  if (!left_to_right) {
    g_list_free_full(items, reinterpret_cast<GDestroyNotify>(pango_item_free));
    return std::nullopt;
  }
  const auto flags =
      pango_context_get_round_glyph_positions(ctx) ? PANGO_SHAPE_ROUND_POSITIONS : PANGO_SHAPE_NONE;
  for (GList* i = items; i != nullptr; i = i->next) {
    Run run;
    run.item.reset(static_cast<PangoItem*>(i->data));
    run.glyphs.reset(pango_glyph_string_new());
    pango_shape_with_flags(text + run.item->offset, run.item->length, text, length, &run.item->analysis,
                           run.glyphs.get(), flags);
    run.x = line.width_;
    line.width_ += pango_glyph_string_get_width(run.glyphs.get());
    line.runs_.push_back(std::move(run));
  }
  g_list_free(items);
  return line;
}

std::optional<ShapedLine> ShapedLine::shape_within(PangoContext* ctx, const PangoFontDescription* desc,
                                                   std::string_view utf8, int max_width) {
  std::optional<ShapedLine> whole = shape(ctx, desc, utf8);
  if (!whole || whole->width() <= max_width) return whole;
  constexpr std::string_view kEllipsis = "\xE2\x80\xA6";  // …
  const std::optional<ShapedLine> mark = shape(ctx, desc, kEllipsis);
  const int room = max_width - (mark ? mark->width() : 0);
  std::size_t keep = 0;
  for (const char* p = whole->text_.c_str(); *p != '\0'; p = g_utf8_next_char(p)) {
    const auto next = static_cast<std::size_t>(g_utf8_next_char(p) - whole->text_.c_str());
    if (whole->x_at(next) > room) break;
    keep = next;
  }
  return shape(ctx, desc, whole->text_.substr(0, keep) + std::string(kEllipsis));
}

PangoRectangle ShapedLine::pixel_extents() const {
  PangoRectangle line{0, 0, width_, 0};
  bool first = true;
  for (const Run& run : runs_) {
    PangoRectangle logical;
    pango_glyph_string_extents(run.glyphs.get(), run.item->analysis.font, nullptr, &logical);
    const int top = first ? logical.y : std::min(line.y, logical.y);
    const int bottom =
        first ? logical.y + logical.height : std::max(line.y + line.height, logical.y + logical.height);
    line.y = top;
    line.height = bottom - top;
    first = false;
  }
  pango_extents_to_pixels(&line, nullptr);
  return line;
}

int ShapedLine::x_at(std::size_t index) const {
  for (const Run& run : runs_) {
    const auto start = static_cast<std::size_t>(run.item->offset);
    if (index < start || index >= start + static_cast<std::size_t>(run.item->length)) continue;
    int x = 0;
    pango_glyph_string_index_to_x(run.glyphs.get(), const_cast<char*>(text_.c_str()) + start,
                                  run.item->length, &run.item->analysis, static_cast<int>(index - start),
                                  FALSE, &x);
    return run.x + x;
  }
  return width_;
}

void ShapedLine::show(cairo_t* cr) const {
  double x = 0, y = 0;
  cairo_get_current_point(cr, &x, &y);
  for (const Run& run : runs_) {
    cairo_move_to(cr, x + run.x / static_cast<double>(PANGO_SCALE), y);
    pango_cairo_show_glyph_string(cr, run.item->analysis.font, run.glyphs.get());
  }
}

}  // namespace platform::gdi
