// The config file: $XDG_CONFIG_HOME/lyric-service/config.toml ($HOME/.config/... when that is
// unset), or the file --config names. TOML, read with toml++; its keys are the command line's
// long options:
//   library = ["~/Music", "/srv/lyrics"]   # a string or an array; "~/" is the home folder, and
//                                          # a relative folder is relative to the file's folder
//   port = 47610
//   bind = "127.0.0.1"
//   upstream = "https://lrclib.net"        # "" for none
//   upstream-timeout = 3                   # seconds
//   threads = 16
// Any fault (TOML syntax, an unknown key, a wrong type, a value out of range, an unreadable file)
// is one failure "FILE:LINE:COLUMN: what" (without the position when there is none) and no
// settings at all: the service never starts half-configured.
#pragma once

#include <string>

#include "service/core/result.h"
#include "service/options.h"

namespace lyr::service {

// The default file's path from the environment; empty when neither variable helps.
std::string default_config_path();

Result<OptionLayer> read_config_file(const std::string& path);

// Defaults, then the config file (--config's, else the default one when it exists), then the
// command line.
Result<Options> resolve_options(const CommandLine& command_line);

}  // namespace lyr::service
