// The settings of lyric-service and where they come from: the built-in defaults, then the config
// file (config_file.h), then the command line. A later source wins field by field; a --library
// list replaces the file's list instead of adding to it.
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "service/core/result.h"

namespace lyr::service {

inline constexpr int kDefaultPort = 47610;

struct Options {
  std::string bind = "127.0.0.1";
  int port = kDefaultPort;
  std::vector<std::string> libraries;  // empty: service/default_libraries.h
  std::string upstream;                // empty: none
  std::chrono::milliseconds upstream_timeout{3000};
  int threads = 16;
};

// What one source gives; an empty field leaves the setting below it.
struct OptionLayer {
  std::optional<std::string> bind;
  std::optional<int> port;
  std::optional<std::vector<std::string>> libraries;
  std::optional<std::string> upstream;
  std::optional<std::chrono::milliseconds> upstream_timeout;
  std::optional<int> threads;
};

Options apply(Options options, const OptionLayer& layer);

struct CommandLine {
  OptionLayer options;
  std::optional<std::string> config;  // --config FILE
  bool help = false;
};

Result<CommandLine> parse_command_line(int argc, char** argv);
const char* usage();

// The checks both sources make; a failure reads "<name> wants <reason>".
Result<int> checked_port(long long value);
Result<int> checked_threads(long long value);
Result<std::chrono::milliseconds> checked_timeout(double seconds);

}  // namespace lyr::service
