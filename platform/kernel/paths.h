// Conversion between the program's path form and the system's.
// Program form: backslash separators, text in the ANSI code page (GB18030), as the program's
// own strings hold it. System form: `/` separators, UTF-8, as Linux file names are stored.
// Contract:
// - to_system accepts `\` and `/` alike. A drive prefix "X:" followed by a separator is dropped
//   (the single drive's root is the file system root: "C:\a\b" -> "/a/b"); "X:" without a
//   separator is drive-relative and means the current directory ("C:a" -> "a"). Bytes that are
//   not valid GB18030 become U+FFFD.
// - to_program turns `/` into `\` and UTF-8 into GB18030 (no drive prefix is added, so
//   "/a/b" -> "\a\b"). Invalid UTF-8 becomes "?".
// - Neither ever fails; the empty path stays empty.
#pragma once

#include <string>
#include <string_view>

namespace platform::paths {

std::string to_system(std::string_view program_path);
std::string to_program(std::string_view system_path);

// The executable's full path and directory in system form (no trailing separator for the
// directory, "/" for an executable in the root).
const std::string& executable_path();
std::string executable_directory();

}  // namespace platform::paths
