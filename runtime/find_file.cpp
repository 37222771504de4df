#include "runtime/find_file.h"

#include "platform/api/kernel.h"
#include "runtime/values.h"

namespace runtime {
namespace {

bool is_search(HANDLE h) {
  return h != nullptr && h != INVALID_HANDLE_VALUE;
}

}  // namespace

bool find_accepts(std::uint32_t attributes, std::uint32_t mask, std::uint32_t not_directories) {
  if (not_directories != 0) return (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
  const std::uint32_t filter = mask & kFindAttributeMask;
  if (filter == 0) return attributes == 0;
  return (attributes & filter) != 0;
}

char* find_file(const char* pattern, std::uint32_t mask, std::uint32_t not_directories, HANDLE* handle) {
  if (handle == nullptr) return nullptr;
  WIN32_FIND_DATAA data{};
  bool have_entry = false;
  if (pattern != nullptr && *pattern != '\0') {
    if (is_search(*handle)) FindClose(*handle);
    *handle = FindFirstFileA(pattern, &data);
    if (!is_search(*handle)) {
      *handle = nullptr;
      return nullptr;
    }
    have_entry = true;
  } else {
    if (!is_search(*handle)) {
      *handle = nullptr;
      return nullptr;
    }
    have_entry = FindNextFileA(*handle, &data) != FALSE;
  }
  while (have_entry) {
    if (find_accepts(data.dwFileAttributes, mask, not_directories)) {
      data.cFileName[MAX_PATH - 1] = '\0';
      return make_text(data.cFileName);
    }
    have_entry = FindNextFileA(*handle, &data) != FALSE;
  }
  FindClose(*handle);
  *handle = nullptr;
  return nullptr;
}

void end_find_file(HANDLE handle) {
  if (is_search(handle)) FindClose(handle);
}

}  // namespace runtime
