#include "service/http/track_json.h"

#include <charconv>

#include "service/http/json_string.h"

namespace lyr::service {

namespace {

void append_text(std::string& out, const char* key, std::string_view value) {
  out += key;
  append_json_string(out, value, Quote::escaped);
}

void append_optional(std::string& out, const char* key, const std::optional<std::string>& value) {
  if (value)
    append_text(out, key, *value);
  else
    out.append(key).append("null");
}

// Seconds as LRCLIB writes them: a whole number still shows its ".0".
void append_seconds(std::string& out, double seconds) {
  char buf[32];
  auto [end, ec] = std::to_chars(buf, buf + sizeof buf, seconds);
  std::string_view text(buf, ec == std::errc() ? static_cast<std::size_t>(end - buf) : 0);
  out += text.empty() ? "null" : text;
  if (!text.empty() && text.find_first_of(".e") == std::string_view::npos) out += ".0";
}

void append_track(std::string& out, const Track& t) {
  out += "{\"id\":";
  out += std::to_string(t.id);
  append_text(out, ",\"name\":", t.title);
  append_text(out, ",\"trackName\":", t.title);
  append_text(out, ",\"artistName\":", t.artist);
  append_text(out, ",\"albumName\":", t.album);
  out += ",\"duration\":";
  if (t.duration)
    append_seconds(out, *t.duration);
  else
    out += "null";
  out += t.instrumental ? ",\"instrumental\":true" : ",\"instrumental\":false";
  append_optional(out, ",\"plainLyrics\":", t.plain);
  append_optional(out, ",\"syncedLyrics\":", t.synced);
  out += '}';
}

std::size_t size_hint(const Track& t) {
  return 160 + 2 * t.title.size() + t.artist.size() + t.album.size() + (t.plain ? t.plain->size() : 0) +
         (t.synced ? t.synced->size() : 0);
}

}  // namespace

std::string track_json(const Track& track) {
  std::string out;
  out.reserve(size_hint(track));
  append_track(out, track);
  return out;
}

std::string tracks_json(std::span<const Track> tracks) {
  std::string out;
  std::size_t size = 2;
  for (const Track& t : tracks) size += size_hint(t);
  out.reserve(size);
  out += '[';
  for (const Track& t : tracks) {
    if (out.size() > 1) out += ',';
    append_track(out, t);
  }
  out += ']';
  return out;
}

std::string error_json(int status, std::string_view name, std::string_view message) {
  std::string out;
  append_text(out, "{\"message\":", message);
  append_text(out, ",\"name\":", name);
  out += ",\"statusCode\":" + std::to_string(status) + "}";
  return out;
}

}  // namespace lyr::service
