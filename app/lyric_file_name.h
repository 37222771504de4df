// The name a downloaded lyric is saved under: title + " - " + artist + ".lrc", made safe to put
// in the program's folder.
// Contract:
// - Both path separators, control characters and the characters that common removable file
//   systems refuse (: * ? " < > |) become '_', in the name only; double-byte characters pass
//   whole. The name then has no folder part and, ending in ".lrc", is never "." or "..".
// - A name whose UTF-8 form would pass kMaxNameBytes is cut on a character boundary: the title
//   first, so " - artist.lrc" stays whole where it fits on its own; else the artist too.
// - Text in the system code page in and out.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace app {

// The longest file name the usual Linux file systems take, in bytes of UTF-8.
inline constexpr std::size_t kMaxNameBytes = 255;

std::string lyric_file_name(std::string_view title, std::string_view artist);

}  // namespace app
