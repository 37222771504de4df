// A test that runs as an installed copy would: the program folder (the test binary's own) counts
// as one the user may not write, and the per-user store lies in a scratch XDG_DATA_HOME that is
// removed at the end. Names from unique() are this process's own, so tests running at the same
// time in the same folder never meet.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "platform/kernel/paths.h"
#include "tests/support/scoped_env.h"

namespace lyr::test {

class ReadOnlyProgramFolder {
 public:
  ReadOnlyProgramFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "store-test-XXXXXX").string();
    if (mkdtemp(pattern.data())) data_home_ = pattern;
    data_env_.emplace("XDG_DATA_HOME", data_home_.string());
    read_only_env_.emplace("LYRICS_READONLY_PROGRAM_FOLDER", "1");
  }
  ~ReadOnlyProgramFolder() {
    read_only_env_.reset();
    data_env_.reset();
    std::error_code ec;
    if (!data_home_.empty()) std::filesystem::remove_all(data_home_, ec);
  }
  ReadOnlyProgramFolder(const ReadOnlyProgramFolder&) = delete;
  ReadOnlyProgramFolder& operator=(const ReadOnlyProgramFolder&) = delete;

  static std::filesystem::path program_folder() { return platform::paths::executable_directory(); }
  // The store: XDG_DATA_HOME/<the executable's name>.
  std::filesystem::path mirror() const {
    return data_home_ / std::filesystem::path(platform::paths::executable_path()).filename();
  }
  static std::string unique(std::string_view stem) {
    return "store-test-" + std::to_string(getpid()) + "-" + std::string(stem);
  }
  // The store leaves the program folder as it was; set off to see a writable copy.
  void writable() { read_only_env_.reset(); }

 private:
  std::filesystem::path data_home_;
  std::optional<ScopedEnv> data_env_;
  std::optional<ScopedEnv> read_only_env_;
};

}  // namespace lyr::test
