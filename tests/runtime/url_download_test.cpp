#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/com/hresult.h"
#include "runtime/dll_table.h"
#include "runtime/program_path.h"
#include "tests/runtime/test_image.h"
#include "tests/support/raw_http_server.h"

namespace {

using Download = HRESULT (*)(void*, LPCSTR, LPCSTR, DWORD, void*);

constexpr const char* kBody = "[00:01.00]first line\n[00:02.00]second line\n";

// "/ok" answers a fixed body, "/slow-break" promises more than it sends, anything else 404.
void serve_downloads(const std::string& request, lyr::test::RawHttpServer::Connection& reply) {
  using lyr::test::http_head;
  const std::string path = lyr::test::RawHttpServer::target_of(request);
  if (path == "/ok") {
    reply.send(http_head("HTTP/1.1 200 OK", {"Content-Length: " + std::to_string(std::string(kBody).size()),
                                             "Connection: close"}) +
               kBody);
  } else if (path == "/slow-break") {
    reply.send(http_head("HTTP/1.1 200 OK", {"Content-Length: 1000", "Connection: close"}) + "partial");
  } else {
    reply.send(http_head("HTTP/1.1 404 Not Found", {"Content-Length: 9", "Connection: close"}) + "not found");
  }
}

class UrlDownloadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Bound the way the program binds it: "URLMON.DLL" from the program directory.
    runtime::ProgramPath self = runtime::split_program_path(runtime::program_module_path());
    table_.set_program_directory(self.directory, self.directory + "\\");
    static const char* files[] = {"URLMON.DLL"};
    static const char* names[] = {"URLDownloadToFileA"};
    table_.assign(1, files, names);
    lyr::Result<void*> bound = table_.resolve(0);
    ASSERT_TRUE(bound.ok()) << bound.error();
    download_ = reinterpret_cast<Download>(bound.value());
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

  lyr::test::RawHttpServer server_{&serve_downloads};
  runtime::DllTable table_;
  Download download_ = nullptr;
  std::string dir_;
};

TEST_F(UrlDownloadTest, SuccessWritesTheWholeBody) {
  std::string target = dir_ + "/song - artist.lrc";
  EXPECT_EQ(get(server_.url("/ok"), target), S_OK);
  EXPECT_EQ(runtime_test::read_file(target), kBody);
  EXPECT_EQ(other_entries("song - artist.lrc"), 0);
}

TEST_F(UrlDownloadTest, BackslashPathsAreAccepted) {
  std::string target = dir_ + "\\lyric.lrc";
  EXPECT_EQ(get(server_.url("/ok"), target), S_OK);
  EXPECT_EQ(runtime_test::read_file(dir_ + "/lyric.lrc"), kBody);
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
  std::string url = "http://127.0.0.1:" + std::to_string(lyr::test::unused_loopback_port()) + "/ok";
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
