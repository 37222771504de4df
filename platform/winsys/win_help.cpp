#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cerrno>
#include <cstdlib>
#include <string>

#include "platform/api/kernel.h"
#include "platform/api/user.h"
#include "platform/kernel/paths.h"

extern char** environ;

namespace {

// Starts the viewer without waiting for it: a shell puts it in the background and ends at once
// (init adopts the viewer, so no zombie stays), answering 127 when there is no such viewer.
bool start_detached(const char* viewer, const std::string& file) {
  const char* script = "command -v \"$0\" >/dev/null 2>&1 || exit 127; \"$0\" \"$1\" >/dev/null 2>&1 &";
  char* argv[] = {const_cast<char*>("/bin/sh"), const_cast<char*>("-c"),         const_cast<char*>(script),
                  const_cast<char*>(viewer),    const_cast<char*>(file.c_str()), nullptr};
  pid_t shell = 0;
  if (posix_spawn(&shell, "/bin/sh", nullptr, nullptr, argv, environ) != 0) return false;
  int status = 0;
  while (waitpid(shell, &status, 0) < 0) {
    if (errno != EINTR) return false;
  }
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace

BOOL WinHelpA(HWND, LPCSTR help_file, UINT command, ULONG_PTR) {
  if (command == HELP_QUIT) return TRUE;
  if (help_file == nullptr || help_file[0] == '\0') {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return FALSE;
  }
  const std::string path = platform::paths::to_system(help_file);
  struct stat info {};
  if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return FALSE;
  }
  const char* viewer = std::getenv("LYRICS_HELP_VIEWER");
  if (viewer == nullptr || viewer[0] == '\0') viewer = "xdg-open";
  return start_detached(viewer, path) ? TRUE : FALSE;
}
