// A download into a program folder the user may not write: it lands whole in the per-user mirror,
// a second download of the same name replaces the first, and no partial file is left anywhere.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/inet/url_download.h"
#include "tests/support/raw_http_server.h"
#include "tests/support/read_only_program_folder.h"

namespace {

namespace fs = std::filesystem;
using lyr::test::RawHttpServer;
using lyr::test::ReadOnlyProgramFolder;

std::string read_all(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::vector<std::string> names_in(const fs::path& dir) {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename().string());
  return names;
}

TEST(UrlDownloadStore, ReadOnlyProgramFolderDownloadsIntoTheMirror) {
  ReadOnlyProgramFolder store;
  RawHttpServer server([](const std::string& request, RawHttpServer::Connection& c) {
    std::string body = RawHttpServer::target_of(request) == "/first" ? "[00:01]first" : "[00:02]second";
    c.send(lyr::test::http_head("HTTP/1.1 200 OK", {"Content-Length: " + std::to_string(body.size())}) +
           body);
  });
  const std::string name = ReadOnlyProgramFolder::unique("song.lrc");
  std::string target = (ReadOnlyProgramFolder::program_folder() / name).string();
  for (char& c : target)
    if (c == '/') c = '\\';

  ASSERT_EQ(URLDownloadToFileA(nullptr, server.url("/first").c_str(), target.c_str(), 0, nullptr), S_OK);
  EXPECT_EQ(read_all(store.mirror() / name), "[00:01]first");
  ASSERT_EQ(URLDownloadToFileA(nullptr, server.url("/second").c_str(), target.c_str(), 0, nullptr), S_OK);
  EXPECT_EQ(read_all(store.mirror() / name), "[00:02]second");
  EXPECT_EQ(names_in(store.mirror()), std::vector<std::string>{name});
  EXPECT_FALSE(fs::exists(ReadOnlyProgramFolder::program_folder() / name));
  for (const std::string& entry : names_in(ReadOnlyProgramFolder::program_folder()))
    EXPECT_EQ(entry.find(ReadOnlyProgramFolder::unique("")), std::string::npos) << entry;
}

}  // namespace
