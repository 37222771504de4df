// Reading an LRCLIB database's replies, bytes that come from another machine. A reply is read as
// a stream of JSON events, never built into a document: what it costs is bounded by its size
// alone, however it is shaped. Only the track fields are kept; a value nested deeper than
// kMaxReplyDepth fails the whole reply, and a search keeps its first kMaxReplyRecords records.
// A record is an object with a positive integer "id"; a field of the wrong type counts as
// absent, and of a repeated field the last one counts, as in a JSON document.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "service/core/result.h"
#include "service/core/track.h"

namespace lyr::service {

// A search reply nests records in an array and, in LRCLIB's, goes no deeper.
inline constexpr std::size_t kMaxReplyDepth = 16;
// More than any caller keeps of one search.
inline constexpr std::size_t kMaxReplyRecords = 200;

// A JSON array of records; the elements that are no record are left out.
Result<std::vector<Track>> parse_upstream_search(std::string_view body);
// One record.
Result<Track> parse_upstream_record(std::string_view body);

}  // namespace lyr::service
