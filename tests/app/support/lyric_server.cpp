#include "tests/app/support/lyric_server.h"

#include <httplib.h>

#include <chrono>

namespace app_test {

LyricServer::LyricServer(int port) : server_(std::make_unique<httplib::Server>()) {
  server_->Get(".*", [this](const httplib::Request& request, httplib::Response& response) {
    std::lock_guard lock(mutex_);
    log_.push_back(request.target);
    auto found = replies_.find(request.target);
    if (found == replies_.end()) {
      response.status = 404;
      response.set_content("not found", "text/plain");
      return;
    }
    response.status = found->second.status;
    response.set_content(found->second.body, found->second.content_type.c_str());
  });
  if (!server_->bind_to_port("127.0.0.1", port)) return;
  started_ = true;
  // The server's worker threads exist before the constructor returns, so that tests counting
  // threads see them from the start.
  pool_ = std::make_unique<httplib::ThreadPool>(4);
  server_->new_task_queue = [this]() -> httplib::TaskQueue* { return pool_.release(); };
  thread_ = std::thread([this] { server_->listen_after_bind(); });
  // stop() reaches only a server that is already listening: a test that asks for nothing could
  // otherwise stop it too early and wait forever on a thread that goes on accepting.
  const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!server_->is_running() && std::chrono::steady_clock::now() < limit)
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

LyricServer::~LyricServer() {
  if (started_) {
    server_->stop();
    thread_.join();
  }
}

void LyricServer::reply(const std::string& target, std::string body, std::string content_type, int status) {
  std::lock_guard lock(mutex_);
  replies_[target] = Reply{status, std::move(body), std::move(content_type)};
}

std::vector<std::string> LyricServer::requests() const {
  std::lock_guard lock(mutex_);
  return log_;
}

void LyricServer::clear_log() {
  std::lock_guard lock(mutex_);
  log_.clear();
}

std::string search_reply(const std::vector<std::pair<std::string, std::string>>& hits) {
  std::string body = "{\"result\": [";
  for (std::size_t i = 0; i < hits.size(); ++i) {
    if (i > 0) body += ", ";
    body += "{\"aid\": " + hits[i].first + ", \"lrc\": \"" + hits[i].second + "\"}";
  }
  body += "], \"count\": " + std::to_string(hits.size()) + ", \"code\": 0}";
  return body;
}

}  // namespace app_test
