// File attributes and times as the platform reports them, from a stat result.
// Contract: a directory is FILE_ATTRIBUTE_DIRECTORY, a regular file FILE_ATTRIBUTE_ARCHIVE (as
// freshly written files are); no owner write permission adds READONLY; a name starting with a
// dot (other than "." and "..") adds HIDDEN; anything else with no attribute is NORMAL.
// Times are FILETIMEs (100 ns units since 1601-01-01 UTC); creation time is the last write time.
#pragma once

#include <sys/stat.h>

#include <string_view>

#include "platform/api/kernel.h"

namespace platform::kernel {

DWORD attributes_of(const struct stat& st, std::string_view name);
FILETIME filetime_of(const struct timespec& time);
// Fills everything but the names (left empty).
void fill_find_data(const struct stat& st, std::string_view name, WIN32_FIND_DATAA& data);

}  // namespace platform::kernel
