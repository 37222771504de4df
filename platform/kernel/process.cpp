// Child processes on posix_spawn; one reaper thread per child records its exit.
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/api/kernel.h"
#include "platform/kernel/codepage.h"
#include "platform/kernel/command_line.h"
#include "platform/kernel/errors.h"
#include "platform/kernel/objects.h"
#include "platform/kernel/paths.h"

extern char** environ;

namespace platform::kernel {
namespace {

constexpr char kShowStateVariable[] = "LYRICS_SHOW_STATE";

// Shared by the process handle, the primary-thread handle and the reaper; guarded by the table lock.
struct ChildState {
  pid_t pid = 0;
  bool finished = false;
  DWORD exit_code = STILL_ACTIVE;
  std::optional<DWORD> terminated_with;
};

class ProcessObject final : public KernelObject {
 public:
  explicit ProcessObject(std::shared_ptr<ChildState> s) : state(std::move(s)) {}
  bool waitable() const override { return true; }
  bool signaled() const override { return state->finished; }
  std::shared_ptr<ChildState> state;
};

// The child's primary thread ends with the child, with its exit code.
class PrimaryThreadObject final : public KernelObject {
 public:
  explicit PrimaryThreadObject(std::shared_ptr<ChildState> s) : state(std::move(s)) {}
  bool waitable() const override { return true; }
  bool signaled() const override { return state->finished; }
  bool thread_exit_code(DWORD& code) const override {
    code = state->exit_code;
    return true;
  }
  std::shared_ptr<ChildState> state;
};

bool is_executable_file(const std::string& path) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(path.c_str(), X_OK) == 0;
}

bool ends_with_exe(const std::string& name) {
  if (name.size() <= 4) return false;
  std::string tail = name.substr(name.size() - 4);
  for (char& c : tail) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return tail == ".exe";
}

// "prog.exe" may be installed as "prog"; "prog" may be installed as "prog.exe".
std::vector<std::string> file_names_for(const std::string& file) {
  std::vector<std::string> names{file};
  if (ends_with_exe(file))
    names.push_back(file.substr(0, file.size() - 4));
  else if (file.find('.') == std::string::npos)
    names.push_back(file + ".exe");
  return names;
}

// The program's directory first, then PATH; a name with a directory is taken as it is.
std::optional<std::string> find_program(std::string_view program) {
  std::string path = paths::to_system(program);
  if (path.empty()) return std::nullopt;
  std::size_t slash = path.rfind('/');
  if (slash != std::string::npos) {
    std::string dir = path.substr(0, slash + 1);
    for (const std::string& name : file_names_for(path.substr(slash + 1)))
      if (is_executable_file(dir + name)) return dir + name;
    return std::nullopt;
  }
  std::vector<std::string> dirs{paths::executable_directory()};
  if (const char* env = std::getenv("PATH")) {
    std::string_view rest(env);
    while (!rest.empty()) {
      std::size_t colon = rest.find(':');
      std::string_view dir = rest.substr(0, colon);
      dirs.emplace_back(dir.empty() ? "." : dir);
      if (colon == std::string_view::npos) break;
      rest.remove_prefix(colon + 1);
    }
  }
  for (const std::string& dir : dirs) {
    for (const std::string& name : file_names_for(path)) {
      std::string candidate = dir.empty() || dir.back() == '/' ? dir + name : dir + "/" + name;
      if (is_executable_file(candidate)) return candidate;
    }
  }
  return std::nullopt;
}

// The child's environment: the given block ("A=B\0C=D\0\0") or ours, with the show state.
std::vector<std::string> child_environment(LPVOID block, const STARTUPINFOA* startup) {
  std::vector<std::string> env;
  auto keep = [&](std::string_view entry) {
    if (!entry.starts_with(std::string(kShowStateVariable) + "=")) env.emplace_back(entry);
  };
  if (block) {
    for (const char* p = static_cast<const char*>(block); *p; p += std::strlen(p) + 1) keep(p);
  } else {
    for (char** e = environ; e && *e; ++e) keep(*e);
  }
  if (startup && (startup->dwFlags & STARTF_USESHOWWINDOW))
    env.push_back(std::string(kShowStateVariable) + "=" + std::to_string(startup->wShowWindow));
  return env;
}

std::vector<char*> pointers_to(std::vector<std::string>& strings) {
  std::vector<char*> out;
  for (std::string& s : strings) out.push_back(s.data());
  out.push_back(nullptr);
  return out;
}

void reap(std::shared_ptr<ChildState> state) {
  int status = 0;
  pid_t r;
  do {
    r = waitpid(state->pid, &status, 0);
  } while (r < 0 && errno == EINTR);
  KernelTable& table = KernelTable::instance();
  std::lock_guard guard(table.lock());
  if (r < 0)
    state->exit_code = 0;  // reaped elsewhere (SIGCHLD ignored): the code is lost
  else if (WIFEXITED(status))
    state->exit_code = static_cast<DWORD>(WEXITSTATUS(status));
  else if (state->terminated_with)
    state->exit_code = *state->terminated_with;
  else
    state->exit_code = 128u + static_cast<DWORD>(WTERMSIG(status));
  state->finished = true;
  table.notify_locked();
}

class SpawnSetup {
 public:
  SpawnSetup() {
    posix_spawn_file_actions_init(&actions);
    posix_spawnattr_init(&attributes);
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigmask(&attributes, &none);
    sigset_t defaults;
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);
    sigaddset(&defaults, SIGCHLD);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
  }
  ~SpawnSetup() {
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
  }
  SpawnSetup(const SpawnSetup&) = delete;
  SpawnSetup& operator=(const SpawnSetup&) = delete;
  posix_spawn_file_actions_t actions;
  posix_spawnattr_t attributes;
};

}  // namespace
}  // namespace platform::kernel

using namespace platform::kernel;

extern "C" BOOL WINAPI CreateProcessA(LPCSTR application, LPSTR command_line, LPSECURITY_ATTRIBUTES,
                                      LPSECURITY_ATTRIBUTES, BOOL, DWORD, LPVOID environment,
                                      LPCSTR current_directory, LPSTARTUPINFOA startup,
                                      LPPROCESS_INFORMATION info) {
  if (!info || (!application && !command_line)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::vector<std::string> args = split_command_line(command_line ? command_line : "");
  std::string program = application ? std::string(application) : (args.empty() ? std::string() : args[0]);
  if (args.empty()) args.push_back(program);
  std::optional<std::string> path = find_program(program);
  if (!path) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return FALSE;
  }
  // Arguments are opaque text to the child: only their encoding changes.
  for (std::string& a : args) a = platform::codepage::ansi_to_utf8(a);
  std::vector<std::string> env = child_environment(environment, startup);
  std::vector<char*> argv = pointers_to(args);
  std::vector<char*> envp = pointers_to(env);

  SpawnSetup setup;
  std::string directory;
  if (current_directory && *current_directory) {
    directory = platform::paths::to_system(current_directory);
    struct stat st {};
    if (stat(directory.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
      SetLastError(ERROR_PATH_NOT_FOUND);
      return FALSE;
    }
    posix_spawn_file_actions_addchdir_np(&setup.actions, directory.c_str());
  }
  auto state = std::make_shared<ChildState>();
  int rc =
      posix_spawn(&state->pid, path->c_str(), &setup.actions, &setup.attributes, argv.data(), envp.data());
  if (rc != 0) {
    SetLastError(error_from_errno(rc));
    return FALSE;
  }
  try {
    std::thread(reap, state).detach();
  } catch (...) {
    // Without a reaper nobody could wait for the child: stop it and report the failure.
    kill(state->pid, SIGKILL);
    waitpid(state->pid, nullptr, 0);
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return FALSE;
  }
  KernelTable& table = KernelTable::instance();
  info->hProcess = table.insert(std::make_shared<ProcessObject>(state));
  info->hThread = table.insert(std::make_shared<PrimaryThreadObject>(state));
  info->dwProcessId = static_cast<DWORD>(state->pid);
  info->dwThreadId = static_cast<DWORD>(state->pid);
  return TRUE;
}

// Our children have no input-idle signal to give: a started child counts as ready at once.
extern "C" DWORD WINAPI WaitForInputIdle(HANDLE process, DWORD) {
  if (!KernelTable::instance().lookup<ProcessObject>(process)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return WAIT_FAILED;
  }
  return 0;
}

extern "C" BOOL WINAPI GetExitCodeProcess(HANDLE process, LPDWORD exit_code) {
  if (!exit_code) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (process == current_process_pseudo_handle()) {
    *exit_code = STILL_ACTIVE;
    return TRUE;
  }
  KernelTable& table = KernelTable::instance();
  auto object = table.lookup<ProcessObject>(process);
  if (!object) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  std::lock_guard guard(table.lock());
  *exit_code = object->state->exit_code;
  return TRUE;
}

extern "C" BOOL WINAPI TerminateProcess(HANDLE process, UINT exit_code) {
  if (process == current_process_pseudo_handle()) ExitProcess(exit_code);
  KernelTable& table = KernelTable::instance();
  auto object = table.lookup<ProcessObject>(process);
  if (!object) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  std::lock_guard guard(table.lock());
  if (object->state->finished) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  // Not yet reaped, so the pid still names our child.
  object->state->terminated_with = exit_code;
  kill(object->state->pid, SIGKILL);
  return TRUE;
}

extern "C" HANDLE WINAPI GetCurrentProcess() {
  return current_process_pseudo_handle();
}

extern "C" DWORD WINAPI GetCurrentProcessId() {
  return static_cast<DWORD>(getpid());
}

extern "C" void WINAPI ExitProcess(UINT exit_code) {
  std::fflush(nullptr);
  _exit(static_cast<int>(exit_code));
}
