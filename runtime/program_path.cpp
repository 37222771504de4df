#include "runtime/program_path.h"

#include "platform/api/kernel.h"

namespace runtime {

ProgramPath split_program_path(std::string_view path) {
  std::size_t slash = path.rfind('\\');
  if (slash == std::string_view::npos) return {std::string(), std::string(path)};
  return {std::string(path.substr(0, slash)), std::string(path.substr(slash + 1))};
}

std::string program_module_path() {
  char buffer[MAX_PATH] = {};
  DWORD n = GetModuleFileNameA(nullptr, buffer, MAX_PATH);
  if (n >= MAX_PATH) n = MAX_PATH - 1;
  return std::string(buffer, n);
}

}  // namespace runtime
