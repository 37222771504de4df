// An image list's pixels and the handle table that owns every image list of the process.
// Pixels are kept as straight-alpha BGRA (one std::uint32_t per pixel, 0xAARRGGBB), all images of
// one list in one vector, image after image. The stream format is described in
// platform/api/listview.h next to ImageList_WriteToMemory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

#include "platform/api/listview.h"

namespace platform::controls::imagelist {

struct ImageList {
  int cx = 0;
  int cy = 0;
  UINT flags = 0;
  int grow = 4;
  COLORREF bk = CLR_NONE;
  std::vector<std::uint32_t> pixels;  // count * cx * cy

  int count() const;
  std::span<std::uint32_t> image(int i);
  std::span<const std::uint32_t> image(int i) const;
  // Appends `n` blank (transparent) images and returns the index of the first.
  int append_blank(int n);
  bool remove(int i);
};

// Size limits shared by ImageList_Create and the stream reader.
inline constexpr int kMaxSide = 4096;
inline constexpr int kMaxCount = 65535;
// All images of one list together: 64 M pixels (256 MB) at most.
inline constexpr std::size_t kMaxPixels = std::size_t{1} << 26;

std::vector<std::uint8_t> write_stream(const ImageList& list);
// Parses one image list from the front of `bytes`; `consumed` receives the bytes used.
std::optional<ImageList> read_stream(std::span<const std::uint8_t> bytes, std::size_t* consumed);

// The handle table. Handles are never reused.
HIMAGELIST add(ImageList list);
bool destroy(HIMAGELIST handle);
// Runs `use` on the list under the table's lock; false (without calling) for a bad handle.
bool with(HIMAGELIST handle, const std::function<void(ImageList&)>& use);

}  // namespace platform::controls::imagelist
