// The command line of lyric-service.
#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "service/result.h"

namespace lyr::service {

inline constexpr int kDefaultPort = 47610;

struct Options {
  std::string bind = "127.0.0.1";
  int port = kDefaultPort;
  std::vector<std::string> libraries;  // empty: the bundled sample library
  std::string upstream;                // empty: none
  std::chrono::milliseconds upstream_timeout{3000};
  int threads = 16;
  bool help = false;
};

Result<Options> parse_options(int argc, char** argv);
const char* usage();

}  // namespace lyr::service
