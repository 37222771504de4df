// The platform's shell program: `explorer.exe <address>` hands the address to the desktop's
// opener (xdg-open) and answers the opener's exit status. Without an opener on PATH it says so on
// stderr and answers 127; without an address it prints its usage and answers 2.
#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

extern char** environ;

namespace {

constexpr char kOpener[] = "xdg-open";
constexpr int kNoOpener = 127;

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || argv[1][0] == '\0') {
    std::fprintf(stderr, "usage: explorer.exe <address or path>\n");
    return 2;
  }
  char* args[] = {const_cast<char*>(kOpener), argv[1], nullptr};
  pid_t pid = 0;
  int error = posix_spawnp(&pid, kOpener, nullptr, nullptr, args, environ);
  if (error != 0) {
    std::fprintf(stderr, "explorer.exe: cannot open %s: no desktop opener (%s: %s)\n", argv[1], kOpener,
                 std::strerror(error));
    return kNoOpener;
  }
  int status = 0;
  while (waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) return 1;
  }
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  return 1;
}
