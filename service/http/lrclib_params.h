// The query parameters of the LRCLIB interface, checked. Values arrive percent-decoded; like the
// finder's keywords they may be UTF-8 or GBK bytes. A failure's reason is the message of the
// 400 "ValidationError" reply.
// - /api/get: track_name and artist_name required, album_name optional, duration optional and
//   a number of seconds from 1 to 3600.
// - /api/search: q or track_name required; artist_name and album_name optional.
// - /api/get/<id>: an id of 1 to 16 digits.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

#include "service/core/result.h"
#include "service/core/track.h"

namespace lyr::service {

using QueryParams = std::multimap<std::string, std::string>;

Result<TrackQuery> track_query(const QueryParams& params);
Result<TrackSearch> track_search(const QueryParams& params);
Result<std::uint64_t> track_id_param(std::string_view text);

}  // namespace lyr::service
