// File searches. A search lists its directory once, at FindFirstFileA, and hands the matches
// out in name order ("." and ".." first), so files created meanwhile do not disturb it.
#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/api/kernel.h"
#include "platform/kernel/file_info.h"
#include "platform/kernel/objects.h"
#include "platform/kernel/paths.h"
#include "platform/kernel/virtual_store.h"
#include "platform/kernel/wildcard.h"

namespace platform::kernel {
namespace {

class FindObject final : public KernelObject {
 public:
  std::mutex mutex;
  std::vector<WIN32_FIND_DATAA> entries;
  std::size_t next = 0;
};

struct DirCloser {
  void operator()(DIR* d) const { closedir(d); }
};

bool stat_entry(const std::string& path, struct stat& st) {
  // A dangling link is still an entry of the folder.
  return stat(path.c_str(), &st) == 0 || lstat(path.c_str(), &st) == 0;
}

// Program-form name into the fixed field; false when it does not fit.
bool set_name(WIN32_FIND_DATAA& data, const std::string& name) {
  if (name.size() >= sizeof(data.cFileName)) return false;
  std::memcpy(data.cFileName, name.c_str(), name.size() + 1);
  return true;
}

int rank(const char* name) {
  if (std::strcmp(name, ".") == 0) return 0;
  if (std::strcmp(name, "..") == 0) return 1;
  return 2;
}

bool name_before(const WIN32_FIND_DATAA& a, const WIN32_FIND_DATAA& b) {
  int ra = rank(a.cFileName), rb = rank(b.cFileName);
  if (ra != rb) return ra < rb;
  int c = strcasecmp(a.cFileName, b.cFileName);
  return c != 0 ? c < 0 : std::strcmp(a.cFileName, b.cFileName) < 0;
}

bool listed(const std::vector<WIN32_FIND_DATAA>& entries, const std::string& name) {
  return std::any_of(entries.begin(), entries.end(),
                     [&](const WIN32_FIND_DATAA& e) { return name == e.cFileName; });
}

void add_entry(const struct stat& st, const std::string& name, std::vector<WIN32_FIND_DATAA>& entries) {
  if (listed(entries, name)) return;  // an earlier folder's entry hides it
  WIN32_FIND_DATAA entry;
  fill_find_data(st, name, entry);
  if (set_name(entry, name)) entries.push_back(entry);
}

// Adds the entries of `dir` that match; false when `dir` is no folder.
bool list_matches(const std::string& dir, const std::string& name_part, const std::string& name_pattern,
                  std::vector<WIN32_FIND_DATAA>& entries) {
  const std::string prefix = dir == "/" ? "/" : dir + "/";
  struct stat exact {};
  if (!has_wildcards(name_pattern) && stat_entry(prefix + name_part, exact)) {
    add_entry(exact, name_pattern, entries);
    return true;
  }
  // Wildcards, or a plain name in another case than on disk: scan the folder.
  std::unique_ptr<DIR, DirCloser> d(opendir(dir.c_str()));
  if (!d) return false;
  const bool root = dir == "/";
  while (dirent* e = readdir(d.get())) {
    std::string system_name = e->d_name;
    if (root && (system_name == "." || system_name == "..")) continue;  // a root has neither
    std::string name = platform::paths::to_program(system_name);
    if (!wildcard_match(name_pattern, name)) continue;
    struct stat st {};
    if (!stat_entry(prefix + system_name, st)) continue;  // vanished meanwhile
    add_entry(st, name, entries);
  }
  return true;
}

}  // namespace
}  // namespace platform::kernel

using namespace platform::kernel;

extern "C" HANDLE WINAPI FindFirstFileA(LPCSTR pattern, LPWIN32_FIND_DATAA data) {
  if (!pattern || !data) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return INVALID_HANDLE_VALUE;
  }
  std::string path = platform::paths::to_system(pattern);
  std::size_t slash = path.rfind('/');
  std::string dir = slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
  std::string name_part = slash == std::string::npos ? path : path.substr(slash + 1);
  if (name_part.empty()) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return INVALID_HANDLE_VALUE;
  }
  std::string name_pattern = platform::paths::to_program(name_part);

  auto search = std::make_shared<FindObject>();
  // In the per-user store the program folder's mirror is searched first; its entries hide the
  // folder's own of the same name, as reads find them.
  bool folder_found = false;
  if (std::optional<std::string> mirror = platform::kernel::virtual_store::mirror_of_folder(dir))
    folder_found = list_matches(*mirror, name_part, name_pattern, search->entries);
  if (list_matches(dir, name_part, name_pattern, search->entries)) folder_found = true;
  if (!folder_found) {
    SetLastError(ERROR_PATH_NOT_FOUND);
    return INVALID_HANDLE_VALUE;
  }
  std::sort(search->entries.begin(), search->entries.end(), name_before);
  if (search->entries.empty()) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return INVALID_HANDLE_VALUE;
  }
  *data = search->entries[0];
  search->next = 1;
  return KernelTable::instance().insert(search);
}

extern "C" BOOL WINAPI FindNextFileA(HANDLE handle, LPWIN32_FIND_DATAA data) {
  auto search = KernelTable::instance().lookup<FindObject>(handle);
  if (!search) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (!data) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::lock_guard guard(search->mutex);
  if (search->next >= search->entries.size()) {
    SetLastError(ERROR_NO_MORE_FILES);
    return FALSE;
  }
  *data = search->entries[search->next++];
  return TRUE;
}

extern "C" BOOL WINAPI FindClose(HANDLE handle) {
  KernelTable& table = KernelTable::instance();
  if (!table.lookup<FindObject>(handle) || !table.erase(handle)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  return TRUE;
}
