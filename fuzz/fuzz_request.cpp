// A request target as a client sends it: the path parts the finder's routes read, and the query
// string as the LRCLIB routes see it once decoded. Every decoded part is valid UTF-8, and what a
// reply echoes of it is valid JSON.
#include <httplib.h>

#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

#include "fuzz/fuzz_check.h"
#include "service/http/json_string.h"
#include "service/http/lrclib_params.h"
#include "service/http/request_path.h"
#include "service/text/utf8.h"

using namespace lyr::service;

namespace {

void check_text(const std::string& s) {
  FUZZ_CHECK(valid_utf8(s));
  std::string quoted;
  append_json_string(quoted, s, Quote::escaped);
  auto doc = nlohmann::json::parse(quoted, nullptr, false);
  FUZZ_CHECK(doc.is_string() && doc.get<std::string>() == s);
}

void check_path(std::string_view target) {
  std::string_view path = target_path(target);
  FUZZ_CHECK(path.find_first_of("?#") == std::string_view::npos);
  if (auto q = parse_lyric_query(path)) {
    check_text(q->title);
    check_text(q->artist);
  }
  if (auto id = parse_id(path)) FUZZ_CHECK(id.value() < 1000000000000000000ull);
  std::string ext;
  if (auto id = parse_id_file(path, "", &ext)) FUZZ_CHECK(path.ends_with(ext));
  if (auto id = track_id_param(path)) FUZZ_CHECK(id.value() > 0);
}

void check_query(std::string_view target) {
  std::size_t mark = target.find('?');
  if (mark == std::string_view::npos) return;
  QueryParams params;
  httplib::detail::parse_query_text(std::string(target.substr(mark + 1)), params);
  if (auto q = track_query(params)) {
    FUZZ_CHECK(!q->title.empty() && !q->artist.empty());
    check_text(q->title);
    check_text(q->artist);
    check_text(q->album);
    if (q->duration) FUZZ_CHECK(*q->duration >= 1 && *q->duration <= 3600);
  } else {
    check_text(q.error());
  }
  if (auto s = track_search(params)) {
    FUZZ_CHECK(!s->text.empty() || !s->title.empty());
    check_text(s->text);
    check_text(s->title);
    check_text(s->artist);
    check_text(s->album);
  } else {
    check_text(s.error());
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view target(reinterpret_cast<const char*>(data), size);
  check_path(target);
  check_query(target);
  return 0;
}
