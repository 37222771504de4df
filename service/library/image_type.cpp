#include "service/library/image_type.h"

namespace lyr::service {

std::string_view image_ext(std::string_view b) {
  if (b.starts_with("\xFF\xD8\xFF")) return "jpg";
  if (b.starts_with("\x89PNG\r\n\x1A\n")) return "png";
  if (b.starts_with("GIF87a") || b.starts_with("GIF89a")) return "gif";
  if (b.starts_with("BM") && b.size() > 14) return "bmp";
  return {};
}

std::string_view image_content_type(std::string_view ext) {
  if (ext == "jpg") return "image/jpeg";
  if (ext == "png") return "image/png";
  if (ext == "gif") return "image/gif";
  if (ext == "bmp") return "image/bmp";
  return "application/octet-stream";
}

}  // namespace lyr::service
