// Song ids come from the song file's path alone, so a song keeps its id across restarts and
// rescans while its file stays where it is, whatever else changes in the library; clients cache
// them. Ids are 1..kLastLocalId, below 2^53 so that JavaScript clients read them exactly; ids
// above kLastLocalId are free for songs of the upstream.
#pragma once

#include <cstdint>
#include <string_view>

namespace lyr::service {

inline constexpr std::uint64_t kLastLocalId = std::uint64_t{1} << 52;

// The id of `path`; `attempt` > 0 gives the alternatives used when two paths meet on one id.
std::uint64_t track_id(std::string_view path, unsigned attempt = 0);

}  // namespace lyr::service
