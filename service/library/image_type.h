// Cover pictures are recognised by their first bytes, never by a file name or a tag's claim.
#pragma once

#include <string_view>

namespace lyr::service {

// "jpg", "png", "gif" or "bmp"; empty for anything else.
std::string_view image_ext(std::string_view bytes);

// The content type served for an extension image_ext gives.
std::string_view image_content_type(std::string_view ext);

}  // namespace lyr::service
