// Fixtures of the service tests: a scratch folder, a service answering in this process on a
// free port, the lyric-service program started as a child, raw requests, and the finder's way
// of cutting values out of a reply.
#pragma once

#include <sys/types.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "service/catalog/lyric_service.h"
#include "service/http/lyric_server.h"
#include "service/library/live_library.h"

namespace service_test {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& path() const { return path_; }
  std::string operator/(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

void write_file(const std::string& path, std::string_view bytes);

// How a LocalService follows changes of its folders; `add_watch` may stand in for inotify's.
struct Following {
  lyr::service::LiveTimings timings;
  lyr::service::FolderWatcher::AddWatch add_watch;
};

// A service over `libraries`, serving from a thread until destroyed, on `port` (0: a free one).
// log() holds what the scan wrote (warnings, the summary line), and what following wrote since.
class LocalService {
 public:
  explicit LocalService(const std::vector<std::string>& libraries, std::string upstream = {},
                        std::chrono::milliseconds upstream_timeout = std::chrono::seconds(3), int port = 0);
  // A service that follows changes of its folders, as the program does.
  LocalService(const std::vector<std::string>& libraries, Following following);
  ~LocalService();
  LocalService(const LocalService&) = delete;
  LocalService& operator=(const LocalService&) = delete;

  int port() const { return port_; }
  std::string base() const { return "http://127.0.0.1:" + std::to_string(port_); }
  std::string log() const;
  const lyr::service::LyricService& service() const { return *service_; }
  // The id of the song whose own file is `path`; 0 when there is none.
  std::uint64_t id_of(const std::string& path) const;
  std::string id_text(const std::string& path) const { return std::to_string(id_of(path)); }

  struct Reply {
    int status = 0;
    std::string body;
    std::string content_type;
  };
  // GET of a target as given (already percent-encoded where it should be).
  Reply get(const std::string& target) const;

 private:
  void start(const std::vector<std::string>& libraries,
             std::unique_ptr<lyr::service::UpstreamClient> upstream, int port,
             std::optional<Following> following);

  TempDir log_dir_;
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> log_file_{nullptr, std::fclose};
  std::unique_ptr<lyr::service::LiveLibrary> live_;
  std::unique_ptr<lyr::service::LyricService> service_;
  std::unique_ptr<lyr::service::LyricServer> server_;
  std::thread thread_;
  int port_ = 0;
};

// Sends `bytes` on a fresh connection and returns everything the server wrote back until it
// closed the connection (well-formed requests should ask for that with "Connection: close").
std::string raw_exchange(int port, const std::string& bytes);
// The status code of a raw HTTP reply, 0 when there is none.
int raw_status(const std::string& reply);

// A port that nothing listens on right now.
int free_port();

// The finder's markers: every text after `start` up to the next `end` (or the next start),
// and the one text between the first start and the first end anywhere.
std::vector<std::string> cut_all(const std::string& source, const std::string& start, const std::string& end);
std::string cut_one(const std::string& source, const std::string& start, const std::string& end);

// The lyric-service program, started with `args`; its stderr goes to a file read by err().
// Its config folder is an empty one of its own unless `env` names another XDG_CONFIG_HOME.
class ServiceProcess {
 public:
  explicit ServiceProcess(const std::vector<std::string>& args, const std::vector<std::string>& env = {});
  ~ServiceProcess();
  ServiceProcess(const ServiceProcess&) = delete;
  ServiceProcess& operator=(const ServiceProcess&) = delete;

  // Waits until GET / answers on `port`; false when the program ended or time ran out.
  bool wait_answering(int port);
  // Signals the program and waits for its exit code (nullopt: it did not end in time).
  std::optional<int> stop(int signal);
  std::optional<int> wait_exit();
  std::string err() const;

 private:
  TempDir dir_;
  pid_t pid_ = -1;
};

}  // namespace service_test
