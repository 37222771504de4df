#include "service/http/request_path.h"

#include "service/text/lyric_encoding.h"

namespace lyr::service {

namespace {
int hex(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}
}  // namespace

std::optional<std::string> decode_part(std::string_view raw) {
  std::string bytes;
  bytes.reserve(raw.size());
  for (std::size_t i = 0; i < raw.size(); ++i) {
    if (raw[i] != '%') {
      bytes.push_back(raw[i]);
      continue;
    }
    if (i + 2 >= raw.size() || hex(raw[i + 1]) < 0 || hex(raw[i + 2]) < 0) return std::nullopt;
    bytes.push_back(static_cast<char>(hex(raw[i + 1]) * 16 + hex(raw[i + 2])));
    i += 2;
  }
  auto text = utf8_from_unknown(bytes);
  if (!text) return std::nullopt;
  return std::move(text.value());
}

std::string_view target_path(std::string_view target) {
  return target.substr(0, target.find_first_of("?#"));
}

std::optional<LyricQuery> parse_lyric_query(std::string_view rest) {
  std::size_t slash = rest.find('/');
  auto title = decode_part(rest.substr(0, slash));
  if (!title) return std::nullopt;
  LyricQuery q{std::move(*title), {}};
  if (slash != std::string_view::npos) {
    auto artist = decode_part(rest.substr(slash + 1));
    if (!artist) return std::nullopt;
    q.artist = std::move(*artist);
  }
  return q;
}

std::optional<std::uint64_t> parse_id(std::string_view digits) {
  if (digits.empty() || digits.size() > 18) return std::nullopt;
  std::uint64_t v = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
    v = v * 10 + static_cast<std::uint64_t>(c - '0');
  }
  return v;
}

std::optional<std::uint64_t> parse_id_file(std::string_view name, std::string_view want_ext,
                                           std::string* ext) {
  std::size_t dot = name.find('.');
  if (dot == std::string_view::npos) return std::nullopt;
  std::string_view e = name.substr(dot + 1);
  if (!want_ext.empty() && e != want_ext) return std::nullopt;
  if (ext) *ext = e;
  return parse_id(name.substr(0, dot));
}

}  // namespace lyr::service
