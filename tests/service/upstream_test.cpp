// The online database against a fake one on loopback: its hits follow the local ones and their
// lyrics are served as ours; a slow or broken database costs at most the time-out.
#include <gtest/gtest.h>
#include <httplib.h>

#include <chrono>
#include <thread>

#include "service/upstream/upstream_client.h"
#include "tests/service/support/service_fixture.h"

namespace service_test {
namespace {

using namespace std::chrono;

class FakeDatabase {
 public:
  explicit FakeDatabase(milliseconds delay = {}) {
    server_.Get("/api/search", [this, delay](const httplib::Request& req, httplib::Response& res) {
      std::this_thread::sleep_for(delay);
      last_query_ = req.get_param_value("track_name") + "|" + req.get_param_value("artist_name");
      res.set_content(
          R"([{"id": 501, "trackName": "Far \"Away\"", "artistName": "Net Band", "albumName": null,
                          "syncedLyrics": "[00:01.00]from afar", "plainLyrics": "from afar"},
                         {"id": 502, "trackName": "Plain", "artistName": "Net Band", "syncedLyrics": null,
                          "plainLyrics": "plain words"},
                         {"id": 503, "trackName": "Instrumental", "instrumental": true},
                         {"trackName": "no id", "plainLyrics": "x"}])",
          "application/json");
    });
    server_.Get("/api/get/501", [](const httplib::Request&, httplib::Response& res) {
      res.set_content(R"({"id": 501, "trackName": "Far", "syncedLyrics": "[00:01.00]again"})",
                      "application/json");
    });
    server_.Get("/broken/api/search", [](const httplib::Request&, httplib::Response& res) {
      res.set_content("[{oops", "application/json");
    });
    port_ = server_.bind_to_any_port("127.0.0.1");
    thread_ = std::thread([this] { server_.listen_after_bind(); });
    while (!server_.is_running()) std::this_thread::sleep_for(milliseconds(1));
  }
  ~FakeDatabase() {
    server_.stop();
    thread_.join();
  }
  std::string url() const { return "http://127.0.0.1:" + std::to_string(port_); }
  std::string last_query_;

 private:
  httplib::Server server_;
  std::thread thread_;
  int port_ = 0;
};

TEST(Upstream, HitsFollowTheLocalOnesAndTheirLyricsAreServedAsOurs) {
  TempDir dir;
  write_file(dir / "Net Band - Far.lrc", "[00:01.00]local\n");
  FakeDatabase db;
  LocalService service({dir.path().string()}, db.url());
  auto reply = service.get("/api/lyric/far/net%20band");
  EXPECT_EQ(db.last_query_, "far|net band");
  auto aids = cut_all(reply.body, "\"aid\": ", ",");
  ASSERT_EQ(aids.size(), 3u);
  EXPECT_EQ(aids[0], service.id_text(dir / "Net Band - Far.lrc"));
  EXPECT_EQ(cut_one(reply.body, "count\": ", ", \"code"), "3");
  EXPECT_NE(reply.body.find("\"song\": \"Far \\u0022Away\\u0022\""), std::string::npos);
  EXPECT_EQ(service.get("/lrc/" + aids[1] + ".lrc").body, "[00:01.00]from afar");
  EXPECT_EQ(service.get("/lrc/" + aids[2] + ".lrc").body, "plain words");
  EXPECT_EQ(service.get("/lrc/" + std::to_string(std::stoull(aids[2]) + 1) + ".lrc").status, 404);
  EXPECT_EQ(service.get("/api/cover/" + aids[1]).body, "{\"count\": 0, \"code\": 0, \"result\": {}}");
  // The same song keeps its id on the next search.
  EXPECT_EQ(cut_all(service.get("/api/lyric/far/").body, "\"aid\": ", ","), aids);
}

TEST(Upstream, SlowOrBrokenDatabaseCostsAtMostTheTimeOut) {
  TempDir dir;
  write_file(dir / "Net Band - Far.lrc", "[00:01.00]local\n");
  FakeDatabase slow(seconds(5));
  LocalService service({dir.path().string()}, slow.url(), milliseconds(500));
  auto start = steady_clock::now();
  auto reply = service.get("/api/lyric/far/");
  EXPECT_LT(steady_clock::now() - start, seconds(3));
  const std::vector<std::string> local{service.id_text(dir / "Net Band - Far.lrc")};
  EXPECT_EQ(cut_all(reply.body, "\"aid\": ", ","), local);

  FakeDatabase broken;
  LocalService with_broken({dir.path().string()}, broken.url() + "/broken", milliseconds(500));
  EXPECT_EQ(cut_all(with_broken.get("/api/lyric/far/").body, "\"aid\": ", ","), local);
  LocalService unreachable({dir.path().string()}, "http://127.0.0.1:" + std::to_string(free_port()),
                           milliseconds(500));
  EXPECT_EQ(cut_all(unreachable.get("/api/lyric/far/").body, "\"aid\": ", ","), local);
}

TEST(Upstream, SongsAreFetchedAgainById) {
  FakeDatabase db;
  lyr::service::UpstreamClient client(db.url() + "/", seconds(2));
  auto hit = client.get(501);
  ASSERT_TRUE(hit);
  EXPECT_EQ(hit->synced, "[00:01.00]again");
  EXPECT_FALSE(client.get(502));  // the database answers 404
}

TEST(Upstream, RecordParsing) {
  EXPECT_FALSE(lyr::service::parse_upstream_record("not json"));
  EXPECT_FALSE(lyr::service::parse_upstream_record(R"({"id": "7", "plainLyrics": "x"})"));
  auto hit = lyr::service::parse_upstream_record(R"({"id": 7, "syncedLyrics": "", "plainLyrics": "words"})");
  ASSERT_TRUE(hit);
  EXPECT_EQ(hit->plain, "words");
  EXPECT_FALSE(hit->synced);
}

}  // namespace
}  // namespace service_test
