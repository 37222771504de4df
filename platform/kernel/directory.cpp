// The current directory, in program form.
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "platform/api/kernel.h"
#include "platform/kernel/errors.h"
#include "platform/kernel/paths.h"

extern "C" DWORD WINAPI GetCurrentDirectoryA(DWORD size, LPSTR buffer) {
  std::string cwd(4096, '\0');
  while (!getcwd(cwd.data(), cwd.size())) {
    if (errno != ERANGE) {
      SetLastError(platform::kernel::error_from_errno(errno));
      return 0;
    }
    cwd.resize(cwd.size() * 2);
  }
  cwd.resize(std::strlen(cwd.c_str()));
  std::string text = platform::paths::to_program(cwd);
  // Too small (or no buffer): the size needed, terminator included.
  if (!buffer || text.size() >= size) return static_cast<DWORD>(text.size() + 1);
  std::memcpy(buffer, text.c_str(), text.size() + 1);
  return static_cast<DWORD>(text.size());
}

extern "C" BOOL WINAPI SetCurrentDirectoryA(LPCSTR path) {
  if (!path || !*path) {
    SetLastError(ERROR_INVALID_NAME);
    return FALSE;
  }
  std::string target = platform::paths::to_system(path);
  if (target.empty()) target.push_back('.');  // "C:" alone names the current directory of the drive
  if (chdir(target.c_str()) != 0) {
    SetLastError(platform::kernel::error_from_errno(errno));
    return FALSE;
  }
  return TRUE;
}
