// The classes the platform provides, as registry entries (one per ProgID).
#pragma once

#include <vector>

#include "platform/com/registry.h"

namespace platform::com {

std::vector<ClassEntry> builtin_classes();

}  // namespace platform::com
