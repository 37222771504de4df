// Request targets and addresses as they go on the wire.
// Contract: ANSI (GB18030) text in, the same text out with every byte outside printable ASCII
// (and the space) sent as UTF-8 and percent-encoded; printable ASCII passes unchanged, so an
// address that is already encoded stays as it is.
#pragma once

#include <string>
#include <string_view>

namespace platform::inet {

std::string encode_for_wire(std::string_view ansi);

}  // namespace platform::inet
