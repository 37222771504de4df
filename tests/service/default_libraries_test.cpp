// Which folders the service serves when none is named: the installed copy adds the finder's
// downloads, the build folder's copy does not.
#include "service/default_libraries.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

#include "tests/service/support/service_fixture.h"
#include "tests/support/scoped_env.h"

namespace service_test {
namespace {

namespace fs = std::filesystem;
using lyr::service::default_libraries;
using lyr::test::ScopedEnv;

TEST(DefaultLibraries, AnInstalledServiceAddsTheFindersDownloads) {
  TempDir dir;
  const std::string installed = dir / "usr/lib/lyric-service/lyric-service";
  const std::string sample = dir / "usr/lib/lyric-service/sample-library";
  const std::string data = dir / "data";
  const std::string home = dir / "home";
  const struct {
    const char* what;
    std::string executable;
    std::optional<std::string> data_home, home;
    std::vector<std::string> libraries;
  } cases[] = {
      {"installed", installed, data, home, {sample, data + "/lyrics-finder"}},
      {"installed, default data home",
       installed,
       std::nullopt,
       home,
       {sample, home + "/.local/share/lyrics-finder"}},
      {"installed, relative data home",
       installed,
       "rel",
       home,
       {sample, home + "/.local/share/lyrics-finder"}},
      {"installed, no home", installed, std::nullopt, std::nullopt, {sample}},
      {"build folder", dir / "build/bin/lyric-service", data, home, {dir / "build/bin/sample-library"}},
      {"a folder merely named lyric-service",
       dir / "opt/lyric-service/lyric-service",
       data,
       home,
       {dir / "opt/lyric-service/sample-library"}},
  };
  for (const auto& c : cases) {
    fs::remove_all(dir.path() / "data");
    fs::remove_all(dir.path() / "home");
    ScopedEnv data_env("XDG_DATA_HOME", c.data_home);
    ScopedEnv home_env("HOME", c.home);
    EXPECT_EQ(default_libraries(c.executable), c.libraries) << c.what;
    // The downloads folder is made, so that the service follows it from the start.
    for (std::size_t i = 1; i < c.libraries.size(); ++i)
      EXPECT_TRUE(fs::is_directory(c.libraries[i])) << c.what;
  }
}

TEST(DefaultLibraries, ADownloadsFolderThatCannotBeMadeIsLeftOut) {
  TempDir dir;
  write_file(dir / "data", "a file where the folder should be");
  ScopedEnv data_env("XDG_DATA_HOME", dir / "data");
  EXPECT_EQ(default_libraries(dir / "lib/lyric-service/lyric-service"),
            std::vector<std::string>{dir / "lib/lyric-service/sample-library"});
}

}  // namespace
}  // namespace service_test
