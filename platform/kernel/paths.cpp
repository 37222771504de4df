#include "platform/kernel/paths.h"

#include <unistd.h>

#include <cctype>
#include <vector>

#include "platform/kernel/codepage.h"

namespace platform::paths {
namespace {

bool is_ascii(std::string_view s) {
  for (char c : s)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

}  // namespace

std::string to_system(std::string_view path) {
  if (path.size() >= 2 && path[1] == ':' && std::isalpha(static_cast<unsigned char>(path[0]))) {
    // With a separator after the drive the rest is already rooted; without one it is relative.
    path.remove_prefix(2);
  }
  // Converted before the separators: a GB18030 trail byte may be 0x5C, the backslash.
  std::string out = is_ascii(path) ? std::string(path) : codepage::ansi_to_utf8(path);
  for (char& c : out)
    if (c == '\\') c = '/';
  return out;
}

std::string to_program(std::string_view path) {
  std::string out(path);
  for (char& c : out)
    if (c == '/') c = '\\';
  return is_ascii(out) ? out : codepage::utf8_to_ansi(out);
}

const std::string& executable_path() {
  static const std::string path = [] {
    std::vector<char> buf(4096);
    for (;;) {
      ssize_t n = readlink("/proc/self/exe", buf.data(), buf.size());
      if (n < 0) return std::string();
      if (static_cast<std::size_t>(n) < buf.size())
        return std::string(buf.data(), static_cast<std::size_t>(n));
      buf.resize(buf.size() * 2);
    }
  }();
  return path;
}

std::string executable_directory() {
  const std::string& exe = executable_path();
  std::size_t slash = exe.rfind('/');
  if (slash == std::string::npos) return std::string();
  if (slash == 0) return "/";
  return exe.substr(0, slash);
}

}  // namespace platform::paths
