// The page behind the finder's author address ("/"): what the finder is and what this service
// serves it.
#pragma once

#include <span>
#include <string>

#include "service/catalog/lyric_service.h"

namespace lyr::service {

std::string author_page(const LyricService& service, std::span<const std::string> libraries);

}  // namespace lyr::service
