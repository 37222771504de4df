// Maps a POSIX errno value to the platform's error code (ERROR_...). Unknown values map to
// ERROR_ACCESS_DENIED, the platform's catch-all for refused file operations.
#pragma once

#include "platform/api/kernel.h"

namespace platform::kernel {

DWORD error_from_errno(int error);

}  // namespace platform::kernel
