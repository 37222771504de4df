#include "platform/kernel/file_info.h"

#include <cstdint>

namespace platform::kernel {

DWORD attributes_of(const struct stat& st, std::string_view name) {
  DWORD a = 0;
  if (S_ISDIR(st.st_mode))
    a |= FILE_ATTRIBUTE_DIRECTORY;
  else if (S_ISREG(st.st_mode))
    a |= FILE_ATTRIBUTE_ARCHIVE;
  if (!(st.st_mode & S_IWUSR)) a |= FILE_ATTRIBUTE_READONLY;
  if (name.size() > 0 && name[0] == '.' && name != "." && name != "..") a |= FILE_ATTRIBUTE_HIDDEN;
  return a == 0 ? FILE_ATTRIBUTE_NORMAL : a;
}

FILETIME filetime_of(const struct timespec& time) {
  constexpr std::int64_t kEpochDifference = 11644473600;  // seconds from 1601 to 1970
  std::int64_t ticks =
      (static_cast<std::int64_t>(time.tv_sec) + kEpochDifference) * 10000000 + time.tv_nsec / 100;
  if (ticks < 0) ticks = 0;
  auto u = static_cast<std::uint64_t>(ticks);
  return FILETIME{static_cast<DWORD>(u & 0xFFFFFFFFu), static_cast<DWORD>(u >> 32)};
}

void fill_find_data(const struct stat& st, std::string_view name, WIN32_FIND_DATAA& data) {
  data = WIN32_FIND_DATAA{};
  data.dwFileAttributes = attributes_of(st, name);
  data.ftLastWriteTime = filetime_of(st.st_mtim);
  data.ftCreationTime = data.ftLastWriteTime;
  data.ftLastAccessTime = filetime_of(st.st_atim);
  if (!S_ISDIR(st.st_mode)) {
    auto size = static_cast<std::uint64_t>(st.st_size);
    data.nFileSizeHigh = static_cast<DWORD>(size >> 32);
    data.nFileSizeLow = static_cast<DWORD>(size & 0xFFFFFFFFu);
  }
}

}  // namespace platform::kernel
