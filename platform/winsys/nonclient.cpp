// The non-client area: frame layout, hit testing geometry and frame drawing. Frames are drawn
// straight into the top-level surface with cairo (the classic raised 3-D look).
#include <algorithm>
#include <optional>

#include "platform/gdi/shaped_line.h"
#include "platform/kernel/codepage.h"
#include "platform/winsys/menu_bar_hook.h"
#include "platform/winsys/window_internal.h"
// After the platform headers: glib defines TRUE and FALSE as macros.
#include <pango/pangocairo.h>

namespace platform::winsys {
namespace {

struct HookStore {
  std::mutex mutex;
  MenuBarHooks hooks;
};

HookStore& hook_store() {
  static HookStore store;
  return store;
}

void set_color(cairo_t* cr, int sys_color) {
  COLORREF c = GetSysColor(sys_color);
  cairo_set_source_rgb(cr, GetRValue(c) / 255.0, GetGValue(c) / 255.0, GetBValue(c) / 255.0);
}

void fill(cairo_t* cr, const RECT& r, int sys_color) {
  if (rect_empty(r)) return;
  set_color(cr, sys_color);
  cairo_rectangle(cr, r.left, r.top, r.right - r.left, r.bottom - r.top);
  cairo_fill(cr);
}

// One-pixel bevel: `tl` on the top and left edges, `br` on the bottom and right.
void bevel(cairo_t* cr, const RECT& r, int tl, int br) {
  fill(cr, {r.left, r.top, r.right - 1, r.top + 1}, tl);
  fill(cr, {r.left, r.top, r.left + 1, r.bottom - 1}, tl);
  fill(cr, {r.left, r.bottom - 1, r.right, r.bottom}, br);
  fill(cr, {r.right - 1, r.top, r.right, r.bottom}, br);
}

RECT inset(RECT r, int d) {
  return {r.left + d, r.top + d, r.right - d, r.bottom - d};
}

void draw_caption_button(cairo_t* cr, const RECT& box, int kind) {
  if (rect_empty(box)) return;
  fill(cr, box, COLOR_BTNFACE);
  bevel(cr, box, COLOR_3DLIGHT, COLOR_3DDKSHADOW);
  bevel(cr, inset(box, 1), COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW);
  set_color(cr, COLOR_BTNTEXT);
  cairo_set_line_width(cr, 1.5);
  double l = box.left + 4, t = box.top + 3, r = box.right - 5, b = box.bottom - 4;
  switch (kind) {
    case 0:  // close
      cairo_move_to(cr, l + 0.5, t + 0.5);
      cairo_line_to(cr, r + 0.5, b + 0.5);
      cairo_move_to(cr, r + 0.5, t + 0.5);
      cairo_line_to(cr, l + 0.5, b + 0.5);
      break;
    case 1:  // maximise
      cairo_rectangle(cr, l + 0.5, t + 0.5, r - l, b - t);
      break;
    case 2:  // minimise
      cairo_move_to(cr, l + 0.5, b);
      cairo_line_to(cr, r - 2, b);
      break;
  }
  cairo_stroke(cr);
}

void draw_title(cairo_t* cr, const RECT& caption, int right_limit, const std::string& ansi, bool active,
                bool small) {
  if (ansi.empty()) return;
  std::string utf8 = codepage::ansi_to_utf8(ansi);
  PangoContext* ctx = pango_cairo_create_context(cr);
  pango_cairo_context_set_resolution(ctx, 96);
  pango_context_set_language(ctx, pango_language_from_string("zh-cn"));
  PangoFontDescription* desc = pango_font_description_from_string("WenQuanYi Micro Hei");
  pango_font_description_set_weight(desc, small ? PANGO_WEIGHT_NORMAL : PANGO_WEIGHT_BOLD);
  pango_font_description_set_absolute_size(desc, 12 * PANGO_SCALE);
  const int width = std::max(0, right_limit - caption.left - 4);
  // Shaped as one line rather than laid out: a layout would have pango lay out its language's
  // sample text to learn the bold face's line height, which the title never uses.
  std::optional<gdi::ShapedLine> line = gdi::ShapedLine::shape_within(ctx, desc, utf8, width * PANGO_SCALE);
  PangoLayout* layout = nullptr;
  PangoRectangle logical{};
  if (line) {
    logical = line->pixel_extents();
  } else {
    layout = pango_layout_new(ctx);
    pango_layout_set_font_description(layout, desc);
    pango_layout_set_text(layout, utf8.c_str(), static_cast<int>(utf8.size()));
    pango_layout_set_single_paragraph_mode(layout, TRUE);
    pango_layout_set_width(layout, width * PANGO_SCALE);
    pango_layout_set_ellipsize(layout, PANGO_ELLIPSIZE_END);
    pango_layout_line_get_pixel_extents(pango_layout_get_line_readonly(layout, 0), nullptr, &logical);
  }
  pango_font_description_free(desc);
  set_color(cr, active ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT);
  cairo_save(cr);
  cairo_rectangle(cr, caption.left, caption.top, right_limit - caption.left, caption.bottom - caption.top);
  cairo_clip(cr);
  const int top = caption.top + (caption.bottom - caption.top - logical.height) / 2;
  cairo_move_to(cr, caption.left + 3, top - logical.y);
  if (line)
    line->show(cr);
  else
    pango_cairo_show_layout_line(cr, pango_layout_get_line_readonly(layout, 0));
  cairo_restore(cr);
  if (layout != nullptr) g_object_unref(layout);
  g_object_unref(ctx);
}

}  // namespace

void set_menu_bar_hooks(const MenuBarHooks& hooks) {
  std::lock_guard guard(hook_store().mutex);
  hook_store().hooks = hooks;
}

MenuBarHooks menu_bar_hooks() {
  std::lock_guard guard(hook_store().mutex);
  return hook_store().hooks;
}

int menu_bar_height(HWND hwnd, HMENU menu, int width) {
  MenuBarHooks hooks = menu_bar_hooks();
  if (hooks.height && hwnd && menu) {
    int h = hooks.height(hwnd, menu, width);
    if (h > 0) return h;
  }
  return GetSystemMetrics(SM_CYMENU);
}

bool has_menu_bar_locked(const Window& w) {
  return !(w.style & WS_CHILD) && w.id != 0 && !is_desktop_locked(w);
}

FrameLayout frame_layout(HWND hwnd, DWORD style, DWORD ex_style, bool has_menu, int width, int height) {
  FrameLayout f;
  if (style & WS_THICKFRAME) {
    f.border = GetSystemMetrics(SM_CXFRAME);
    f.sizing = true;
  } else if ((style & WS_DLGFRAME) || (ex_style & WS_EX_DLGMODALFRAME)) {
    f.border = GetSystemMetrics(SM_CXDLGFRAME);
  } else if (style & WS_BORDER) {
    f.border = GetSystemMetrics(SM_CXBORDER);
  }
  RECT in{f.border, f.border, width - f.border, height - f.border};
  if ((style & WS_CAPTION) == WS_CAPTION) {
    bool tool = (ex_style & WS_EX_TOOLWINDOW) != 0;
    int h = GetSystemMetrics(tool ? SM_CYSMCAPTION : SM_CYCAPTION);
    f.caption = {in.left, in.top, in.right, in.top + h - 1};
    in.top += h;
    if (style & WS_SYSMENU) {
      int bh = f.caption.bottom - f.caption.top - 4;
      int bw = bh + 2;
      f.close_box = {f.caption.right - 2 - bw, f.caption.top + 2, f.caption.right - 2,
                     f.caption.top + 2 + bh};
      if (!tool && (style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX)) && !(style & WS_CHILD)) {
        f.max_box = {f.close_box.left - 2 - bw, f.close_box.top, f.close_box.left - 2, f.close_box.bottom};
        f.min_box = {f.max_box.left - bw, f.max_box.top, f.max_box.left, f.max_box.bottom};
      }
    }
  }
  if (has_menu) {
    HMENU menu = hwnd ? reinterpret_cast<HMENU>(GetWindowLongPtrA(hwnd, GWLP_ID)) : nullptr;
    int h = menu_bar_height(hwnd, menu, in.right - in.left);
    f.menu_bar = {in.left, in.top, in.right, in.top + h - 1};
    in.top += h;
  }
  if (ex_style & WS_EX_CLIENTEDGE) in = inset(in, GetSystemMetrics(SM_CXEDGE));
  if (ex_style & WS_EX_STATICEDGE) in = inset(in, GetSystemMetrics(SM_CXBORDER));
  if (style & WS_VSCROLL) in.right -= GetSystemMetrics(SM_CXVSCROLL);
  if (style & WS_HSCROLL) in.bottom -= GetSystemMetrics(SM_CYHSCROLL);
  in.right = std::max(in.right, in.left);
  in.bottom = std::max(in.bottom, in.top);
  f.client = in;
  return f;
}

void paint_frame(HWND hwnd) {
  std::shared_ptr<Surface> surface;
  Region clip;
  RECT whole;
  FrameLayout f;
  DWORD style, ex_style;
  std::string text;
  bool active, menu;
  HWND top_handle;
  HMENU menu_handle;
  {
    Lock lock(wm_mutex());
    auto w = find_locked(hwnd);
    if (!w || is_desktop_locked(*w) || !really_visible_locked(*w)) return;
    auto top = top_level_of_locked(w);
    if (!top || !top->surface) return;
    surface = top->surface;
    top_handle = top->handle;
    POINT o = window_origin_in_top_locked(*w);
    int width = w->window_rect.right - w->window_rect.left,
        height = w->window_rect.bottom - w->window_rect.top;
    whole = {o.x, o.y, o.x + width, o.y + height};
    clip = visible_region_locked(*w, true);
    POINT c = client_offset_in_window(*w);
    clip.subtract(rect_offset(client_size_rect(*w), o.x + c.x, o.y + c.y));
    style = w->style;
    ex_style = w->ex_style;
    menu = has_menu_bar_locked(*w);
    menu_handle = reinterpret_cast<HMENU>(w->id);
    text = w->text;
    active = w->frame_active;
  }
  f = frame_layout(hwnd, style, ex_style, menu, whole.right - whole.left, whole.bottom - whole.top);
  if (clip.empty()) return;
  {
    std::lock_guard guard(surface->mutex);
    cairo_t* cr = cairo_create(surface->pixels);
    // Edges stay sharp on a scaled surface too.
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    for (int i = 0; i < clip.rect_count(); ++i) {
      RECT r = clip.rect_at(i);
      cairo_rectangle(cr, r.left, r.top, r.right - r.left, r.bottom - r.top);
    }
    cairo_clip(cr);
    cairo_translate(cr, whole.left, whole.top);
    RECT box{0, 0, whole.right - whole.left, whole.bottom - whole.top};
    // Outer frame.
    if (f.border >= 2) {
      fill(cr, box, f.sizing ? (active ? COLOR_ACTIVEBORDER : COLOR_INACTIVEBORDER) : COLOR_BTNFACE);
      bevel(cr, box, COLOR_3DLIGHT, COLOR_3DDKSHADOW);
      bevel(cr, inset(box, 1), COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW);
      if (f.sizing) fill(cr, inset(box, f.border - 1), COLOR_BTNFACE);
    } else if (f.border == 1) {
      fill(cr, box, COLOR_WINDOWFRAME);
    }
    RECT inner = inset(box, f.border);
    if (!rect_empty(f.caption)) {
      fill(cr, inner, COLOR_BTNFACE);  // the separator below the caption bar
      fill(cr, f.caption, active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION);
      int limit = f.min_box.left ? f.min_box.left : f.close_box.left ? f.close_box.left : f.caption.right;
      draw_title(cr, f.caption, limit, text, active, (ex_style & WS_EX_TOOLWINDOW) != 0);
      draw_caption_button(cr, f.close_box, 0);
      draw_caption_button(cr, f.max_box, 1);
      draw_caption_button(cr, f.min_box, 2);
    }
    if (!rect_empty(f.menu_bar)) {
      fill(cr, {f.menu_bar.left, f.menu_bar.top, f.menu_bar.right, f.menu_bar.bottom + 1}, COLOR_MENU);
    }
    // Client edges (inside caption and menu).
    RECT edge{inner.left, inner.top, inner.right, inner.bottom};
    if (!rect_empty(f.caption)) edge.top = f.caption.bottom + 1;
    if (!rect_empty(f.menu_bar)) edge.top = f.menu_bar.bottom + 1;
    if (ex_style & WS_EX_CLIENTEDGE) {
      bevel(cr, edge, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT);
      bevel(cr, inset(edge, 1), COLOR_3DDKSHADOW, COLOR_3DLIGHT);
      edge = inset(edge, 2);
    }
    if (ex_style & WS_EX_STATICEDGE) {
      bevel(cr, edge, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT);
      edge = inset(edge, 1);
    }
    if ((style & WS_VSCROLL) && (style & WS_HSCROLL))
      fill(cr, {f.client.right, f.client.bottom, edge.right, edge.bottom}, COLOR_BTNFACE);
    cairo_destroy(cr);
    cairo_surface_mark_dirty(surface->pixels);
  }
  MenuBarHooks hooks = menu_bar_hooks();
  if (menu && hooks.draw && !rect_empty(f.menu_bar)) {
    HDC dc = GetWindowDC(hwnd);
    hooks.draw(hwnd, menu_handle, dc, f.menu_bar);
    ReleaseDC(hwnd, dc);
  }
  present(top_handle, whole);
}

}  // namespace platform::winsys
