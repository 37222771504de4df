// A keyword as one segment of the lyric request's path.
// Contract: takes the keyword as typed (system code page) and answers it with '/', '?', '#' and
// '%' percent-encoded, and a keyword of only "." or ".." written as %2E escapes, so that the
// keyword can neither split the path, start a query or fragment, break an escape, nor be folded
// away as a dot segment. Everything else is left for the request object, which sends non-ASCII
// as percent-encoded UTF-8 and escapes blanks and quotes itself. Double-byte characters pass
// whole.
#pragma once

#include <string>
#include <string_view>

namespace app {

std::string keyword_segment(std::string_view keyword);

}  // namespace app
