#include "service/default_libraries.h"

#include <cstdlib>
#include <filesystem>

namespace lyr::service {
namespace {

namespace fs = std::filesystem;

bool absolute(const char* s) {
  return s && s[0] == '/';
}

bool installed(const fs::path& folder) {
  return folder.filename() == "lyric-service" && folder.parent_path().filename() == "lib";
}

// Where the finder keeps what it saves when its own folder is read-only; "" without a home.
fs::path downloads_folder() {
  if (const char* data = std::getenv("XDG_DATA_HOME"); absolute(data))
    return fs::path(data) / "lyrics-finder";
  if (const char* home = std::getenv("HOME"); absolute(home))
    return fs::path(home) / ".local/share/lyrics-finder";
  return {};
}

}  // namespace

std::vector<std::string> default_libraries(const std::string& executable) {
  const fs::path folder = fs::path(executable).parent_path();
  std::vector<std::string> libraries{(folder / "sample-library").string()};
  if (!installed(folder)) return libraries;
  fs::path downloads = downloads_folder();
  std::error_code ec;
  if (!downloads.empty() && (fs::create_directories(downloads, ec), fs::is_directory(downloads, ec)))
    libraries.push_back(downloads.lexically_normal().string());
  return libraries;
}

}  // namespace lyr::service
