// An upstream's reply body, as a search and as one record. A record read from it and written
// again as this service's own JSON reads back as the same track.
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

#include "fuzz/fuzz_check.h"
#include "service/http/track_json.h"
#include "service/upstream/upstream_reply.h"

using namespace lyr::service;

namespace {

void check_round_trip(const Track& t) {
  FUZZ_CHECK(t.id > 0);
  auto doc = nlohmann::json::parse(track_json(t), nullptr, false);
  FUZZ_CHECK(doc.is_object());
  auto again = parse_upstream_record(doc.dump());
  FUZZ_CHECK(again.ok());
  const Track& u = again.value();
  FUZZ_CHECK(u.id == t.id && u.title == t.title && u.artist == t.artist && u.album == t.album);
  FUZZ_CHECK(u.duration == t.duration && u.instrumental == t.instrumental);
  FUZZ_CHECK(u.plain == t.plain && u.synced == t.synced);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view body(reinterpret_cast<const char*>(data), size);
  if (auto tracks = parse_upstream_search(body))
    for (const Track& t : tracks.value()) check_round_trip(t);
  if (auto track = parse_upstream_record(body)) check_round_trip(track.value());
  return 0;
}
