// The header programs fill for a 32-bit top-down DIB.
#pragma once

#include "platform/api/gdi.h"

namespace platform {
// The header of a 32-bit top-down DIB of width x height, as CreateDIBSection and GetDIBits take it.
inline BITMAPINFO top_down_dib_info(int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}
}  // namespace platform
