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

Result<std::string> decode_part(std::string_view raw) {
  std::string bytes;
  bytes.reserve(raw.size());
  for (std::size_t i = 0; i < raw.size(); ++i) {
    if (raw[i] != '%') {
      bytes.push_back(raw[i]);
      continue;
    }
    if (i + 2 >= raw.size() || hex(raw[i + 1]) < 0 || hex(raw[i + 2]) < 0) return fail("a broken % escape");
    bytes.push_back(static_cast<char>(hex(raw[i + 1]) * 16 + hex(raw[i + 2])));
    i += 2;
  }
  return utf8_from_unknown(bytes);
}

std::string_view target_path(std::string_view target) {
  return target.substr(0, target.find_first_of("?#"));
}

Result<LyricQuery> parse_lyric_query(std::string_view rest) {
  std::size_t slash = rest.find('/');
  LyricQuery q;
  SERVICE_TRY_ASSIGN(q.title, decode_part(rest.substr(0, slash)));
  if (slash != std::string_view::npos) {
    SERVICE_TRY_ASSIGN(q.artist, decode_part(rest.substr(slash + 1)));
  }
  return q;
}

Result<std::uint64_t> parse_id(std::string_view digits) {
  if (digits.empty() || digits.size() > 18) return fail("an id of 1 to 18 digits");
  std::uint64_t v = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return fail("an id of 1 to 18 digits");
    v = v * 10 + static_cast<std::uint64_t>(c - '0');
  }
  return v;
}

Result<std::uint64_t> parse_id_file(std::string_view name, std::string_view want_ext, std::string* ext) {
  std::size_t dot = name.find('.');
  if (dot == std::string_view::npos) return fail("a file name without an extension");
  std::string_view e = name.substr(dot + 1);
  if (!want_ext.empty() && e != want_ext) return fail("another kind of file");
  if (ext) *ext = e;
  return parse_id(name.substr(0, dot));
}

}  // namespace lyr::service
