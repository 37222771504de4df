#include "tests/service/support/service_fixture.h"

#include <arpa/inet.h>
#include <httplib.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "service/library/library_scanner.h"
#include "tests/support/raw_http_server.h"
#include "tests/support/xvfb_session.h"

namespace service_test {

namespace fs = std::filesystem;
using namespace lyr::service;

TempDir::TempDir() {
  std::string pattern = (fs::temp_directory_path() / "lyric-service-test-XXXXXX").string();
  if (mkdtemp(pattern.data())) path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ec;
  // Permissions the tests took away must not keep the folder alive.
  fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
  for (auto it = fs::recursive_directory_iterator(path_, ec); !ec && it != fs::recursive_directory_iterator();
       ++it)
    fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
  fs::remove_all(path_, ec);
}

void write_file(const std::string& path, std::string_view bytes) {
  fs::create_directories(fs::path(path).parent_path());
  std::ofstream f(path, std::ios::binary);
  f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

LocalService::LocalService(const std::vector<std::string>& libraries, std::string upstream,
                           std::chrono::milliseconds upstream_timeout, int port) {
  std::unique_ptr<UpstreamClient> client;
  if (!upstream.empty()) client = std::make_unique<UpstreamClient>(upstream, upstream_timeout);
  start(libraries, std::move(client), port, std::nullopt);
}

LocalService::LocalService(const std::vector<std::string>& libraries, Following following) {
  start(libraries, nullptr, 0, std::move(following));
}

void LocalService::start(const std::vector<std::string>& libraries, std::unique_ptr<UpstreamClient> upstream,
                         int port, std::optional<Following> following) {
  // A file, not a memory stream: a following service writes to it while tests read it.
  log_file_.reset(std::fopen((log_dir_ / "log").c_str(), "w"));
  std::setvbuf(log_file_.get(), nullptr, _IONBF, 0);
  if (following) {
    live_ = std::make_unique<LiveLibrary>(libraries, log_file_.get(), following->timings,
                                          std::move(following->add_watch));
    service_ = std::make_unique<LyricService>(live_->scan(), std::move(upstream));
    live_->follow(
        [this](std::shared_ptr<const Library> next) { service_->replace_library(std::move(next)); });
  } else {
    std::vector<LyricEntry> entries;
    for (const auto& dir : libraries) scan_library(dir, entries, log_file_.get());
    service_ = std::make_unique<LyricService>(Library(std::move(entries)), std::move(upstream));
  }
  server_ = std::make_unique<LyricServer>(libraries, 8);
  auto bound = server_->bind("127.0.0.1", port);
  if (!bound) return;
  port_ = bound.value();
  thread_ = std::thread([this] { server_->serve(*service_); });
  while (!server_->running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  // The server starts its pool of threads after it says it runs; one answered request means they
  // all exist (tests that count threads take their baseline after this).
  get("/");
}

LocalService::~LocalService() {
  if (live_) live_->stop();
  server_->stop();
  if (thread_.joinable()) thread_.join();
}

std::string LocalService::log() const {
  std::ifstream f(log_dir_ / "log");
  std::stringstream s;
  s << f.rdbuf();
  return s.str();
}

std::uint64_t LocalService::id_of(const std::string& path) const {
  auto library = service_->library();
  for (std::size_t i = 0; i < library->size(); ++i)
    if (library->entry(i).path == path) return library->entry(i).id;
  return 0;
}

LocalService::Reply LocalService::get(const std::string& target) const {
  httplib::Client client("127.0.0.1", port_);
  client.set_read_timeout(10);
  auto res = client.Get(target);
  if (!res) return {};
  return {res->status, res->body, res->get_header_value("Content-Type")};
}

std::string raw_exchange(int port, const std::string& bytes) {
  int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_port = htons(static_cast<std::uint16_t>(port));
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  std::string reply;
  if (connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0) {
    timeval tv{5, 0};
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
    // No half-close: the server takes a closed reading side for a client that is gone.
    send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    char buf[4096];
    ssize_t n;
    while ((n = recv(fd, buf, sizeof buf, 0)) > 0) reply.append(buf, static_cast<std::size_t>(n));
  }
  close(fd);
  return reply;
}

int raw_status(const std::string& reply) {
  if (!reply.starts_with("HTTP/1.1 ") || reply.size() < 12) return 0;
  return std::stoi(reply.substr(9, 3));
}

int free_port() {
  return lyr::test::unused_loopback_port();
}

std::vector<std::string> cut_all(const std::string& source, const std::string& start,
                                 const std::string& end) {
  std::vector<std::string> out;
  std::size_t at = source.find(start);
  while (at != std::string::npos) {
    std::size_t from = at + start.size();
    std::size_t next = source.find(start, from);
    std::string piece = source.substr(from, next == std::string::npos ? std::string::npos : next - from);
    if (!piece.empty()) out.push_back(piece.substr(0, piece.find(end)));
    at = next;
  }
  return out;
}

std::string cut_one(const std::string& source, const std::string& start, const std::string& end) {
  std::size_t p1 = source.find(start), p2 = source.find(end);
  if (p1 == std::string::npos || p2 == std::string::npos || p2 < p1 + start.size()) return {};
  return source.substr(p1 + start.size(), p2 - p1 - start.size());
}

ServiceProcess::ServiceProcess(const std::vector<std::string>& args, const std::vector<std::string>& env) {
  std::string cmd = "exec '" LYRIC_SERVICE_PROGRAM "'";
  for (const auto& a : args) cmd += " '" + a + "'";
  cmd += " 2>'" + (dir_ / "stderr") + "'";
  std::vector<std::string> environment = env;
  if (std::none_of(env.begin(), env.end(),
                   [](const std::string& e) { return e.starts_with("XDG_CONFIG_HOME="); }))
    environment.push_back("XDG_CONFIG_HOME=" + (dir_ / "config"));
  pid_ = test_support::spawn({"/bin/sh", "-c", cmd}, environment);
}

ServiceProcess::~ServiceProcess() {
  if (pid_ > 0) stop(SIGKILL);
}

bool ServiceProcess::wait_answering(int port) {
  for (int i = 0; i < 200; ++i) {
    siginfo_t info{};
    // Looks without reaping, so wait_exit still gets the exit code.
    if (waitid(P_PID, static_cast<id_t>(pid_), &info, WEXITED | WNOHANG | WNOWAIT) == 0 && info.si_pid != 0)
      return false;
    httplib::Client client("127.0.0.1", port);
    client.set_connection_timeout(1);
    if (auto res = client.Get("/"); res && res->status == 200) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return false;
}

std::optional<int> ServiceProcess::stop(int signal) {
  if (pid_ <= 0) return std::nullopt;
  kill(pid_, signal);
  return wait_exit();
}

std::optional<int> ServiceProcess::wait_exit() {
  auto code = test_support::wait_child(pid_, std::chrono::seconds(10));
  pid_ = -1;
  return code;
}

std::string ServiceProcess::err() const {
  std::ifstream f(dir_ / "stderr");
  std::stringstream s;
  s << f.rdbuf();
  return s.str();
}

}  // namespace service_test
