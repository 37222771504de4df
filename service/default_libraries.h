// The library folders the service serves when neither the command line nor the config file names
// any. Contract:
// - Always the bundled sample library, the folder "sample-library" beside the executable.
// - An installed service (its executable in PREFIX/lib/lyric-service/, as the install lays it out)
//   adds the finder's downloads: $XDG_DATA_HOME/lyrics-finder (an absolute XDG_DATA_HOME only,
//   else $HOME/.local/share/lyrics-finder). That folder is made when missing, so lyrics saved
//   later are followed from the start; when it cannot be made it is left out. A service run from
//   its build folder serves the sample library alone.
// `executable` is the service's real path; the environment is read for the two variables.
#pragma once

#include <string>
#include <vector>

namespace lyr::service {

std::vector<std::string> default_libraries(const std::string& executable);

}  // namespace lyr::service
