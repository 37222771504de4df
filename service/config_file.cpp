#include "service/config_file.h"

#include <toml++/toml.h>

#include <cstdlib>
#include <filesystem>

#include "service/library/file_bytes.h"
#include "service/upstream/upstream_client.h"

namespace lyr::service {

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kMaxConfigBytes = 1u << 20;

class Reader {
 public:
  explicit Reader(const std::string& path) : path_(path) {}

  Result<OptionLayer> read(const toml::table& root) {
    OptionLayer layer;
    for (const auto& [key, node] : root) {
      const std::string name(key.str());
      if (name == "library") {
        SERVICE_TRY_ASSIGN(layer.libraries, folders(node));
      } else if (name == "port") {
        SERVICE_TRY_ASSIGN(long long port, integer(name, node));
        SERVICE_TRY_ASSIGN(layer.port, checked(name, node, checked_port(port)));
      } else if (name == "threads") {
        SERVICE_TRY_ASSIGN(long long threads, integer(name, node));
        SERVICE_TRY_ASSIGN(layer.threads, checked(name, node, checked_threads(threads)));
      } else if (name == "upstream-timeout") {
        auto seconds = node.value<double>();
        if (!seconds || node.is_boolean()) return at(node, name + " wants a number of seconds");
        SERVICE_TRY_ASSIGN(layer.upstream_timeout, checked(name, node, checked_timeout(*seconds)));
      } else if (name == "bind") {
        SERVICE_TRY_ASSIGN(layer.bind, text(name, node));
        if (layer.bind->empty()) return at(node, "bind wants an address");
      } else if (name == "upstream") {
        SERVICE_TRY_ASSIGN(layer.upstream, text(name, node));
        if (!layer.upstream->empty() && !UpstreamClient(*layer.upstream, {}).valid())
          return at(node, "upstream wants an http:// or https:// address");
      } else {
        return at(key.source(), "unknown setting '" + name + "'");
      }
    }
    return layer;
  }

  Failure at(const toml::source_region& where, const std::string& what) const {
    if (where.begin.line == 0) return fail(path_ + ": " + what);
    return fail(path_ + ":" + std::to_string(where.begin.line) + ":" + std::to_string(where.begin.column) +
                ": " + what);
  }
  Failure at(const toml::node& node, const std::string& what) const { return at(node.source(), what); }

 private:
  template <typename T>
  Result<T> checked(const std::string& name, const toml::node& node, Result<T> value) const {
    if (!value) return at(node, name + " wants " + value.error());
    return value;
  }

  Result<long long> integer(const std::string& name, const toml::node& node) const {
    if (!node.is_integer()) return at(node, name + " wants a whole number");
    return node.as_integer()->get();
  }

  Result<std::string> text(const std::string& name, const toml::node& node) const {
    if (!node.is_string()) return at(node, name + " wants a text in quotes");
    return node.as_string()->get();
  }

  Result<std::string> folder(const toml::node& node) const {
    if (!node.is_string() || node.as_string()->get().empty()) return at(node, "library wants folder names");
    std::string dir = node.as_string()->get();
    const char* home = std::getenv("HOME");
    if (dir == "~" || dir.starts_with("~/")) {
      if (!home || !*home) return at(node, "library: no HOME for '~'");
      dir = std::string(home) + dir.substr(1);
    }
    return (fs::path(path_).parent_path() / dir).lexically_normal().string();
  }

  Result<std::vector<std::string>> folders(const toml::node& node) const {
    std::vector<std::string> out;
    if (const auto* list = node.as_array()) {
      for (const auto& item : *list) {
        SERVICE_TRY_ASSIGN(std::string dir, folder(item));
        out.push_back(std::move(dir));
      }
      if (out.empty()) return at(node, "library wants at least one folder");
      return out;
    }
    SERVICE_TRY_ASSIGN(std::string dir, folder(node));
    out.push_back(std::move(dir));
    return out;
  }

  std::string path_;
};

}  // namespace

std::string default_config_path() {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  // The base directory standard ignores a relative XDG_CONFIG_HOME.
  if (xdg && xdg[0] == '/') return std::string(xdg) + "/lyric-service/config.toml";
  const char* home = std::getenv("HOME");
  if (home && *home) return std::string(home) + "/.config/lyric-service/config.toml";
  return {};
}

Result<OptionLayer> read_config_file(const std::string& path) {
  Reader reader(path);
  auto bytes = read_file_bytes(path, kMaxConfigBytes);
  if (!bytes) return fail(path + ": " + bytes.error());
  try {
    toml::table root = toml::parse(bytes.value(), path);
    return reader.read(root);
  } catch (const toml::parse_error& e) {
    return reader.at(e.source(), std::string(e.description()));
  }
}

Result<Options> resolve_options(const CommandLine& command_line) {
  Options options;
  std::string path = command_line.config.value_or(default_config_path());
  std::error_code ec;
  // Only the default file may be missing; one named on the command line must be read.
  bool read = command_line.config.has_value() ||
              (!path.empty() && (fs::exists(path, ec) || (ec && ec != std::errc::no_such_file_or_directory)));
  if (read) {
    SERVICE_TRY_ASSIGN(OptionLayer file, read_config_file(path));
    options = apply(options, file);
  }
  return apply(options, command_line.options);
}

}  // namespace lyr::service
