// File and folder operations by path. Those inside a program folder the user may not write go
// through the per-user store (virtual_store.h).
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <optional>
#include <string>

#include "platform/api/kernel.h"
#include "platform/kernel/errors.h"
#include "platform/kernel/file_info.h"
#include "platform/kernel/paths.h"
#include "platform/kernel/virtual_store.h"

namespace {

bool valid_path(LPCSTR path) {
  if (path && *path) return true;
  SetLastError(path ? ERROR_PATH_NOT_FOUND : ERROR_INVALID_PARAMETER);
  return false;
}

// A missing folder on the way is "path not found", a missing last part "file not found".
DWORD missing_error(const std::string& path) {
  std::size_t slash = path.rfind('/');
  if (slash == std::string::npos || slash == 0) return ERROR_FILE_NOT_FOUND;
  struct stat st {};
  std::string parent = path.substr(0, slash);
  return stat(parent.c_str(), &st) == 0 && S_ISDIR(st.st_mode) ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND;
}

BOOL fail(int error, const std::string& path) {
  SetLastError(error == ENOENT ? missing_error(path) : platform::kernel::error_from_errno(error));
  return FALSE;
}

bool exists(const std::string& path) {
  struct stat st {};
  return lstat(path.c_str(), &st) == 0;
}

// Where a new name is made. In the store, a name that the program folder holds is taken already:
// the folder and its mirror are one view.
std::optional<std::string> new_name(const std::string& path) {
  if (platform::kernel::virtual_store::mirror_of(path) && exists(path)) return std::nullopt;
  return platform::kernel::virtual_store::for_write(path);
}

std::string last_part(const std::string& path) {
  std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

extern "C" DWORD WINAPI GetFileAttributesA(LPCSTR path) {
  if (!valid_path(path)) return INVALID_FILE_ATTRIBUTES;
  std::string p = platform::kernel::virtual_store::for_read(platform::paths::to_system(path));
  struct stat st {};
  if (stat(p.c_str(), &st) != 0) {
    fail(errno, p);
    return INVALID_FILE_ATTRIBUTES;
  }
  return platform::kernel::attributes_of(st, last_part(p));
}

extern "C" BOOL WINAPI CreateDirectoryA(LPCSTR path, LPSECURITY_ATTRIBUTES) {
  if (!valid_path(path)) return FALSE;
  std::optional<std::string> target = new_name(platform::paths::to_system(path));
  if (!target) {
    SetLastError(ERROR_ALREADY_EXISTS);
    return FALSE;
  }
  const std::string& p = *target;
  if (mkdir(p.c_str(), 0777) != 0) {
    if (errno == ENOENT) {
      SetLastError(ERROR_PATH_NOT_FOUND);
      return FALSE;
    }
    return fail(errno, p);
  }
  return TRUE;
}

extern "C" BOOL WINAPI RemoveDirectoryA(LPCSTR path) {
  if (!valid_path(path)) return FALSE;
  std::string p = platform::kernel::virtual_store::for_read(platform::paths::to_system(path));
  return rmdir(p.c_str()) == 0 ? TRUE : fail(errno, p);
}

extern "C" BOOL WINAPI DeleteFileA(LPCSTR path) {
  if (!valid_path(path)) return FALSE;
  std::string p = platform::kernel::virtual_store::for_read(platform::paths::to_system(path));
  struct stat st {};
  if (lstat(p.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  return unlink(p.c_str()) == 0 ? TRUE : fail(errno, p);
}

// Replacing needs MOVEFILE_REPLACE_EXISTING; without it the move never clobbers a file, even one
// created by someone else at the same moment.
extern "C" BOOL WINAPI MoveFileExA(LPCSTR from, LPCSTR to, DWORD flags) {
  if (!valid_path(from) || !valid_path(to)) return FALSE;
  std::string source = platform::kernel::virtual_store::for_read(platform::paths::to_system(from));
  std::string target = platform::paths::to_system(to);
  if (flags & MOVEFILE_REPLACE_EXISTING) {
    target = platform::kernel::virtual_store::for_write(target);
  } else if (std::optional<std::string> fresh = new_name(target)) {
    target = *fresh;
  } else {
    SetLastError(ERROR_ALREADY_EXISTS);
    return FALSE;
  }
  int rc = (flags & MOVEFILE_REPLACE_EXISTING)
               ? rename(source.c_str(), target.c_str())
               : renameat2(AT_FDCWD, source.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE);
  // A missing source, or a missing folder on the target's way.
  if (rc != 0) return fail(errno, errno == ENOENT && !exists(source) ? source : target);
  return TRUE;
}
