#include "service/options.h"

#include <charconv>
#include <string_view>

namespace lyr::service {

namespace {

bool to_int(std::string_view s, int lo, int hi, int& out) {
  int v = 0;
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  if (ec != std::errc() || end != s.data() + s.size() || v < lo || v > hi) return false;
  out = v;
  return true;
}

bool to_seconds(std::string_view s, std::chrono::milliseconds& out) {
  double v = 0;
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  if (ec != std::errc() || end != s.data() + s.size() || !(v > 0) || v > 600) return false;
  out = std::chrono::milliseconds(static_cast<long long>(v * 1000));
  return true;
}

}  // namespace

const char* usage() {
  return "usage: lyric-service [--library DIR]... [--port N] [--bind ADDRESS] [--upstream URL]\n"
         "                     [--upstream-timeout SECONDS] [--threads N]\n"
         "  --library DIR       serve the .lrc and audio files under DIR (repeatable);\n"
         "                      without one, the bundled sample library\n"
         "  --port N            listen on port N (default 47610)\n"
         "  --bind ADDRESS      listen on ADDRESS (default 127.0.0.1)\n"
         "  --upstream URL      also ask an LRCLIB-compatible lyric database, e.g. https://lrclib.net\n"
         "  --upstream-timeout  give up on the database after this many seconds (default 3)\n"
         "  --threads N         serve N requests at once (default 16)\n";
}

Result<Options> parse_options(int argc, char** argv) {
  Options o;
  auto fail = [](std::string why) { return Result<Options>::failure(std::move(why)); };
  for (int i = 1; i < argc; ++i) {
    std::string_view arg = argv[i];
    if (arg == "-h" || arg == "--help") {
      o.help = true;
      continue;
    }
    std::string_view value;
    std::size_t eq = arg.find('=');
    if (arg.starts_with("--") && eq != std::string_view::npos) {
      value = arg.substr(eq + 1);
      arg = arg.substr(0, eq);
    } else if (arg.starts_with("--")) {
      if (i + 1 >= argc) return fail(std::string(arg) + " needs a value");
      value = argv[++i];
    } else {
      return fail("unexpected argument '" + std::string(arg) + "'");
    }
    if (arg == "--library") {
      if (value.empty()) return fail("--library needs a folder");
      o.libraries.emplace_back(value);
    } else if (arg == "--port") {
      if (!to_int(value, 0, 65535, o.port)) return fail("--port wants a number from 0 to 65535");
    } else if (arg == "--bind") {
      o.bind = value;
    } else if (arg == "--upstream") {
      o.upstream = value;
    } else if (arg == "--upstream-timeout") {
      if (!to_seconds(value, o.upstream_timeout)) return fail("--upstream-timeout wants seconds above 0");
    } else if (arg == "--threads") {
      if (!to_int(value, 1, 1024, o.threads)) return fail("--threads wants a number from 1 to 1024");
    } else {
      return fail("unknown option " + std::string(arg));
    }
  }
  return o;
}

}  // namespace lyr::service
