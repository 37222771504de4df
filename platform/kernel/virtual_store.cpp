#include "platform/kernel/virtual_store.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <vector>

#include "platform/kernel/paths.h"

namespace platform::kernel::virtual_store {
namespace {

namespace fs = std::filesystem;

// Lexically normal, without a trailing separator (but "/" stays "/").
std::string tidy(std::string_view path) {
  std::string s = fs::path(path).lexically_normal().string();
  while (s.size() > 1 && s.back() == '/') s.pop_back();
  return s;
}

// The part of `path` below `folder`: nullopt when outside, "" for the folder itself.
std::optional<std::string> below(const std::string& path, const std::string& folder) {
  if (path == folder) return std::string();
  const std::string prefix = folder == "/" ? folder : folder + "/";
  if (path.size() <= prefix.size() || path.compare(0, prefix.size(), prefix) != 0) return std::nullopt;
  return path.substr(prefix.size());
}

bool absolute(const char* s) {
  return s && s[0] == '/';
}

std::string home_folder() {
  if (const char* home = std::getenv("HOME"); absolute(home)) return home;
  long size = sysconf(_SC_GETPW_R_SIZE_MAX);
  std::vector<char> buffer(size > 0 ? static_cast<std::size_t>(size) : 16384);
  passwd entry{};
  passwd* found = nullptr;
  if (getpwuid_r(geteuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found &&
      absolute(found->pw_dir))
    return found->pw_dir;
  return std::string();
}

// "" when the user has no home to keep a store in.
std::string mirror_root() {
  std::string name = fs::path(platform::paths::executable_path()).filename().string();
  if (name.empty()) return std::string();
  if (const char* data = std::getenv("XDG_DATA_HOME"); absolute(data)) return tidy(data) + "/" + name;
  std::string home = home_folder();
  return home.empty() ? std::string() : tidy(home) + "/.local/share/" + name;
}

bool marked_read_only() {
  const char* v = std::getenv("LYRICS_READONLY_PROGRAM_FOLDER");
  return v && *v && std::string_view(v) != "0";
}

// Root may write anywhere, so the effective user's access decides, as the kernel would for a
// create; a read-only mount answers no for everyone.
bool store_in_use(const std::string& folder) {
  return marked_read_only() || faccessat(AT_FDCWD, folder.c_str(), W_OK, AT_EACCESS) != 0;
}

// Absolute, normal, with links on the existing part followed (the program folder is known by
// its real path).
std::string resolved(std::string_view path) {
  std::error_code ec;
  fs::path p(path);
  if (p.is_relative()) p = fs::current_path(ec) / p;
  fs::path real = fs::weakly_canonical(p, ec);
  return tidy(ec ? p.string() : real.string());
}

struct Mapping {
  std::string original;  // resolved
  std::string mirror;
};

std::optional<Mapping> map(std::string_view path, bool folder_itself) {
  if (path.empty()) return std::nullopt;
  const std::string folder = tidy(platform::paths::executable_directory());
  if (folder.empty()) return std::nullopt;
  std::string original = resolved(path);
  std::optional<std::string> rest = below(original, folder);
  if (!rest || (rest->empty() && !folder_itself) || !store_in_use(folder)) return std::nullopt;
  std::string root = mirror_root();
  if (root.empty()) return std::nullopt;
  return Mapping{original, rest->empty() ? root : root + "/" + *rest};
}

bool is_directory(const std::string& path) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace

std::optional<std::string> mirror_path(std::string_view path, std::string_view program_folder,
                                       std::string_view mirror_root) {
  std::optional<std::string> rest = below(tidy(path), tidy(program_folder));
  if (!rest || rest->empty()) return std::nullopt;
  return tidy(mirror_root) + "/" + *rest;
}

std::optional<std::string> mirror_of(std::string_view path) {
  std::optional<Mapping> m = map(path, false);
  if (!m) return std::nullopt;
  return m->mirror;
}

std::optional<std::string> mirror_of_folder(std::string_view dir) {
  std::optional<Mapping> m = map(dir, true);
  if (!m) return std::nullopt;
  return m->mirror;
}

std::string for_write(std::string_view path) {
  std::optional<Mapping> m = map(path, false);
  if (!m) return std::string(path);
  fs::path parent = fs::path(m->mirror).parent_path();
  if (!is_directory(parent) && is_directory(fs::path(m->original).parent_path().string())) {
    std::error_code ec;
    fs::create_directories(parent, ec);  // a failure shows in the write itself
  }
  return m->mirror;
}

std::string for_read(std::string_view path) {
  std::optional<Mapping> m = map(path, false);
  struct stat st {};
  if (m && lstat(m->mirror.c_str(), &st) == 0) return m->mirror;
  return std::string(path);
}

}  // namespace platform::kernel::virtual_store
