// Image lists held in the list view's blobs: the four bytes "MITL", four bytes that are
// skipped, then the platform's image-list stream.
#pragma once

#include <cstdint>
#include <span>

#include "platform/api/listview.h"

namespace ui::listview {

// A new image list, or null for a blob of 8 bytes or less, one without the mark, or one whose
// stream the platform rejects. The caller owns the list.
HIMAGELIST load_image_list(std::span<const std::uint8_t> blob);

}  // namespace ui::listview
