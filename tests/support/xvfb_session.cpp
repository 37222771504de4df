#include "tests/support/xvfb_session.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "tests/support/eventually.h"

extern char** environ;

namespace test_support {

bool on_path(const std::string& program) {
  std::string cmd = "command -v " + program + " >/dev/null 2>&1";
  return std::system(cmd.c_str()) == 0;
}

pid_t spawn(const std::vector<std::string>& args, const std::vector<std::string>& extra_env,
            const std::string& output_path) {
  if (args.empty()) return -1;
  std::vector<char*> argv;
  for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  std::vector<std::string> env_store(extra_env);
  for (char** e = environ; *e; ++e) {
    std::string entry(*e);
    bool replaced = false;
    for (const auto& x : extra_env)
      replaced = replaced || entry.substr(0, entry.find('=')) == x.substr(0, x.find('='));
    if (!replaced) env_store.push_back(entry);
  }
  std::vector<char*> envp;
  for (auto& e : env_store) envp.push_back(e.data());
  envp.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (!output_path.empty()) {
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, output_path.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
  }
  pid_t pid = -1;
  const int failed = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  return failed != 0 ? -1 : pid;
}

std::optional<int> wait_child(pid_t pid, std::chrono::seconds limit) {
  auto deadline = std::chrono::steady_clock::now() + limit;
  while (std::chrono::steady_clock::now() < deadline) {
    int status = 0;
    if (waitpid(pid, &status, WNOHANG) == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : 128;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  kill(pid, SIGKILL);
  waitpid(pid, nullptr, 0);
  return std::nullopt;
}

std::string self_path() {
  char self[4096] = {};
  ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
  return n > 0 ? std::string(self, static_cast<std::size_t>(n)) : std::string();
}

Xvfb::Xvfb(const std::string& screen) {
  int fds[2];
  if (pipe(fds) != 0) return;
  // -noreset: an X server otherwise resets whenever its last client leaves and refuses
  // connections meanwhile, so a test's one-off look (xdotool, xprop) just before the program
  // under test connects could make that program's connection fail.
  pid_ = spawn(
      {"Xvfb", "-displayfd", std::to_string(fds[1]), "-noreset", "-screen", "0", screen, "-nolisten", "tcp"},
      {});
  close(fds[1]);
  pollfd pfd{fds[0], POLLIN, 0};
  std::string number;
  while (pid_ > 0 && poll(&pfd, 1, 10000) > 0) {
    char c;
    if (read(fds[0], &c, 1) != 1 || c == '\n') break;
    number.push_back(c);
  }
  close(fds[0]);
  if (!number.empty()) display_ = ":" + number;
}

Xvfb::~Xvfb() {
  if (pid_ > 0) {
    kill(pid_, SIGTERM);
    wait_child(pid_, std::chrono::seconds(10));
  }
}

pid_t spawn_self(const std::string& filter, const std::vector<std::string>& extra_env) {
  return spawn({self_path(), "--gtest_also_run_disabled_tests", "--gtest_filter=" + filter}, extra_env);
}

std::optional<int> run_self_on_sdl(const std::string& display, const std::string& filter,
                                   std::vector<std::string> extra_env, std::chrono::seconds limit) {
  extra_env.push_back("DISPLAY=" + display);
  extra_env.push_back("LYRICS_DISPLAY=sdl");
  const pid_t child = spawn_self(filter, extra_env);
  if (child <= 0) return std::nullopt;
  return wait_child(child, limit);
}

std::string output_of(const std::string& command) {
  std::string out;
  if (FILE* p = popen(command.c_str(), "r")) {
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, p) != nullptr) out += buffer;
    pclose(p);
  }
  return out;
}

std::string wait_for_x_window(const std::string& display, const std::string& title,
                              std::chrono::seconds limit) {
  const std::string search =
      "DISPLAY=" + display + " xdotool search --onlyvisible --name '" + title + "' 2>/dev/null | head -n1";
  std::string id;
  eventually([&] { return !(id = output_of(search)).empty(); }, limit);
  while (!id.empty() && (id.back() == '\n' || id.back() == '\r')) id.pop_back();
  return id;
}

}  // namespace test_support
