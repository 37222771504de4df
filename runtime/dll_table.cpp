#include "runtime/dll_table.h"

#include <charconv>
#include <cstdio>

#include "platform/api/kernel.h"
#include "runtime/messages.h"

namespace runtime {
namespace {

HMODULE platform_load(LPCSTR name) {
  return LoadLibraryA(name);
}
FARPROC platform_find(HMODULE module, LPCSTR name) {
  return GetProcAddress(module, name);
}
BOOL platform_free(HMODULE module) {
  return FreeLibrary(module);
}

bool is_empty(const char* s) {
  return s == nullptr || *s == '\0';
}

std::string format_error(const char* file, const char* name) {
  const char* shown_name = name != nullptr ? name : "";
  char buffer[1024];
  if (is_empty(file)) {
    std::snprintf(buffer, sizeof buffer, messages::kDllExportMissingSystem, shown_name);
  } else {
    std::snprintf(buffer, sizeof buffer, messages::kDllExportMissing, file, shown_name);
  }
  return buffer;
}

}  // namespace

const ModuleApi& default_module_api() {
  static const ModuleApi api{platform_load, platform_find, platform_free};
  return api;
}

std::int32_t dll_ordinal(std::string_view name) {
  if (name.empty() || name.front() != '#') return -1;
  // Decimal digits after "#"; the value wraps like a 32-bit number and keeps its low 16 bits.
  std::uint32_t value = 0;
  for (char c : name.substr(1)) {
    if (c < '0' || c > '9') break;
    value = value * 10 + static_cast<std::uint32_t>(c - '0');
  }
  return static_cast<std::int32_t>(value & 0xFFFF);
}

void DllTable::assign(std::uint32_t count, const char* const* files, const char* const* names) {
  release();
  if (count == 0) return;
  slots_ = std::make_unique<Slot[]>(count);
  count_ = count;
  for (std::uint32_t i = 0; i < count; ++i) {
    slots_[i].file = files != nullptr ? files[i] : nullptr;
    slots_[i].name = names != nullptr ? names[i] : nullptr;
  }
}

void DllTable::set_program_directory(std::string_view dir, std::string_view dir_with_separator) {
  dir_ = dir;
  dir_with_separator_ = dir_with_separator;
}

FARPROC DllTable::find(HMODULE module, const char* name) const {
  if (module == nullptr || is_empty(name)) return nullptr;
  std::int32_t ordinal = dll_ordinal(name);
  if (ordinal >= 0) return api_->find(module, MAKEINTRESOURCEA(static_cast<WORD>(ordinal)));
  return api_->find(module, name);
}

HMODULE DllTable::load_candidate(const char* file) const {
  std::string_view name(file);
  if (name.find(':') == std::string_view::npos) {
    std::string in_dir = dir_ + "\\" + std::string(name);
    if (HMODULE m = api_->load(in_dir.c_str())) return m;
    if (!dir_with_separator_.empty()) {
      std::string with_separator = dir_with_separator_ + std::string(name);
      if (HMODULE m = api_->load(with_separator.c_str())) return m;
    }
  }
  return api_->load(file);
}

lyr::Result<void*> DllTable::resolve(std::uint32_t index) {
  if (api_ == nullptr) api_ = &default_module_api();
  if (index >= count_) return lyr::fail(format_error(nullptr, ""));
  Slot& slot = slots_[index];
  if (void* bound = slot.address.load()) return bound;

  HMODULE candidate = nullptr;
  FARPROC found = nullptr;
  if (is_empty(slot.file)) {
    for (const char* standard : kStandardModules) {
      HMODULE m = api_->load(standard);
      if (m == nullptr) continue;
      found = find(m, slot.name);
      if (found != nullptr) {
        candidate = m;
        break;
      }
      api_->free(m);
    }
  } else {
    candidate = load_candidate(slot.file);
    found = find(candidate, slot.name);
  }

  if (found == nullptr) {
    if (candidate != nullptr) api_->free(candidate);
    return lyr::fail(format_error(slot.file, slot.name));
  }
  void* address = reinterpret_cast<void*>(found);
  void* expected = nullptr;
  if (slot.address.compare_exchange_strong(expected, address)) {
    slot.module.store(candidate);
    return address;
  }
  api_->free(candidate);  // another thread bound it first
  return expected;
}

void DllTable::release() {
  if (api_ == nullptr) api_ = &default_module_api();
  for (std::uint32_t i = 0; i < count_; ++i) {
    if (HMODULE m = slots_[i].module.exchange(nullptr)) api_->free(m);
  }
  slots_.reset();
  count_ = 0;
}

}  // namespace runtime
