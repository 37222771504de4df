// The finder's program image: header, DLL declarations, the five support library records, the
// constant data block, the main window's template block and the code table of its handlers.
// Contract: built once on first use and constant afterwards; the runtime reads it, never writes.
#pragma once

#include "runtime/abi/image.h"

namespace app {

const runtime::ImageHeader& program_image();

}  // namespace app
