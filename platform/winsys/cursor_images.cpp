#include "platform/winsys/cursor_images.h"

#include <cairo.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <memory>

namespace platform::winsys::cursors {
namespace {

using Painter = std::function<void(cairo_t*)>;

ArgbImage render(int size, POINT hotspot, const Painter& paint) {
  std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)> surface(
      cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size, size), cairo_surface_destroy);
  {
    std::unique_ptr<cairo_t, decltype(&cairo_destroy)> cr(cairo_create(surface.get()), cairo_destroy);
    paint(cr.get());
  }
  cairo_surface_flush(surface.get());
  ArgbImage img;
  img.width = size;
  img.height = size;
  img.hotspot = hotspot;
  img.pixels.resize(static_cast<std::size_t>(size) * static_cast<std::size_t>(size));
  const unsigned char* data = cairo_image_surface_get_data(surface.get());
  int stride = cairo_image_surface_get_stride(surface.get());
  for (int y = 0; y < size; ++y)
    std::memcpy(&img.pixels[static_cast<std::size_t>(y * size)], data + y * stride,
                static_cast<std::size_t>(size) * 4);
  return img;
}

void path(cairo_t* cr, std::initializer_list<std::pair<double, double>> pts) {
  bool first = true;
  for (auto [x, y] : pts) {
    if (first)
      cairo_move_to(cr, x, y);
    else
      cairo_line_to(cr, x, y);
    first = false;
  }
  cairo_close_path(cr);
}

// White shape with a black outline, the classic cursor look.
void fill_outlined(cairo_t* cr) {
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_fill_preserve(cr);
  cairo_set_source_rgb(cr, 0, 0, 0);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
}

// Black shape with a white outline, so it shows on any background.
void fill_inverse(cairo_t* cr) {
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_set_line_width(cr, 3);
  cairo_stroke_preserve(cr);
  cairo_set_source_rgb(cr, 0, 0, 0);
  cairo_fill(cr);
}

void arrow(cairo_t* cr, double ox, double oy, double scale) {
  auto p = [&](double x, double y) { return std::pair{ox + x * scale, oy + y * scale}; };
  path(cr, {p(0, 0), p(0, 16), p(4, 12.5), p(7, 19), p(9.5, 18), p(6.5, 11.5), p(11.5, 11.5)});
  fill_outlined(cr);
}

// A double-headed arrow through (cx, cy), `angle` radians from the x axis.
void double_arrow(cairo_t* cr, double cx, double cy, double angle, double half) {
  cairo_save(cr);
  cairo_translate(cr, cx, cy);
  cairo_rotate(cr, angle);
  path(cr, {{-half, 0},
            {-half + 5, -5},
            {-half + 5, -1.5},
            {half - 5, -1.5},
            {half - 5, -5},
            {half, 0},
            {half - 5, 5},
            {half - 5, 1.5},
            {-half + 5, 1.5},
            {-half + 5, 5}});
  cairo_restore(cr);
  fill_outlined(cr);
}

void hourglass(cairo_t* cr, double ox, double oy, double scale) {
  auto p = [&](double x, double y) { return std::pair{ox + x * scale, oy + y * scale}; };
  path(cr, {p(0, 0), p(12, 0), p(12, 2), p(7.5, 9), p(12, 16), p(12, 18), p(0, 18), p(0, 16), p(4.5, 9),
            p(0, 2)});
  fill_outlined(cr);
  path(cr, {p(3, 15.5), p(9, 15.5), p(6, 11)});  // sand
  cairo_set_source_rgb(cr, 0, 0, 0);
  cairo_fill(cr);
}

void question_mark(cairo_t* cr, double x, double y, double size, double r, double g, double b) {
  cairo_select_font_face(cr, "WenQuanYi Micro Hei", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
  cairo_set_font_size(cr, size);
  cairo_text_extents_t ext;
  cairo_text_extents(cr, "?", &ext);
  cairo_move_to(cr, x - ext.width / 2 - ext.x_bearing, y - ext.height / 2 - ext.y_bearing);
  cairo_set_source_rgb(cr, r, g, b);
  cairo_show_text(cr, "?");
}

void hand(cairo_t* cr) {
  // Pointing finger up, three folded fingers and the thumb; fingertip at (11, 1).
  path(cr, {{8.5, 3},
            {8.5, 14},
            {6, 12},
            {3.5, 12.5},
            {4, 15},
            {9, 22},
            {11, 27},
            {22, 27},
            {24, 21},
            {24, 14.5},
            {22, 13},
            {20, 13.5},
            {19, 12},
            {17, 12},
            {16, 12.5},
            {15, 11},
            {13.5, 11},
            {13.5, 3},
            {11, 0.8}});
  fill_outlined(cr);
  cairo_set_source_rgb(cr, 0, 0, 0);
  cairo_set_line_width(cr, 1);
  for (double x : {13.5, 16.0, 19.0}) {
    cairo_move_to(cr, x + 0.5, 12);
    cairo_line_to(cr, x + 0.5, 17);
  }
  cairo_stroke(cr);
}

void round_badge(cairo_t* cr, int size, double r, double g, double b) {
  double c = size / 2.0;
  cairo_arc(cr, c, c, c - 1.5, 0, 2 * M_PI);
  cairo_pattern_t* grad = cairo_pattern_create_radial(c * 0.7, c * 0.6, 1, c, c, c);
  cairo_pattern_add_color_stop_rgb(grad, 0, std::min(1.0, r + 0.35), std::min(1.0, g + 0.35),
                                   std::min(1.0, b + 0.35));
  cairo_pattern_add_color_stop_rgb(grad, 1, r, g, b);
  cairo_set_source(cr, grad);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(grad);
  cairo_set_source_rgb(cr, r * 0.6, g * 0.6, b * 0.6);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
}

}  // namespace

ArgbImage draw_system_cursor(WORD id) {
  const double pi = M_PI;
  switch (id) {
    case 32512:  // arrow
      return render(32, {1, 1}, [](cairo_t* cr) { arrow(cr, 1.5, 1.5, 1.0); });
    case 32513:  // I-beam
      return render(32, {16, 16}, [](cairo_t* cr) {
        path(cr, {{12, 6},
                  {15, 6},
                  {16, 7},
                  {17, 6},
                  {20, 6},
                  {20, 7},
                  {17, 8},
                  {17, 24},
                  {20, 25},
                  {20, 26},
                  {17, 26},
                  {16, 25},
                  {15, 26},
                  {12, 26},
                  {12, 25},
                  {15, 24},
                  {15, 8},
                  {12, 7}});
        fill_inverse(cr);
      });
    case 32514:  // wait
      return render(32, {16, 16}, [](cairo_t* cr) { hourglass(cr, 10, 7, 1.0); });
    case 32515:  // cross
      return render(32, {16, 16}, [](cairo_t* cr) {
        cairo_rectangle(cr, 15.5, 4, 1, 25);
        cairo_rectangle(cr, 4, 15.5, 25, 1);
        fill_inverse(cr);
      });
    case 32516:  // up arrow
      return render(32, {16, 1}, [](cairo_t* cr) {
        path(cr, {{16, 1.5}, {23, 9}, {19, 9}, {19, 28}, {13, 28}, {13, 9}, {9, 9}});
        fill_outlined(cr);
      });
    case 32640:  // size (old name of size-all)
    case 32646:  // size all
      return render(32, {16, 16}, [=](cairo_t* cr) {
        double_arrow(cr, 16, 16, 0, 13);
        double_arrow(cr, 16, 16, pi / 2, 13);
      });
    case 32642:  // NW-SE
      return render(32, {16, 16}, [=](cairo_t* cr) { double_arrow(cr, 16, 16, pi / 4, 12); });
    case 32643:  // NE-SW
      return render(32, {16, 16}, [=](cairo_t* cr) { double_arrow(cr, 16, 16, -pi / 4, 12); });
    case 32644:  // W-E
      return render(32, {16, 16}, [](cairo_t* cr) { double_arrow(cr, 16, 16, 0, 12); });
    case 32645:  // N-S
      return render(32, {16, 16}, [=](cairo_t* cr) { double_arrow(cr, 16, 16, pi / 2, 12); });
    case 32648:  // no
      return render(32, {16, 16}, [=](cairo_t* cr) {
        cairo_set_line_width(cr, 4);
        cairo_arc(cr, 16, 16, 10, 0, 2 * pi);
        cairo_move_to(cr, 16 - 7, 16 - 7);
        cairo_line_to(cr, 16 + 7, 16 + 7);
        cairo_set_source_rgb(cr, 1, 1, 1);
        cairo_set_line_width(cr, 6);
        cairo_stroke_preserve(cr);
        cairo_set_source_rgb(cr, 0.8, 0, 0);
        cairo_set_line_width(cr, 3.5);
        cairo_stroke(cr);
      });
    case 32649:  // hand
      return draw_hand_cursor();
    case 32650:  // arrow with hourglass
      return render(32, {1, 1}, [](cairo_t* cr) {
        arrow(cr, 1.5, 1.5, 1.0);
        hourglass(cr, 14, 12, 0.7);
      });
    case 32651:  // arrow with question mark
      return render(32, {1, 1}, [](cairo_t* cr) {
        arrow(cr, 1.5, 1.5, 1.0);
        question_mark(cr, 21, 14, 14, 0, 0, 0);
      });
    case 32641:  // icon: an empty framed square
      return render(32, {16, 16}, [](cairo_t* cr) {
        cairo_rectangle(cr, 8.5, 8.5, 15, 15);
        fill_outlined(cr);
      });
    default:
      return {};
  }
}

ArgbImage draw_hand_cursor() {
  return render(32, {11, 1}, hand);
}

ArgbImage draw_drag_cursor() {
  return render(32, {1, 1}, [](cairo_t* cr) {
    arrow(cr, 1.5, 1.5, 1.0);
    // The dragged item: a dashed box below the arrow.
    cairo_rectangle(cr, 12.5, 19.5, 14, 9);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_fill_preserve(cr);
    double dash[] = {2, 2};
    cairo_set_dash(cr, dash, 2, 0);
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
  });
}

ArgbImage draw_system_icon(WORD id, int size) {
  if (size < 8 || size > 256) return {};
  double s = size / 32.0;
  switch (id) {
    case 32512:  // application
    case 32517:
      return render(size, {size / 2, size / 2}, [=](cairo_t* cr) {
        cairo_scale(cr, s, s);
        cairo_rectangle(cr, 2.5, 4.5, 27, 23);
        cairo_set_source_rgb(cr, 1, 1, 1);
        cairo_fill_preserve(cr);
        cairo_set_source_rgb(cr, 0.2, 0.2, 0.2);
        cairo_set_line_width(cr, 1);
        cairo_stroke(cr);
        cairo_rectangle(cr, 3, 5, 26, 5);
        cairo_set_source_rgb(cr, 0.0, 0.2, 0.6);
        cairo_fill(cr);
      });
    case 32513:  // error: white cross on red
      return render(size, {size / 2, size / 2}, [=](cairo_t* cr) {
        cairo_scale(cr, s, s);
        round_badge(cr, 32, 0.8, 0.1, 0.1);
        cairo_set_source_rgb(cr, 1, 1, 1);
        cairo_set_line_width(cr, 3.5);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        cairo_move_to(cr, 10.5, 10.5);
        cairo_line_to(cr, 21.5, 21.5);
        cairo_move_to(cr, 21.5, 10.5);
        cairo_line_to(cr, 10.5, 21.5);
        cairo_stroke(cr);
      });
    case 32514:  // question: white "?" on blue
      return render(size, {size / 2, size / 2}, [=](cairo_t* cr) {
        cairo_scale(cr, s, s);
        round_badge(cr, 32, 0.1, 0.35, 0.8);
        question_mark(cr, 16, 16, 22, 1, 1, 1);
      });
    case 32515:  // warning: black "!" on a yellow triangle
      return render(size, {size / 2, size / 2}, [=](cairo_t* cr) {
        cairo_scale(cr, s, s);
        path(cr, {{16, 2}, {30.5, 29}, {1.5, 29}});
        cairo_set_source_rgb(cr, 1.0, 0.82, 0.1);
        cairo_fill_preserve(cr);
        cairo_set_source_rgb(cr, 0.45, 0.35, 0.0);
        cairo_set_line_width(cr, 1);
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
        cairo_stroke(cr);
        cairo_set_source_rgb(cr, 0, 0, 0);
        path(cr, {{14.2, 10}, {17.8, 10}, {17, 21}, {15, 21}});
        cairo_fill(cr);
        cairo_arc(cr, 16, 24.8, 1.9, 0, 2 * M_PI);
        cairo_fill(cr);
      });
    case 32516:  // information: white "i" on blue
      return render(size, {size / 2, size / 2}, [=](cairo_t* cr) {
        cairo_scale(cr, s, s);
        round_badge(cr, 32, 0.1, 0.35, 0.8);
        cairo_set_source_rgb(cr, 1, 1, 1);
        cairo_arc(cr, 16, 9.5, 2.3, 0, 2 * M_PI);
        cairo_fill(cr);
        cairo_rectangle(cr, 14, 13.5, 4, 11);
        cairo_fill(cr);
      });
    default:
      return {};
  }
}

}  // namespace platform::winsys::cursors
