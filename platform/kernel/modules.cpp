// Dynamic libraries on dlopen, and the program's own module.
#include <dlfcn.h>
#include <link.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstring>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/api/kernel.h"
#include "platform/kernel/paths.h"

namespace {

// Modules the program may ask for by name whose functions this program carries itself.
constexpr std::array<std::string_view, 10> kSelfModules = {"kernel32", "user32",   "gdi32",    "advapi32",
                                                           "shell32",  "comctl32", "comdlg32", "oleaut32",
                                                           "ntdll",    "msvcrt"};

struct Registry {
  std::mutex mutex;
  std::unordered_map<void*, long> references;  // dlopen handle -> our load count
};

Registry& registry() {
  static Registry* r = new Registry();  // outlives static destructors of late unloaders
  return *r;
}

void* program_module() {
  static void* self = dlopen(nullptr, RTLD_NOW);
  return self;
}

std::string lower(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

struct Candidates {
  std::vector<std::string> files;
  std::string stem;  // lower-case name without directory and extension
};

// The names tried for a module name, in order: "X.dll" as given, then "libx.so" beside it; a bare
// name first in the program's directory, then by the system search.
Candidates candidates_for(std::string_view name) {
  Candidates c;
  std::string path = platform::paths::to_system(name);
  std::size_t slash = path.rfind('/');
  std::string dir = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
  std::string file = slash == std::string::npos ? path : path.substr(slash + 1);
  if (file.empty()) return c;
  if (file.find('.') == std::string::npos) file += ".dll";  // no extension means a DLL
  if (file.back() == '.') file.pop_back();                  // a trailing dot means "no extension"
  std::string alt;
  std::string lowered = lower(file);
  if (lowered.size() > 4 && lowered.ends_with(".dll")) {
    c.stem = lowered.substr(0, lowered.size() - 4);
    alt = "lib" + c.stem + ".so";
  } else {
    c.stem = lowered.substr(0, lowered.rfind('.'));
  }
  if (!dir.empty()) {
    c.files.push_back(dir + file);
    if (!alt.empty()) c.files.push_back(dir + alt);
    return c;
  }
  std::string program_dir = platform::paths::executable_directory();
  if (!program_dir.empty() && program_dir.back() != '/') program_dir += '/';
  c.files.push_back(program_dir + file);
  if (!alt.empty()) c.files.push_back(program_dir + alt);
  c.files.push_back(file);
  if (!alt.empty()) c.files.push_back(alt);
  return c;
}

bool is_self_module(const Candidates& c) {
  return std::find(kSelfModules.begin(), kSelfModules.end(), c.stem) != kSelfModules.end();
}

bool is_registered(void* handle) {
  if (handle && handle == program_module()) return true;
  Registry& r = registry();
  std::lock_guard guard(r.mutex);
  return r.references.count(handle) != 0;
}

}  // namespace

extern "C" HMODULE WINAPI LoadLibraryA(LPCSTR name) {
  Candidates c = name ? candidates_for(name) : Candidates{};
  if (c.files.empty()) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
  }
  for (const std::string& file : c.files) {
    if (void* handle = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL)) {
      Registry& r = registry();
      std::lock_guard guard(r.mutex);
      ++r.references[handle];
      return static_cast<HMODULE>(handle);
    }
  }
  if (is_self_module(c) && program_module()) return static_cast<HMODULE>(program_module());
  SetLastError(ERROR_MOD_NOT_FOUND);
  return nullptr;
}

extern "C" BOOL WINAPI FreeLibrary(HMODULE module) {
  void* handle = module;
  if (handle && handle == program_module()) return TRUE;  // the program is never unloaded
  Registry& r = registry();
  {
    std::lock_guard guard(r.mutex);
    auto it = r.references.find(handle);
    if (it == r.references.end()) {
      SetLastError(ERROR_INVALID_HANDLE);
      return FALSE;
    }
    if (--it->second == 0) r.references.erase(it);
  }
  dlclose(handle);
  return TRUE;
}

// An ordinal n names the exported symbol "ordinal_<n>".
extern "C" FARPROC WINAPI GetProcAddress(HMODULE module, LPCSTR name) {
  if (!is_registered(module)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  if (!name) {
    SetLastError(ERROR_PROC_NOT_FOUND);
    return nullptr;
  }
  std::string symbol = IS_INTRESOURCE(name) ? "ordinal_" + std::to_string(reinterpret_cast<ULONG_PTR>(name))
                                            : std::string(name);
  void* address = dlsym(module, symbol.c_str());
  if (!address) {
    SetLastError(ERROR_PROC_NOT_FOUND);
    return nullptr;
  }
  return reinterpret_cast<FARPROC>(address);
}

extern "C" HMODULE WINAPI GetModuleHandleA(LPCSTR name) {
  if (!name) return static_cast<HMODULE>(program_module());
  Candidates c = candidates_for(name);
  for (const std::string& file : c.files) {
    if (void* handle = dlopen(file.c_str(), RTLD_NOW | RTLD_NOLOAD)) {
      dlclose(handle);  // NOLOAD still counted a reference
      if (is_registered(handle)) return static_cast<HMODULE>(handle);
    }
  }
  if (is_self_module(c)) return static_cast<HMODULE>(program_module());
  SetLastError(ERROR_MOD_NOT_FOUND);
  return nullptr;
}

extern "C" DWORD WINAPI GetModuleFileNameA(HMODULE module, LPSTR buffer, DWORD size) {
  std::string path;
  if (!module || module == program_module()) {
    path = platform::paths::executable_path();
  } else if (is_registered(module)) {
    link_map* map = nullptr;
    if (dlinfo(module, RTLD_DI_LINKMAP, &map) == 0 && map && map->l_name) path = map->l_name;
  } else {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return 0;
  }
  if (path.empty()) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return 0;
  }
  std::string text = platform::paths::to_program(path);
  if (!buffer || size == 0) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  if (text.size() < size) {
    std::memcpy(buffer, text.data(), text.size());
    buffer[text.size()] = '\0';
    return static_cast<DWORD>(text.size());
  }
  // Too small: as much as fits, terminated, and the buffer size as the answer.
  std::memcpy(buffer, text.data(), size - 1);
  buffer[size - 1] = '\0';
  SetLastError(ERROR_INSUFFICIENT_BUFFER);
  return size;
}
