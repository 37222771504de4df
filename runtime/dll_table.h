// DLL commands: lazy binding of the routines that the program image declares by DLL file name
// and export name, numbered from 0.
// Contract:
// - resolve(i) answers the bound address of declaration i, binding it on first use; a bound slot
//   is answered again without loading anything. A failure's error is the message to report
//   (GB18030); the caller turns that into the runtime error.
// - An export name "#n" binds ordinal n modulo 65536.
// - File name empty or null: the standard modules are tried in order; each that lacks the
//   export is freed again. A name without ":" is tried as program directory + "\" + name, then
//   program directory with separator + name, then the bare name (the platform's own search);
//   a name with ":" only as given. The first module that loads is the only candidate.
// - An index outside the table is a failure with the missing-export message of an empty name.
// - release() frees every held module and empties the table.
// Loading goes through a ModuleApi so that the search can be observed; default_module_api()
// is the platform's LoadLibraryA / GetProcAddress / FreeLibrary.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/api/types.h"
#include "platform/kernel/result.h"

namespace runtime {

struct ModuleApi {
  HMODULE (*load)(LPCSTR name);
  FARPROC (*find)(HMODULE module, LPCSTR name_or_ordinal);
  BOOL (*free)(HMODULE module);
};

const ModuleApi& default_module_api();

// The standard modules searched for an empty DLL file name. On this platform the system's own
// functions live in the program itself (the kernel serves "Kernel32.dll" as the program), and
// the platform's only real system libraries are ole32 and urlmon.
inline constexpr const char* kStandardModules[] = {"Kernel32.dll", "ole32.dll", "urlmon.dll"};

class DllTable {
 public:
  // Copies the declarations (pointers into the image, which outlives the table).
  void assign(std::uint32_t count, const char* const* files, const char* const* names);
  void set_program_directory(std::string_view dir, std::string_view dir_with_separator);
  void set_module_api(const ModuleApi* api) { api_ = api; }

  lyr::Result<void*> resolve(std::uint32_t index);
  void release();

  std::size_t size() const { return count_; }
  HMODULE module(std::uint32_t index) const { return index < count_ ? slots_[index].module.load() : nullptr; }

 private:
  // A worker and the main thread may bind the same slot at once: the slot words are atomic and
  // the thread that loses the race frees its extra module reference.
  struct Slot {
    const char* file = nullptr;
    const char* name = nullptr;
    std::atomic<void*> address{nullptr};
    std::atomic<HMODULE> module{nullptr};
  };
  HMODULE load_candidate(const char* file) const;
  FARPROC find(HMODULE module, const char* name) const;

  std::unique_ptr<Slot[]> slots_;
  std::uint32_t count_ = 0;
  std::string dir_;
  std::string dir_with_separator_;
  const ModuleApi* api_ = nullptr;
};

// The ordinal named by "#n" (n modulo 65536), or -1 when the name isn't of that form.
std::int32_t dll_ordinal(std::string_view name);

}  // namespace runtime
