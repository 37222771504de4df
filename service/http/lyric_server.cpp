#include "service/http/lyric_server.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "service/http/author_page.h"
#include "service/http/lrclib_routes.h"
#include "service/http/replies.h"
#include "service/http/request_path.h"
#include "service/library/image_type.h"

namespace lyr::service {

namespace {

constexpr const char* kJson = "application/json; charset=utf-8";

void not_found(httplib::Response& res) {
  res.status = 404;
  res.set_content("not found\n", "text/plain; charset=utf-8");
}

void bad_request(httplib::Response& res) {
  res.status = 400;
  res.set_content("bad request\n", "text/plain; charset=utf-8");
}

// What is after `prefix` in the raw target, or nullopt when the target has another form.
std::optional<std::string_view> after(const httplib::Request& req, std::string_view prefix) {
  std::string_view path = target_path(req.target);
  if (!path.starts_with(prefix)) return std::nullopt;
  return path.substr(prefix.size());
}

bool plain_host(std::string_view host) {
  if (host.empty() || host.size() > 255) return false;
  for (char c : host) {
    bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
              c == '-' || c == ':' || c == '[' || c == ']';
    if (!ok) return false;
  }
  return true;
}

// Why binding failed, asked of the system directly since the library keeps errno to itself.
std::string bind_failure(const std::string& host, int port) {
  addrinfo hints{};
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = AI_NUMERICSERV;
  addrinfo* found = nullptr;
  if (getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found) != 0 || !found)
    return "cannot resolve the address";
  std::string why = "cannot bind";
  int err = 0;
  int fd = socket(found->ai_family, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd >= 0) {
    int yes = 1;
    setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    if (::bind(fd, found->ai_addr, found->ai_addrlen) != 0) err = errno, why = std::strerror(errno);
    close(fd);
  }
  freeaddrinfo(found);
  if (err == EADDRINUSE) why += " (is another lyric-service running?)";
  return why;
}

}  // namespace

LyricServer::LyricServer(std::vector<std::string> libraries, int threads) : libraries_(std::move(libraries)) {
  std::size_t n = threads > 0 ? static_cast<std::size_t>(threads) : 8;
  server_.new_task_queue = [n] { return new httplib::ThreadPool(n); };  // the server owns it
  // Without SO_REUSEPORT, which the library would set: a second service must fail to bind.
  server_.set_socket_options([](int sock) {
    int yes = 1;
    setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  });
  // Replies go out as headers and body in two writes; without this the body waits for the
  // client's delayed acknowledgement.
  server_.set_tcp_nodelay(true);
  server_.set_keep_alive_timeout(2);
  server_.set_read_timeout(10);
  server_.set_payload_max_length(64 * 1024);
  routes();
}

Result<int> LyricServer::bind(const std::string& host, int port) {
  host_ = host;
  int bound = port == 0 ? server_.bind_to_any_port(host) : (server_.bind_to_port(host, port) ? port : -1);
  if (bound <= 0) return fail(bind_failure(host, port));
  port_ = bound;
  return bound;
}

bool LyricServer::serve(const LyricService& service) {
  service_ = &service;
  return server_.listen_after_bind();
}

std::string LyricServer::base_url(const httplib::Request& req) const {
  // Addresses in replies name the host the client reached us by, so they work through any
  // address the service is bound to; a Host that could smuggle markers is not used.
  std::string host = req.get_header_value("Host");
  if (!plain_host(host)) {
    bool any = host_ == "0.0.0.0" || host_ == "::" || host_.empty();
    host = (any ? std::string("127.0.0.1") : host_) + ":" + std::to_string(port_);
  }
  return "http://" + host;
}

void LyricServer::routes() {
  server_.Get(R"(/api/lyric/[\s\S]*)", [this](const httplib::Request& req, httplib::Response& res) {
    auto rest = after(req, "/api/lyric/");
    auto query = rest ? parse_lyric_query(*rest) : fail("another path");
    if (!query) return bad_request(res);
    auto hits = service_->search(query->title, query->artist);
    res.set_content(lyric_reply(hits, base_url(req)), kJson);
  });
  server_.Get(R"(/api/cover/[\s\S]*)", [this](const httplib::Request& req, httplib::Response& res) {
    auto rest = after(req, "/api/cover/");
    auto aid = rest ? parse_id(*rest) : fail("another path");
    if (!aid) return not_found(res);
    auto ext = service_->cover_ext(aid.value());
    res.set_content(
        cover_reply(ext ? std::optional(cover_url(base_url(req), aid.value(), *ext)) : std::nullopt), kJson);
  });
  server_.Get(R"(/lrc/[\s\S]*)", [this](const httplib::Request& req, httplib::Response& res) {
    auto rest = after(req, "/lrc/");
    auto aid = rest ? parse_id_file(*rest, "lrc") : fail("another path");
    if (!aid) return not_found(res);
    auto text = service_->lyric(aid.value());
    if (!text) return not_found(res);
    res.set_content(std::move(text.value()), "text/plain; charset=utf-8");
  });
  server_.Get(R"(/cover/[\s\S]*)", [this](const httplib::Request& req, httplib::Response& res) {
    auto rest = after(req, "/cover/");
    std::string ext;
    auto aid = rest ? parse_id_file(*rest, "", &ext) : fail("another path");
    if (!aid) return not_found(res);
    auto cover = service_->cover(aid.value());
    if (!cover || cover->ext != ext) return not_found(res);
    res.set_content(std::move(cover->bytes), std::string(image_content_type(cover->ext)));
  });
  add_lrclib_routes(server_, service_, track_replies_);
  server_.Get("/", [this](const httplib::Request&, httplib::Response& res) {
    res.set_content(author_page(*service_, libraries_), "text/html; charset=utf-8");
  });
  server_.set_error_handler([](const httplib::Request&, httplib::Response& res) {
    if (!res.body.empty()) return;
    res.set_content(res.status == 404 ? "not found\n" : std::to_string(res.status) + " bad request\n",
                    "text/plain; charset=utf-8");
  });
}

}  // namespace lyr::service
