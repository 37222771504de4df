#include "service/http/author_page.h"

namespace lyr::service {

namespace {

std::string escape_html(std::string_view s) {
  std::string out;
  for (char c : s) {
    switch (c) {
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '&':
        out += "&amp;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out.push_back(c);
    }
  }
  return out;
}

}  // namespace

std::string author_page(const LyricService& service, std::span<const std::string> libraries) {
  std::string page =
      "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\"><title>Lyrics finder</title>\n"
      "<style>body{font-family:sans-serif;max-width:40em;margin:2em auto;line-height:1.5}"
      "code{background:#eee;padding:0 .2em}</style></head><body>\n"
      "<h1>Lyrics finder</h1>\n"
      "<p>A small desktop tool that finds song lyrics: type a title and/or an artist, press search, "
      "double-click a hit to read its lyric and see its album cover, right-click it to save the "
      "<code>.lrc</code> file next to the program.</p>\n"
      "<h2>This lyric service</h2>\n<p>It answers the finder from ";
  page += std::to_string(service.library()->size());
  page += " songs in these libraries:</p>\n<ul>\n";
  for (const auto& dir : libraries) page += "<li><code>" + escape_html(dir) + "</code></li>\n";
  page += "</ul>\n";
  if (const UpstreamClient* up = service.upstream())
    page += "<p>Songs it does not hold are looked up in the online database at <code>" +
            escape_html(up->url()) + "</code>.</p>\n";
  page +=
      "<p>Interface: <code>/api/lyric/&lt;title&gt;/&lt;artist&gt;</code>, "
      "<code>/api/cover/&lt;id&gt;</code>, "
      "<code>/lrc/&lt;id&gt;.lrc</code>, <code>/cover/&lt;id&gt;.&lt;ext&gt;</code>; for music players, the "
      "LRCLIB interface: <code>/api/get</code>, <code>/api/get/&lt;id&gt;</code>, "
      "<code>/api/search</code>.</p>\n"
      "<p>Serve your own folders with <code>lyric-service --library ~/Music</code>.</p>\n</body></html>\n";
  return page;
}

}  // namespace lyr::service
