// The template builder's writer is the shared one (ui/bytes/byte_writer.h); this name stays for
// the tests that still spell it so.
#pragma once

#include "ui/bytes/byte_writer.h"

namespace ui::templates {

using ByteWriter = lyr::ByteWriter;

}  // namespace ui::templates
