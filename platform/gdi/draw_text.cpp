// DrawTextA: formatted text in a rectangle. Lines are broken at "\r\n", "\n" or "\r", and with
// DT_WORDBREAK wrapped by pango's line breaking (Latin at spaces, CJK between characters, for
// the zh-cn language); every line is then placed at the font's own line pitch.
#include <algorithm>
#include <string>
#include <vector>

#include "platform/gdi/dc.h"
#include "platform/gdi/handle_table.h"
#include "platform/gdi/shaped_line.h"
#include "platform/gdi/text_layout.h"
#include "platform/kernel/codepage.h"

using namespace platform::gdi;

namespace {

struct Line {
  std::string text;
  int width = 0;
  int underline_at = -1;
};

struct Prefixed {
  std::string text;
  int underline_at = -1;  // byte offset in text
};

// Removes "&" prefixes: "&&" is a literal "&", "&x" underlines x.
Prefixed strip_prefixes(const std::string& s, bool hide_underline) {
  Prefixed out;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '&' && i + 1 < s.size()) {
      ++i;
      if (s[i] != '&' && out.underline_at < 0 && !hide_underline)
        out.underline_at = static_cast<int>(out.text.size());
    } else if (s[i] == '&') {
      continue;
    }
    out.text += s[i];
  }
  return out;
}

std::string expand_tabs(const std::string& s, bool expand) {
  if (s.find('\t') == std::string::npos) return s;
  // Without DT_EXPANDTABS a tab is no more than a space.
  std::string out;
  for (char c : s) {
    if (c == '\t') {
      out += expand ? "        " : " ";
    } else {
      out += c;
    }
  }
  return out;
}

// Splits at line breaks; the offsets let the prefix underline follow its character.
std::vector<std::pair<std::size_t, std::string>> paragraphs(const std::string& s) {
  std::vector<std::pair<std::size_t, std::string>> out;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= s.size(); ++i) {
    if (i == s.size() || s[i] == '\n' || s[i] == '\r') {
      out.emplace_back(start, s.substr(start, i - start));
      if (i < s.size() && s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n') ++i;
      start = i + 1;
    }
  }
  return out;
}

void trim_trailing_spaces(std::string& s) {
  while (!s.empty() && s.back() == ' ') s.pop_back();
}

// Shortens `text` and appends "..." until it fits in `width`.
std::string ellipsize(const Font& f, const std::string& text, int width) {
  if (text_width(f, text) <= width) return text;
  std::vector<std::size_t> cuts;  // character boundaries
  for (const char* p = text.c_str(); *p; p = g_utf8_next_char(p))
    cuts.push_back(static_cast<std::size_t>(p - text.c_str()));
  std::size_t lo = 0, hi = cuts.size();  // number of characters kept
  while (lo < hi) {
    const std::size_t mid = (lo + hi + 1) / 2;
    const std::size_t end = mid == cuts.size() ? text.size() : cuts[mid];
    if (text_width(f, text.substr(0, end) + "...") <= width) {
      lo = mid;
    } else {
      hi = mid - 1;
    }
  }
  const std::size_t keep = lo == 0 ? 0 : (lo == cuts.size() ? text.size() : cuts[lo]);
  return text.substr(0, keep) + "...";
}

bool fits_in(const Font& f, const std::string& text, int width) {
  if (f.lf.lfUnderline || f.lf.lfStrikeOut) return false;
  const auto line = ShapedLine::shape(thread_pango_context(), f.description(), text);
  return line && line->width() <= width;
}

std::vector<Line> lay_out(const Font& f, const std::string& utf8, UINT format, int width) {
  const bool prefix = !(format & DT_NOPREFIX);
  Prefixed p = prefix ? strip_prefixes(utf8, format & DT_HIDEPREFIX) : Prefixed{utf8, -1};
  std::vector<Line> lines;
  if (format & DT_SINGLELINE) {
    std::string t;
    int underline = -1;
    for (std::size_t i = 0; i < p.text.size(); ++i) {
      if (static_cast<int>(i) == p.underline_at) underline = static_cast<int>(t.size());
      if (p.text[i] != '\r' && p.text[i] != '\n') t += p.text[i];
    }
    t = expand_tabs(t, format & DT_EXPANDTABS);
    lines.push_back(Line{t, text_width(f, t), underline});
  } else {
    for (auto& [offset, para] : paragraphs(p.text)) {
      const int underline = (p.underline_at >= static_cast<int>(offset) &&
                             p.underline_at < static_cast<int>(offset + para.size()))
                                ? p.underline_at - static_cast<int>(offset)
                                : -1;
      const std::string text = expand_tabs(para, format & DT_EXPANDTABS);
      if (!(format & DT_WORDBREAK) || text.empty()) {
        lines.push_back(Line{text, text_width(f, text), underline});
        continue;
      }
      const int wrap_width = std::clamp(static_cast<int>(width / f.x_scale()), 1, 1 << 20) * PANGO_SCALE;
      // A paragraph that fits is one line, as the layout would make it; only one that has to
      // wrap needs the layout's line breaking (and the font metrics pango works out for it).
      if (fits_in(f, text, wrap_width)) {
        std::string piece = text;
        trim_trailing_spaces(piece);
        lines.push_back(
            Line{piece, text_width(f, piece), underline < static_cast<int>(piece.size()) ? underline : -1});
        continue;
      }
      LayoutPtr layout = make_layout(f, text);
      pango_layout_set_single_paragraph_mode(layout.get(), FALSE);
      pango_layout_set_width(layout.get(), wrap_width);
      pango_layout_set_wrap(layout.get(), PANGO_WRAP_WORD);
      for (GSList* it = pango_layout_get_lines_readonly(layout.get()); it; it = it->next) {
        auto* pl = static_cast<PangoLayoutLine*>(it->data);
        std::string piece = text.substr(pl->start_index, pl->length);
        trim_trailing_spaces(piece);
        int u = -1;
        if (underline >= pl->start_index && underline < pl->start_index + pl->length)
          u = underline - pl->start_index;
        if (u >= static_cast<int>(piece.size())) u = -1;
        lines.push_back(Line{piece, text_width(f, piece), u});
      }
    }
  }
  if (format & DT_END_ELLIPSIS) {
    for (Line& l : lines) {
      if (l.width > width) {
        l.text = ellipsize(f, l.text, width);
        l.width = text_width(f, l.text);
        if (l.underline_at >= static_cast<int>(l.text.size()) - 3) l.underline_at = -1;
      }
    }
  }
  return lines;
}

}  // namespace

extern "C" {

int WINAPI DrawTextA(HDC hdc, LPCSTR lpchText, int cchText, LPRECT lprc, UINT format) {
  auto dc = find<Dc>(hdc);
  if (!dc || !lprc || (!lpchText && cchText != 0)) return 0;
  const std::string_view ansi = !lpchText     ? std::string_view()
                                : cchText < 0 ? std::string_view(lpchText)
                                              : std::string_view(lpchText, cchText);
  if (ansi.empty()) {
    if (format & DT_CALCRECT) {
      lprc->right = lprc->left;
      lprc->bottom = lprc->top;
    }
    return 0;
  }
  const Font& f = *dc->st.font;
  const int line_height = f.metrics().height;
  RECT r = *lprc;
  // Far-out rectangles are pinned so that widths and pango units cannot overflow.
  r.left = clamp_coord(r.left), r.right = clamp_coord(r.right);
  r.top = clamp_coord(r.top), r.bottom = clamp_coord(r.bottom);
  const int width = r.right - r.left;
  const std::vector<Line> lines = lay_out(f, platform::codepage::ansi_to_utf8(ansi), format, width);
  const int text_height = static_cast<int>(lines.size()) * line_height;
  int widest = 0;
  for (const Line& l : lines) widest = std::max(widest, l.width);

  if (format & DT_CALCRECT) {
    // Single-line or unwrapped text sets the width; wrapped text reports its widest line.
    lprc->right = lprc->left + widest;
    lprc->bottom = lprc->top + text_height;
    return text_height;
  }

  int top = r.top;
  if (format & DT_SINGLELINE) {
    if (format & DT_VCENTER) {
      top = r.top + (r.bottom - r.top - line_height) / 2;
    } else if (format & DT_BOTTOM) {
      top = r.bottom - line_height;
    }
  }

  Canvas canvas(*dc);
  cairo_t* cr = canvas.cr();
  if (!(format & DT_NOCLIP)) {
    cairo_rectangle(cr, r.left, r.top, width, r.bottom - r.top);
    cairo_clip(cr);
  }
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const Line& l = lines[i];
    int x = r.left;
    if (format & DT_CENTER) {
      x = r.left + (width - l.width) / 2;
    } else if (format & DT_RIGHT) {
      x = r.right - l.width;
    }
    const int y = top + static_cast<int>(i) * line_height;
    if (dc->st.bk_mode == OPAQUE && l.width > 0) {
      cairo_rectangle(cr, x, y, l.width, line_height);
      set_source_color(cr, dc->st.bk_color, dc->mono());
      cairo_fill(cr);
    }
    set_source_color(cr, dc->st.text_color, dc->mono());
    draw_line(cr, f, l.text, x, y, l.underline_at);
  }
  if ((format & DT_SINGLELINE) && (format & (DT_VCENTER | DT_BOTTOM))) return top - r.top + text_height;
  return text_height;
}

}  // extern "C"
