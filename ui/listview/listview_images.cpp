#include "ui/listview/listview_images.h"

#include <cstring>

namespace ui::listview {
namespace {
constexpr std::uint8_t kMark[4] = {'M', 'I', 'T', 'L'};
constexpr std::size_t kPrefix = 8;
}  // namespace

HIMAGELIST load_image_list(std::span<const std::uint8_t> blob) {
  if (blob.size() <= kPrefix || std::memcmp(blob.data(), kMark, sizeof kMark) != 0) return nullptr;
  const auto stream = blob.subspan(kPrefix);
  return ImageList_ReadFromMemory(stream.data(), stream.size(), nullptr);
}

}  // namespace ui::listview
