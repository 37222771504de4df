// A loopback stand-in for the lyric service: answers the replies a test gives it, by exact
// request target (the path as sent, percent-encoding included), and logs every target it was
// asked for. Unknown targets get a 404 page.
#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

namespace httplib {
class Server;
class ThreadPool;
}  // namespace httplib

namespace app_test {

class LyricServer {
 public:
  // Listens on 127.0.0.1:port until destroyed; started() is false when the port was taken.
  explicit LyricServer(int port);
  ~LyricServer();
  LyricServer(const LyricServer&) = delete;
  LyricServer& operator=(const LyricServer&) = delete;

  bool started() const { return started_; }
  void reply(const std::string& target, std::string body, std::string content_type = "application/json",
             int status = 200);
  // The targets asked for so far, in order.
  std::vector<std::string> requests() const;
  void clear_log();

 private:
  struct Reply {
    int status;
    std::string body;
    std::string content_type;
  };
  std::unique_ptr<httplib::Server> server_;
  std::unique_ptr<httplib::ThreadPool> pool_;  // handed to the server when it starts listening
  std::thread thread_;
  bool started_ = false;
  mutable std::mutex mutex_;
  std::unordered_map<std::string, Reply> replies_;
  std::vector<std::string> log_;
};

// The search reply the lyric service writes for (id, lyric address) hits, with its count.
std::string search_reply(const std::vector<std::pair<std::string, std::string>>& hits);

}  // namespace app_test
