#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "platform/com/hresult.h"
#include "runtime/dll_table.h"
#include "runtime/program_path.h"
#include "tests/runtime/test_image.h"

namespace {

using Download = HRESULT (*)(void*, LPCSTR, LPCSTR, DWORD, void*);

// A one-thread HTTP server on 127.0.0.1 with an ephemeral port: "/ok" answers a fixed body,
// "/slow-break" promises more than it sends, anything else 404.
class LoopbackServer {
 public:
  static constexpr const char* kBody = "[00:01.00]first line\n[00:02.00]second line\n";

  LoopbackServer() {
    listener_ = socket(AF_INET, SOCK_STREAM, 0);
    int on = 1;
    setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
    socklen_t length = sizeof address;
    getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
    listen(listener_, 8);
    thread_ = std::thread([this] { serve(); });
  }
  ~LoopbackServer() {
    stopping_ = true;
    shutdown(listener_, SHUT_RDWR);
    close(listener_);
    thread_.join();
  }
  std::string url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
  }

 private:
  void serve() {
    while (!stopping_) {
      int client = accept(listener_, nullptr, nullptr);
      if (client < 0) return;
      std::string request;
      char buffer[1024];
      while (request.find("\r\n\r\n") == std::string::npos) {
        ssize_t n = recv(client, buffer, sizeof buffer, 0);
        if (n <= 0) break;
        request.append(buffer, static_cast<std::size_t>(n));
      }
      std::string path = request.substr(4, request.find(' ', 4) - 4);
      std::string reply;
      if (path == "/ok") {
        reply = "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(std::string(kBody).size()) +
                "\r\nConnection: close\r\n\r\n" + kBody;
      } else if (path == "/slow-break") {
        reply = "HTTP/1.1 200 OK\r\nContent-Length: 1000\r\nConnection: close\r\n\r\npartial";
      } else {
        reply = "HTTP/1.1 404 Not Found\r\nContent-Length: 9\r\nConnection: close\r\n\r\nnot found";
      }
      send(client, reply.data(), reply.size(), MSG_NOSIGNAL);
      close(client);
    }
  }

  int listener_ = -1;
  int port_ = 0;
  std::atomic<bool> stopping_{false};
  std::thread thread_;
};

class UrlDownloadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Bound the way the program binds it: "URLMON.DLL" from the program directory.
    runtime::ProgramPath self = runtime::split_program_path(runtime::program_module_path());
    table_.set_program_directory(self.directory, self.directory + "\\");
    static const char* files[] = {"URLMON.DLL"};
    static const char* names[] = {"URLDownloadToFileA"};
    table_.assign(1, files, names);
    download_ = reinterpret_cast<Download>(table_.resolve(0, nullptr));
    ASSERT_NE(download_, nullptr);
    char name[] = "/tmp/runtime_download_XXXXXX";
    ASSERT_NE(mkdtemp(name), nullptr);
    dir_ = name;
  }
  void TearDown() override {
    chmod(dir_.c_str(), 0755);
    std::filesystem::remove_all(dir_);
    table_.release();
  }
  HRESULT get(const std::string& url, const std::string& file) {
    return download_(nullptr, url.c_str(), file.c_str(), 0, nullptr);
  }
  // Names in the directory other than the given one: leftovers of a download.
  int other_entries(const std::string& keep) const {
    int n = 0;
    for (const auto& e : std::filesystem::directory_iterator(dir_)) {
      if (e.path().filename() != keep) ++n;
    }
    return n;
  }

  LoopbackServer server_;
  runtime::DllTable table_;
  Download download_ = nullptr;
  std::string dir_;
};

TEST_F(UrlDownloadTest, SuccessWritesTheWholeBody) {
  std::string target = dir_ + "/song - artist.lrc";
  EXPECT_EQ(get(server_.url("/ok"), target), S_OK);
  EXPECT_EQ(runtime_test::read_file(target), LoopbackServer::kBody);
  EXPECT_EQ(other_entries("song - artist.lrc"), 0);
}

TEST_F(UrlDownloadTest, BackslashPathsAreAccepted) {
  std::string target = dir_ + "\\lyric.lrc";
  EXPECT_EQ(get(server_.url("/ok"), target), S_OK);
  EXPECT_EQ(runtime_test::read_file(dir_ + "/lyric.lrc"), LoopbackServer::kBody);
}

TEST_F(UrlDownloadTest, NotFoundFailsAndLeavesAnExistingFileIntact) {
  std::string target = dir_ + "/keep.lrc";
  std::ofstream(target) << "old contents";
  HRESULT hr = get(server_.url("/missing"), target);
  EXPECT_EQ(hr, INET_E_RESOURCE_NOT_FOUND);
  EXPECT_EQ(runtime_test::read_file(target), "old contents");
  EXPECT_EQ(other_entries("keep.lrc"), 0);
}

TEST_F(UrlDownloadTest, BrokenTransferNeverReplacesTheFile) {
  std::string target = dir_ + "/keep.lrc";
  std::ofstream(target) << "old contents";
  HRESULT hr = get(server_.url("/slow-break"), target);
  EXPECT_TRUE(FAILED(hr));
  EXPECT_EQ(runtime_test::read_file(target), "old contents");
  EXPECT_EQ(other_entries("keep.lrc"), 0);
}

TEST_F(UrlDownloadTest, UnreachableHostFails) {
  // A port that nothing listens on: bind one, then close it again.
  int s = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address);
  socklen_t length = sizeof address;
  getsockname(s, reinterpret_cast<sockaddr*>(&address), &length);
  close(s);
  std::string url = "http://127.0.0.1:" + std::to_string(ntohs(address.sin_port)) + "/ok";
  std::string target = dir_ + "/x.lrc";
  EXPECT_EQ(get(url, target), INET_E_CANNOT_CONNECT);
  EXPECT_FALSE(std::filesystem::exists(target));
  EXPECT_EQ(other_entries(""), 0);
}

TEST_F(UrlDownloadTest, UnwritableDirectoryFails) {
  if (geteuid() == 0) {
    // root writes anywhere but into the kernel's own file systems and missing directories.
    EXPECT_EQ(get(server_.url("/ok"), "/proc/x.lrc"), E_ACCESSDENIED);
    EXPECT_EQ(get(server_.url("/ok"), dir_ + "/no/such/dir/x.lrc"), E_ACCESSDENIED);
    return;
  }
  ASSERT_EQ(chmod(dir_.c_str(), 0555), 0);
  EXPECT_EQ(get(server_.url("/ok"), dir_ + "/x.lrc"), E_ACCESSDENIED);
}

TEST_F(UrlDownloadTest, OnlyHttpAndHttpsAndRealArguments) {
  std::string target = dir_ + "/x.lrc";
  EXPECT_EQ(get("ftp://127.0.0.1/x", target), INET_E_UNKNOWN_PROTOCOL);
  EXPECT_EQ(get("file:///etc/passwd", target), INET_E_UNKNOWN_PROTOCOL);
  EXPECT_EQ(download_(nullptr, nullptr, target.c_str(), 0, nullptr), E_INVALIDARG);
  EXPECT_EQ(download_(nullptr, "http://127.0.0.1/", nullptr, 0, nullptr), E_INVALIDARG);
  EXPECT_EQ(download_(nullptr, "", target.c_str(), 0, nullptr), E_INVALIDARG);
  EXPECT_FALSE(std::filesystem::exists(target));
}

}  // namespace
