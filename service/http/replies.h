// The JSON the finder reads. It cuts values out of these texts with fixed byte markers instead of
// parsing them, so the spacing is part of the contract: '"count": N, "code": 0' with "count"
// first, '{"aid": N, ' opening each hit, '"lrc": "<url>"' and '"cover": "<url>"'. A string value
// never holds a '"' (it is written \u0022), so no title can forge or break a marker.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "service/catalog/lyric_service.h"

namespace lyr::service {

std::string lyric_reply(std::span<const SearchHit> hits, std::string_view base_url);
std::string cover_reply(const std::optional<std::string>& cover_url);

std::string lyric_url(std::string_view base_url, std::uint64_t aid);
std::string cover_url(std::string_view base_url, std::uint64_t aid, std::string_view ext);

}  // namespace lyr::service
