// Fonts: face resolution through fontconfig, pango descriptions and metrics at 96 dpi.
#include "platform/gdi/font.h"

#include <fontconfig/fontconfig.h>
#include <strings.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <string_view>

#include "platform/gdi/dc.h"
#include "platform/gdi/handle_table.h"
#include "platform/gdi/pango_glue.h"
#include "platform/gdi/shaped_line.h"
#include "platform/kernel/codepage.h"

namespace platform::gdi {
namespace {

constexpr double kDpi = 96.0;

PangoLanguage* layout_language() {
  return pango_language_from_string("zh-cn");
}

// The thread's own default font map, which the window frames' titles draw with too: one map per
// thread shares its font files, shaping faces and match caches instead of loading them twice.
struct ThreadPango {
  PangoFontMap* map = nullptr;
  PangoContext* context = nullptr;
  ThreadPango() {
    map = PANGO_FONT_MAP(g_object_ref(pango_cairo_font_map_get_default()));
    context = pango_font_map_create_context(map);
    pango_cairo_context_set_resolution(context, kDpi);
    pango_context_set_language(context, layout_language());
    cairo_font_options_t* opts = cairo_font_options_create();
    cairo_font_options_set_hint_metrics(opts, CAIRO_HINT_METRICS_ON);
    cairo_font_options_set_hint_style(opts, CAIRO_HINT_STYLE_SLIGHT);
    cairo_font_options_set_antialias(opts, CAIRO_ANTIALIAS_GRAY);
    pango_cairo_context_set_font_options(context, opts);
    cairo_font_options_destroy(opts);
  }
  ~ThreadPango() {
    g_object_unref(context);
    g_object_unref(map);
  }
  ThreadPango(const ThreadPango&) = delete;
  ThreadPango& operator=(const ThreadPango&) = delete;
};

// Whether fontconfig really has a family of this name (not merely a substitute).
bool fontconfig_has(const std::string& family) {
  FcPattern* pat = FcPatternCreate();
  FcPatternAddString(pat, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
  FcObjectSet* os = FcObjectSetBuild(FC_FAMILY, nullptr);
  FcFontSet* fs = FcFontList(nullptr, pat, os);
  const bool found = fs && fs->nfont > 0;
  if (fs) FcFontSetDestroy(fs);
  FcObjectSetDestroy(os);
  FcPatternDestroy(pat);
  return found;
}

// Ascent and descent in pango units of `desc` as laid out in `language`. When the face itself has
// every character of the language's sample text, its own hinted extents are exactly what pango's
// context metrics answer, without shaping the sample: that would load (and map in) the outlines of
// a dozen CJK glyphs merely to learn two numbers.
std::pair<int, int> face_extents(const PangoFontDescription* desc, PangoLanguage* language) {
  PangoContext* ctx = thread_pango_context();
  if (PangoFont* font = pango_context_load_font(ctx, desc)) {
    bool covered = PANGO_IS_CAIRO_FONT(font);
    for (const char* p = pango_language_get_sample_string(language); covered && *p; p = g_utf8_next_char(p))
      covered = pango_font_has_char(font, g_utf8_get_char(p));
    cairo_scaled_font_t* scaled =
        covered ? pango_cairo_font_get_scaled_font(PANGO_CAIRO_FONT(font)) : nullptr;
    if (scaled != nullptr && cairo_scaled_font_status(scaled) == CAIRO_STATUS_SUCCESS) {
      cairo_font_extents_t fe;
      cairo_scaled_font_extents(scaled, &fe);
      g_object_unref(font);
      return {static_cast<int>(std::lround(fe.ascent * PANGO_SCALE)),
              static_cast<int>(std::lround(fe.descent * PANGO_SCALE))};
    }
    g_object_unref(font);
  }
  // A face that leaves part of the sample to fallback faces: pango counts theirs in too.
  PangoFontMetrics* m = pango_context_get_metrics(ctx, desc, language);
  std::pair<int, int> extents{pango_font_metrics_get_ascent(m), pango_font_metrics_get_descent(m)};
  pango_font_metrics_unref(m);
  return extents;
}

// Cell height (ascent + descent) per pixel of em for a family.
double cell_ratio(const std::string& family) {
  static std::mutex mu;
  static std::map<std::string, double> cache;
  std::lock_guard lock(mu);
  auto it = cache.find(family);
  if (it != cache.end()) return it->second;
  PangoFontDescription* d = pango_font_description_new();
  pango_font_description_set_family(d, family.c_str());
  pango_font_description_set_absolute_size(d, 1000.0 * PANGO_SCALE);
  const auto [ascent, descent] = face_extents(d, layout_language());
  double ratio = (ascent + descent) / (1000.0 * PANGO_SCALE);
  pango_font_description_free(d);
  if (!(ratio > 0.5 && ratio < 3)) ratio = 1.0;
  cache.emplace(family, ratio);
  return ratio;
}

int pixels(int pango_units) {
  return static_cast<int>(std::lround(pango_units / static_cast<double>(PANGO_SCALE)));
}

// The advance width of `text` in pango units, as a single-line layout of it would measure it.
int shaped_width(const PangoFontDescription* desc, std::string_view text) {
  auto line = ShapedLine::shape(thread_pango_context(), desc, text);
  return line ? line->width() : 0;
}

}  // namespace

PangoContext* thread_pango_context() {
  thread_local ThreadPango tp;
  return tp.context;
}

std::string resolve_face(const char* ansi_face) {
  std::string face = ansi_face ? platform::codepage::ansi_to_utf8(ansi_face) : std::string();
  if (face.empty()) return kFallbackFace;
  static std::mutex mu;
  static std::map<std::string, std::string> cache;
  std::lock_guard lock(mu);
  auto it = cache.find(face);
  if (it != cache.end()) return it->second;
  std::string resolved = fontconfig_has(face) ? face : std::string(kFallbackFace);
  cache.emplace(face, resolved);
  return resolved;
}

namespace {
std::string bounded_face(const LOGFONTA& lf) {
  return std::string(lf.lfFaceName, strnlen(lf.lfFaceName, LF_FACESIZE));
}

// The cell of a named face that is not installed and is drawn in another face.
std::optional<CellShape> substituted_cell(const std::string& ansi_face, const std::string& family) {
  const std::string face = platform::codepage::ansi_to_utf8(ansi_face);
  if (face.empty() || face == family) return std::nullopt;
  return stand_in_cell(face);
}
}  // namespace

Font::Font(const LOGFONTA& in)
    : GdiObject(kKind),
      lf(in),
      family(resolve_face(bounded_face(in).c_str())),
      cell_(substituted_cell(bounded_face(in), family)) {}

Font::~Font() {
  if (desc_ != nullptr) pango_font_description_free(desc_);
}

// Sizing waits for the first use: a cell height needs the face's cell ratio, which loads the
// face, and most fonts made (the stock set above all) are never drawn with.
void Font::resolve_size() const {
  std::call_once(size_once_, [this] {
    // Negative heights are character (em) heights, positive ones cell heights, 0 the default.
    if (lf.lfHeight < 0) {
      em_px_ = -static_cast<double>(lf.lfHeight);
    } else if (lf.lfHeight > 0) {
      const double ratio = cell_ ? cell_->ascent + cell_->descent : cell_ratio(family);
      em_px_ = std::max(1.0, std::round(lf.lfHeight / ratio));
    } else {
      em_px_ = 12;
    }
    em_px_ = std::min(em_px_, 2000.0);
    desc_ = pango_font_description_new();
    pango_font_description_set_family(desc_, family.c_str());
    pango_font_description_set_absolute_size(desc_, em_px_ * PANGO_SCALE);
    const int weight = lf.lfWeight <= 0 ? 400 : std::clamp<int>(lf.lfWeight, 100, 1000);
    pango_font_description_set_weight(desc_, static_cast<PangoWeight>(weight));
    pango_font_description_set_style(desc_, lf.lfItalic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
  });
}

const FontMetrics& Font::metrics() const {
  resolve_size();
  std::call_once(metrics_once_, [this] {
    if (cell_) {
      metrics_.height = std::max(1, static_cast<int>(std::lround(em_px_ * (cell_->ascent + cell_->descent))));
      metrics_.ascent = std::min(metrics_.height, static_cast<int>(std::lround(em_px_ * cell_->ascent)));
      metrics_.descent = metrics_.height - metrics_.ascent;
    } else {
      const auto [ascent, descent] = face_extents(desc_, layout_language());
      metrics_.ascent = pixels(ascent);
      metrics_.descent = pixels(descent);
      metrics_.height = metrics_.ascent + metrics_.descent;
    }
    metrics_.internal_leading = std::max(0, metrics_.height - static_cast<int>(std::lround(em_px_)));
    // Average width: the mean advance of the Latin letters, as the platform reports it.
    const int letters = shaped_width(desc_, "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ");
    metrics_.ave_char_width = std::max(1, static_cast<int>(std::lround(letters / 52.0 / PANGO_SCALE)));
    int widest = 0;
    for (const char* s : {"W", "M", "\xE5\x9B\xBD", "\xE9\xBE\x98"})  // W, M, 国, 龘
      widest = std::max(widest, pixels(shaped_width(desc_, s)));
    metrics_.max_char_width = widest;
    // A requested average width stretches the whole face horizontally.
    if (lf.lfWidth > 0) {
      x_scale_ = std::clamp(static_cast<double>(lf.lfWidth) / metrics_.ave_char_width, 0.05, 20.0);
      metrics_.ave_char_width = static_cast<int>(std::lround(metrics_.ave_char_width * x_scale_));
      metrics_.max_char_width = static_cast<int>(std::lround(metrics_.max_char_width * x_scale_));
    }
  });
  return metrics_;
}

}  // namespace platform::gdi

using namespace platform::gdi;

extern "C" {

HFONT WINAPI CreateFontIndirectA(const LOGFONTA* lplf) {
  if (!lplf) return nullptr;
  return issue<HFONT>(std::make_shared<Font>(*lplf));
}

HFONT WINAPI CreateFontA(int cHeight, int cWidth, int cEscapement, int cOrientation, int cWeight,
                         DWORD bItalic, DWORD bUnderline, DWORD bStrikeOut, DWORD iCharSet,
                         DWORD iOutPrecision, DWORD iClipPrecision, DWORD iQuality, DWORD iPitchAndFamily,
                         LPCSTR pszFaceName) {
  LOGFONTA lf{};
  lf.lfHeight = cHeight;
  lf.lfWidth = cWidth;
  lf.lfEscapement = cEscapement;
  lf.lfOrientation = cOrientation;
  lf.lfWeight = cWeight;
  lf.lfItalic = static_cast<BYTE>(bItalic != 0);
  lf.lfUnderline = static_cast<BYTE>(bUnderline != 0);
  lf.lfStrikeOut = static_cast<BYTE>(bStrikeOut != 0);
  lf.lfCharSet = static_cast<BYTE>(iCharSet);
  lf.lfOutPrecision = static_cast<BYTE>(iOutPrecision);
  lf.lfClipPrecision = static_cast<BYTE>(iClipPrecision);
  lf.lfQuality = static_cast<BYTE>(iQuality);
  lf.lfPitchAndFamily = static_cast<BYTE>(iPitchAndFamily);
  if (pszFaceName) std::strncpy(lf.lfFaceName, pszFaceName, LF_FACESIZE - 1);
  return CreateFontIndirectA(&lf);
}

BOOL WINAPI GetTextMetricsA(HDC hdc, LPTEXTMETRICA lptm) {
  auto dc = find<Dc>(hdc);
  if (!dc || !lptm) return FALSE;
  const Font& f = *dc->st.font;
  const FontMetrics& m = f.metrics();
  TEXTMETRICA tm{};
  tm.tmHeight = m.height;
  tm.tmAscent = m.ascent;
  tm.tmDescent = m.descent;
  tm.tmInternalLeading = m.internal_leading;
  tm.tmExternalLeading = 0;
  tm.tmAveCharWidth = m.ave_char_width;
  tm.tmMaxCharWidth = m.max_char_width;
  tm.tmWeight = f.lf.lfWeight <= 0 ? FW_NORMAL : f.lf.lfWeight;
  tm.tmDigitizedAspectX = 96;
  tm.tmDigitizedAspectY = 96;
  tm.tmFirstChar = 0x20;
  tm.tmLastChar = 0xFF;
  tm.tmDefaultChar = '?';
  tm.tmBreakChar = ' ';
  tm.tmItalic = f.lf.lfItalic;
  tm.tmUnderlined = f.lf.lfUnderline;
  tm.tmStruckOut = f.lf.lfStrikeOut;
  tm.tmPitchAndFamily = 0x06;  // variable pitch, TrueType
  tm.tmCharSet = f.lf.lfCharSet == DEFAULT_CHARSET ? GB2312_CHARSET : f.lf.lfCharSet;
  *lptm = tm;
  return TRUE;
}

int WINAPI GetTextFaceA(HDC hdc, int c, LPSTR lpName) {
  auto dc = find<Dc>(hdc);
  if (!dc) return 0;
  const std::string face = platform::codepage::utf8_to_ansi(dc->st.font->family);
  if (!lpName) return static_cast<int>(face.size()) + 1;
  if (c <= 0) return 0;
  const std::size_t n = std::min<std::size_t>(face.size(), static_cast<std::size_t>(c - 1));
  std::memcpy(lpName, face.data(), n);
  lpName[n] = '\0';
  return static_cast<int>(n) + 1;
}

}  // extern "C"

#if defined(__SANITIZE_ADDRESS__)
// fontconfig keeps its parsed configuration and the font patterns that pango's per-thread font
// maps hand it until the process ends; those are the library's caches, not our leaks. The same
// holds for the session-bus connection that SDL's video driver opens through libdbus. (One
// process has one such list; it lives here because every program that draws links this file.)
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\nleak:libdbus-1.so\n";
}
#endif
