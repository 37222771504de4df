// The config file: every setting it may give, the command line's precedence, faults reported
// with their place, and the program refusing to start on them.
#include <gtest/gtest.h>
#include <signal.h>

#include <algorithm>

#include "service/config_file.h"
#include "tests/service/support/service_fixture.h"

namespace service_test {
namespace {

using namespace lyr::service;
using namespace std::chrono_literals;

Result<Options> resolve(std::vector<std::string> args) {
  args.insert(args.begin(), "lyric-service");
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  SERVICE_TRY_ASSIGN(CommandLine command_line,
                     parse_command_line(static_cast<int>(argv.size()), argv.data()));
  return resolve_options(command_line);
}

TEST(ConfigFile, GivesEverySettingAndTheCommandLineWins) {
  TempDir dir;
  write_file(dir / "config.toml",
             "# the family's server\n"
             "library = [\"music\", \"/srv/lyrics\"]\n"
             "port = 8123\nbind = \"0.0.0.0\"\nupstream = \"https://lyrics.example/\"\n"
             "upstream-timeout = 1.5\nthreads = 4\n");
  auto file = resolve({"--config", dir / "config.toml"});
  ASSERT_TRUE(file) << file.error();
  EXPECT_EQ(file->libraries, (std::vector<std::string>{dir / "music", "/srv/lyrics"}));
  EXPECT_EQ(file->port, 8123);
  EXPECT_EQ(file->bind, "0.0.0.0");
  EXPECT_EQ(file->upstream, "https://lyrics.example/");
  EXPECT_EQ(file->upstream_timeout, 1500ms);
  EXPECT_EQ(file->threads, 4);

  auto both = resolve({"--config", dir / "config.toml", "--port", "9000", "--library", "/x", "--threads=2"});
  ASSERT_TRUE(both) << both.error();
  EXPECT_EQ(both->port, 9000);
  EXPECT_EQ(both->libraries, std::vector<std::string>{"/x"});  // replaced, not added to
  EXPECT_EQ(both->threads, 2);
  EXPECT_EQ(both->bind, "0.0.0.0");  // what the command line leaves, the file gives
}

TEST(ConfigFile, FaultsNameTheirPlace) {
  const std::pair<const char*, const char*> cases[] = {
      {"port = 80\nport = 81\n", ":2:8: "},  // TOML itself refuses a key given twice
      {"threads = 4\nbind = \n", ":2:8: "},
      {"port = \"80\"\n", ":1:8: port wants a whole number"},
      {"\n\nport = 70000\n", ":3:8: port wants a number from 0 to 65535"},
      {"threads = 0\n", ":1:11: threads wants a number from 1 to 1024"},
      {"upstream-timeout = -1\n", ":1:20: upstream-timeout wants seconds above 0, at most 600"},
      {"upstream-timeout = true\n", ":1:20: upstream-timeout wants a number of seconds"},
      {"upstream = \"ftp://x\"\n", ":1:12: upstream wants an http:// or https:// address"},
      {"library = [\"/a\", 1]\n", ":1:18: library wants folder names"},
      {"library = []\n", ":1:11: library wants at least one folder"},
      {"[server]\nport = 1\n", ":1:2: unknown setting 'server'"},
      {"colour = \"blue\"\n", ":1:1: unknown setting 'colour'"},
  };
  TempDir dir;
  for (const auto& [text, where] : cases) {
    write_file(dir / "config.toml", text);
    auto options = resolve({"--config", dir / "config.toml"});
    ASSERT_FALSE(options) << text;
    EXPECT_TRUE(options.error().starts_with(dir / "config.toml" + where)) << text << "\n" << options.error();
  }
  auto missing = resolve({"--config", dir / "none.toml"});
  ASSERT_FALSE(missing);
  EXPECT_EQ(missing.error(), dir / "none.toml" + ": No such file or directory");
}

TEST(ConfigFile, TheProgramReadsItsFileAndRefusesABadOne) {
  TempDir dir;
  write_file(dir / "music/Band - Song.lrc", "[00:01.00]hello\n");
  std::string id = std::to_string(LocalService({dir / "music"}).id_of(dir / "music/Band - Song.lrc"));
  const std::string env = "XDG_CONFIG_HOME=" + (dir / "xdg");
  int port = free_port();
  write_file(dir / "xdg/lyric-service/config.toml",
             "library = \"" + (dir / "music") + "\"\nport = " + std::to_string(port) + "\n");
  {
    ServiceProcess service({}, {env});
    ASSERT_TRUE(service.wait_answering(port)) << service.err();
    // The same id as in another process: ids survive restarts.
    httplib::Client client("127.0.0.1", port);
    auto res = client.Get("/api/get/" + id);
    ASSERT_TRUE(res);
    EXPECT_NE(res->body.find("hello"), std::string::npos) << res->body;
    EXPECT_EQ(service.stop(SIGTERM), 0);
  }
  {
    int other = free_port();
    ServiceProcess service({"--port", std::to_string(other)}, {env});
    ASSERT_TRUE(service.wait_answering(other)) << service.err();
    EXPECT_EQ(service.stop(SIGTERM), 0);
  }
  write_file(dir / "xdg/lyric-service/config.toml", "port = " + std::to_string(port) + "\nlibrary = [\n");
  ServiceProcess bad({}, {env});
  EXPECT_EQ(bad.wait_exit(), 2);
  std::string err = bad.err();
  EXPECT_TRUE(err.starts_with("lyric-service: " + (dir / "xdg/lyric-service/config.toml") + ":2:")) << err;
  EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
}

}  // namespace
}  // namespace service_test
