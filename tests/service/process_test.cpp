// The lyric-service program itself: the port in use, stopping on a signal, the bundled library.
#include <gtest/gtest.h>
#include <signal.h>

#include <set>

#include "tests/service/support/service_fixture.h"

namespace service_test {
namespace {

TEST(Process, PortInUseIsAClearErrorAndStopSignalsEndItCleanly) {
  int port = free_port();
  ServiceProcess first({"--port", std::to_string(port)});
  ASSERT_TRUE(first.wait_answering(port)) << first.err();
  ServiceProcess second({"--port", std::to_string(port)});
  auto code = second.wait_exit();
  ASSERT_TRUE(code.has_value());
  EXPECT_NE(*code, 0);
  EXPECT_NE(
      second.err().find("cannot listen on 127.0.0.1:" + std::to_string(port) + ": Address already in use"),
      std::string::npos)
      << second.err();
  EXPECT_EQ(first.stop(SIGTERM), 0);
  EXPECT_NE(first.err().find("stopped"), std::string::npos);

  ServiceProcess again({"--port", std::to_string(port)});
  ASSERT_TRUE(again.wait_answering(port)) << again.err();
  EXPECT_EQ(again.stop(SIGINT), 0);
}

TEST(Process, BadCommandLinesAreRefused) {
  ServiceProcess bad({"--port", "99999"});
  EXPECT_EQ(bad.wait_exit(), 2);
  EXPECT_NE(bad.err().find("usage:"), std::string::npos);
  ServiceProcess upstream({"--upstream", "ftp://example"});
  EXPECT_EQ(upstream.wait_exit(), 2);
}

TEST(Process, BundledLibraryServesEveryLanguageWithCovers) {
  LocalService service({LYRIC_SAMPLE_LIBRARY});
  auto library = service.service().library();
  ASSERT_GE(library->size(), 12u) << service.log();
  std::set<std::string> formats;
  for (std::size_t i = 0; i < library->size(); ++i) {
    std::uint64_t id = library->entry(i).id;
    auto ext = service.service().cover_ext(id);
    ASSERT_TRUE(ext) << id;
    formats.insert(*ext);
    EXPECT_TRUE(service.get("/lrc/" + std::to_string(id) + ".lrc").body.find("[00:0") != std::string::npos)
        << id;
  }
  EXPECT_EQ(formats, (std::set<std::string>{"bmp", "gif", "jpg", "png"}));
  for (const char* title : {"%E5%A4%9C%E7%A9%BA%E7%9A%84%E7%81%AF",  // 夜空的灯
                            "paper%20moon",                          // English
                            "%EB%B3%84%EB%B9%9B",                    // 별빛
                            "%E6%98%A5%E9%A2%A8"})                   // 春風
    EXPECT_EQ(cut_one(service.get(std::string("/api/lyric/") + title + "/").body, "count\": ", ", \"code"),
              "1")
        << title;
}

// LRCLIB clients that insist on a number for "duration" refuse a whole search holding one null,
// so every bundled song names its length.
TEST(Process, BundledSongsHaveALength) {
  LocalService service({LYRIC_SAMPLE_LIBRARY});
  auto library = service.service().library();
  ASSERT_GE(library->size(), 12u) << service.log();
  for (std::size_t i = 0; i < library->size(); ++i) {
    const auto& song = library->entry(i);
    ASSERT_TRUE(song.duration) << song.path;
    EXPECT_GT(*song.duration, 0) << song.path;
  }
}

}  // namespace
}  // namespace service_test
