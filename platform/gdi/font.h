// Font objects: a LOGFONTA resolved to an installed face, a pango description and stable
// integer metrics at 96 dpi.
#pragma once

#include <mutex>
#include <optional>
#include <string>

#include "platform/gdi/objects.h"
#include "platform/gdi/pango_glue.h"
#include "platform/gdi/stand_in_faces.h"

namespace platform::gdi {

inline constexpr const char* kFallbackFace = "WenQuanYi Micro Hei";

struct FontMetrics {
  int ascent = 0;
  int descent = 0;
  int height = 0;  // ascent + descent: the line pitch of text output
  int internal_leading = 0;
  int ave_char_width = 0;
  int max_char_width = 0;
};

class Font : public GdiObject {
 public:
  static constexpr Kind kKind = Kind::font;
  explicit Font(const LOGFONTA& lf);
  ~Font() override;

  const LOGFONTA lf;
  const std::string family;  // UTF-8 name of the installed face used
  const PangoFontDescription* description() const {
    resolve_size();
    return desc_;
  }
  const FontMetrics& metrics() const;
  // Horizontal stretch asked for by lfWidth (1 when it is 0).
  double x_scale() const {
    metrics();
    return x_scale_;
  }
  double em_pixels() const {
    resolve_size();
    return em_px_;
  }
  // Counter-clockwise rotation of the text baseline, in degrees.
  double escapement_degrees() const { return lf.lfEscapement / 10.0; }

 private:
  void resolve_size() const;

  // The named face's own cell when `family` stands in for it.
  std::optional<CellShape> cell_;
  mutable std::once_flag size_once_;
  mutable double em_px_ = 12;
  mutable PangoFontDescription* desc_ = nullptr;
  mutable std::once_flag metrics_once_;
  mutable FontMetrics metrics_;
  mutable double x_scale_ = 1.0;
};

// The installed face that a GB18030 face name resolves to (UTF-8).
std::string resolve_face(const char* ansi_face);

// The calling thread's pango context (96 dpi, zh-cn, hinted metrics).
PangoContext* thread_pango_context();

}  // namespace platform::gdi
