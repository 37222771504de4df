#include "service/http/lrclib_params.h"

#include <charconv>
#include <cmath>

#include "service/text/lyric_encoding.h"

namespace lyr::service {

namespace {

std::string_view trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

// A parameter as UTF-8 text, empty when absent.
Result<std::string> text(const QueryParams& params, const std::string& name) {
  auto it = params.find(name);
  if (it == params.end()) return std::string();
  auto decoded = utf8_from_unknown(trim(it->second));
  if (!decoded) return fail(name + " is not text");
  return std::move(decoded.value());
}

Result<std::string> required(const QueryParams& params, const std::string& name) {
  SERVICE_TRY_ASSIGN(std::string value, text(params, name));
  if (value.empty()) return fail(name + " is required");
  return value;
}

Result<std::optional<double>> duration(const QueryParams& params) {
  auto it = params.find("duration");
  if (it == params.end()) return std::optional<double>();
  std::string_view s = trim(it->second);
  double v = 0;
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  if (s.empty() || ec != std::errc() || end != s.data() + s.size() || !std::isfinite(v) || v < 1 || v > 3600)
    return fail("duration must be a number of seconds from 1 to 3600");
  return std::optional<double>(v);
}

}  // namespace

Result<TrackQuery> track_query(const QueryParams& params) {
  TrackQuery q;
  SERVICE_TRY_ASSIGN(q.title, required(params, "track_name"));
  SERVICE_TRY_ASSIGN(q.artist, required(params, "artist_name"));
  SERVICE_TRY_ASSIGN(q.album, text(params, "album_name"));
  SERVICE_TRY_ASSIGN(q.duration, duration(params));
  return q;
}

Result<TrackSearch> track_search(const QueryParams& params) {
  TrackSearch s;
  SERVICE_TRY_ASSIGN(s.text, text(params, "q"));
  SERVICE_TRY_ASSIGN(s.title, text(params, "track_name"));
  SERVICE_TRY_ASSIGN(s.artist, text(params, "artist_name"));
  SERVICE_TRY_ASSIGN(s.album, text(params, "album_name"));
  if (s.text.empty() && s.title.empty()) return fail("q or track_name is required");
  return s;
}

Result<std::uint64_t> track_id_param(std::string_view text) {
  std::uint64_t id = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), id);
  if (text.empty() || text.size() > 16 || ec != std::errc() || end != text.data() + text.size() || id == 0)
    return fail("the id must be a positive number");
  return id;
}

}  // namespace lyr::service
