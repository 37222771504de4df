// File search for compiled code (numbered services 0 and 1).
// Contract:
// - find_file(pattern, mask, not_directories, handle): a non-empty pattern closes the search in
//   *handle and starts a new one; an empty or null pattern continues the search in *handle
//   (none: answers null). The filter is "anything but directories" when not_directories is
//   non-zero, else mask & 0x37: an entry is accepted when it shares an attribute bit with the
//   filter, or when the filter is 0 and its attribute word is 0. When the search runs out it is
//   closed and null answered. *handle always holds the live search (or null) afterwards.
// - The accepted name comes back as a new text value owned by the caller.
// - end_find_file closes a search that is not null.
#pragma once

#include <cstdint>

#include "platform/api/types.h"

namespace runtime {

inline constexpr std::uint32_t kFindAttributeMask = 0x37;

// Whether an entry with these attributes passes the filter built from mask and flag.
bool find_accepts(std::uint32_t attributes, std::uint32_t mask, std::uint32_t not_directories);

char* find_file(const char* pattern, std::uint32_t mask, std::uint32_t not_directories, HANDLE* handle);
void end_find_file(HANDLE handle);

}  // namespace runtime
