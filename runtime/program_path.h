// Splitting the program's own path (backslash form) into directory and file name.
// Contract: the directory is everything before the last backslash (empty when there is none),
// the file name everything after it (the whole path when there is none).
#pragma once

#include <string>
#include <string_view>

namespace runtime {

struct ProgramPath {
  std::string directory;
  std::string file;
};

ProgramPath split_program_path(std::string_view path);

// The program's own path as GetModuleFileNameA reports it (260-byte buffer).
std::string program_module_path();

}  // namespace runtime
