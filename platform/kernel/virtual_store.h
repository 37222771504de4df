// The per-user store for a program folder the user may not write (an installed copy).
// Contract:
// - The program folder is the executable's directory. It counts as read-only when the effective
//   user may not write it (faccessat W_OK with AT_EACCESS, so a read-only file system counts too)
//   or when LYRICS_READONLY_PROGRAM_FOLDER is set to anything but "" or "0" (tests run as root,
//   who may write anywhere). A writable folder (a portable copy, the build folder) changes nothing:
//   every function below hands back the path it was given.
// - Otherwise a path inside the program folder has a mirror: the same relative path under
//   $XDG_DATA_HOME/<executable's name> (an absolute XDG_DATA_HOME only; else ~/.local/share), so
//   ~/.local/share/lyrics-finder for the finder. Writes go
//   to the mirror; reads, deletes and the source of a rename take the mirror's entry when it
//   exists and the program folder's otherwise.
// - Paths are in system form; relative ones are taken from the current directory, and links on
//   the existing part are followed. The program folder itself is not redirected, only what lies
//   inside it; a search of the folder lists both (mirror_of_folder).
// - for_write creates the mirror's folders down to the target's parent, but only when that parent
//   exists in the program folder or the mirror: a write into a missing folder still fails as one.
//   When the mirror cannot be made (no home, no permission) the mirror path is still answered, and
//   the operation on it reports the failure.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform::kernel::virtual_store {

// The mirror path of `path` when the store is in use and `path` lies inside the program folder.
std::optional<std::string> mirror_of(std::string_view path);

// The mirror of the folder `dir` when the store is in use and `dir` is the program folder or lies
// inside it.
std::optional<std::string> mirror_of_folder(std::string_view dir);

// Where a write to `path` goes; see above for the folders it creates.
std::string for_write(std::string_view path);

// Where a read (or delete, or rename's source) of `path` looks: the mirror's entry if it has one.
std::string for_read(std::string_view path);

// The rule without the environment, for tests: the mirror path of `path` under `mirror_root`
// when `path` (absolute, system form) lies strictly inside `program_folder`, lexically.
std::optional<std::string> mirror_path(std::string_view path, std::string_view program_folder,
                                       std::string_view mirror_root);

}  // namespace platform::kernel::virtual_store
