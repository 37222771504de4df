#include "service/options.h"

#include <charconv>
#include <string_view>

namespace lyr::service {

namespace {

Result<long long> whole_number(std::string_view s) {
  long long v = 0;
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  if (s.empty() || ec != std::errc() || end != s.data() + s.size()) return fail("a number");
  return v;
}

Result<double> number(std::string_view s) {
  double v = 0;
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  if (s.empty() || ec != std::errc() || end != s.data() + s.size()) return fail("a number");
  return v;
}

}  // namespace

Result<int> checked_port(long long value) {
  if (value < 0 || value > 65535) return fail("a number from 0 to 65535");
  return static_cast<int>(value);
}

Result<int> checked_threads(long long value) {
  if (value < 1 || value > 1024) return fail("a number from 1 to 1024");
  return static_cast<int>(value);
}

Result<std::chrono::milliseconds> checked_timeout(double seconds) {
  if (!(seconds > 0) || seconds > 600) return fail("seconds above 0, at most 600");
  return std::chrono::milliseconds(static_cast<long long>(seconds * 1000));
}

Options apply(Options o, const OptionLayer& layer) {
  if (layer.bind) o.bind = *layer.bind;
  if (layer.port) o.port = *layer.port;
  if (layer.libraries) o.libraries = *layer.libraries;
  if (layer.upstream) o.upstream = *layer.upstream;
  if (layer.upstream_timeout) o.upstream_timeout = *layer.upstream_timeout;
  if (layer.threads) o.threads = *layer.threads;
  return o;
}

const char* usage() {
  return "usage: lyric-service [--library DIR]... [--port N] [--bind ADDRESS] [--upstream URL]\n"
         "                     [--upstream-timeout SECONDS] [--threads N] [--config FILE]\n"
         "  --library DIR       serve the .lrc and audio files under DIR (repeatable);\n"
         "                      without one, the bundled sample library and, installed,\n"
         "                      the finder's downloads, ~/.local/share/lyrics-finder\n"
         "  --port N            listen on port N (default 47610)\n"
         "  --bind ADDRESS      listen on ADDRESS (default 127.0.0.1)\n"
         "  --upstream URL      also ask an LRCLIB-compatible lyric database, e.g. https://lrclib.net\n"
         "  --upstream-timeout  give up on the database after this many seconds (default 3)\n"
         "  --threads N         serve N requests at once (default 16)\n"
         "  --config FILE       read settings from FILE instead of\n"
         "                      $XDG_CONFIG_HOME/lyric-service/config.toml; options given here win\n";
}

Result<CommandLine> parse_command_line(int argc, char** argv) {
  CommandLine cl;
  OptionLayer& o = cl.options;
  auto wants = [](std::string_view option, const std::string& reason) {
    return fail(std::string(option) + " wants " + reason);
  };
  for (int i = 1; i < argc; ++i) {
    std::string_view arg = argv[i];
    if (arg == "-h" || arg == "--help") {
      cl.help = true;
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
      if (!o.libraries) o.libraries.emplace();
      o.libraries->emplace_back(value);
    } else if (arg == "--port") {
      auto port = whole_number(value);
      auto checked = checked_port(port ? port.value() : -1);
      if (!checked) return wants(arg, checked.error());
      o.port = checked.value();
    } else if (arg == "--bind") {
      o.bind = value;
    } else if (arg == "--upstream") {
      o.upstream = value;
    } else if (arg == "--upstream-timeout") {
      auto seconds = number(value);
      auto timeout = checked_timeout(seconds ? seconds.value() : -1);
      if (!timeout) return wants(arg, timeout.error());
      o.upstream_timeout = timeout.value();
    } else if (arg == "--threads") {
      auto threads = whole_number(value);
      auto checked = checked_threads(threads ? threads.value() : 0);
      if (!checked) return wants(arg, checked.error());
      o.threads = checked.value();
    } else if (arg == "--config") {
      if (value.empty()) return fail("--config needs a file");
      cl.config = value;
    } else {
      return fail("unknown option " + std::string(arg));
    }
  }
  return cl;
}

}  // namespace lyr::service
