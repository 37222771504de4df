// The LRCLIB interface through a loopback client: every endpoint and error, the track's fields
// as they come from .lrc and audio files, ids shared with the finder's interface, and one
// service used as another's upstream.
#include <gtest/gtest.h>
#include <httplib.h>
#include <taglib/flacfile.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/xiphcomment.h>

#include <nlohmann/json.hpp>

#include "tests/service/support/audio_files.h"
#include "tests/service/support/service_fixture.h"

namespace service_test {
namespace {

using nlohmann::json;

class LrclibApi : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = new TempDir;
    write_file(*dir_ / "Band - Moon River.lrc",
               "\xEF\xBB\xBF[ti:Moon River]\r\n[ar:The Band]\r\n[al:Night]\r\n[length:03:20]\r\n"
               "[00:05.00][00:15.00]moon\r\n[00:10.00]river\r\n");
    write_file(*dir_ / "live/Band - Moon River.lrc",
               "[ti:Moon River]\n[ar:The Band]\n[al:Live]\n[length:250]\n[00:01.00]live\n");
    write_file(*dir_ / "Writer - Plain Song.lrc", "first\nsecond\n");
    for (int i = 0; i < 25; ++i)
      write_file(*dir_ / ("many/Many - Echo " + std::to_string(i) + ".lrc"), "[00:01.00]echo\n");
    write_file(*dir_ / "tune.flac", minimal_flac(441000));  // ten seconds
    {
      TagLib::FLAC::File f((*dir_ / "tune.flac").c_str());
      f.xiphComment(true)->setTitle("Flac Tune");
      f.xiphComment()->setArtist("Wave");
      f.xiphComment()->addField("LYRICS", "[00:01.00]la");
      ASSERT_TRUE(f.save());
    }
    write_file(*dir_ / "quiet.mp3", minimal_mp3());
    {
      TagLib::MPEG::File f((*dir_ / "quiet.mp3").c_str());
      f.ID3v2Tag(true)->setTitle("Quiet Piece");
      f.ID3v2Tag()->setArtist("Hush");
      f.ID3v2Tag()->setGenre("Instrumental");
      ASSERT_TRUE(f.save());
    }
    service_ = new LocalService({dir_->path().string()});
  }
  static void TearDownTestSuite() {
    delete service_;
    delete dir_;
  }
  static std::uint64_t id(const std::string& file) { return service_->id_of(*dir_ / file); }
  static json body(const std::string& target, int status = 200) {
    auto reply = service_->get(target);
    EXPECT_EQ(reply.status, status) << target;
    return json::parse(reply.body, nullptr, false);
  }
  static TempDir* dir_;
  static LocalService* service_;
};
TempDir* LrclibApi::dir_ = nullptr;
LocalService* LrclibApi::service_ = nullptr;

TEST_F(LrclibApi, GetAnswersTheTrackWithEveryField) {
  json track = body("/api/get?track_name=moon%20river&artist_name=the%20band&duration=200");
  EXPECT_EQ(track, json::parse(R"({"id": )" + std::to_string(id("Band - Moon River.lrc")) + R"(,
      "name": "Moon River", "trackName": "Moon River", "artistName": "The Band", "albumName": "Night",
      "duration": 200.0, "instrumental": false, "plainLyrics": "moon\nriver\nmoon",
      "syncedLyrics": "[00:05.00] moon\n[00:10.00] river\n[00:15.00] moon"})"));
  // The same record by id and without the upstream.
  EXPECT_EQ(body("/api/get/" + std::to_string(id("Band - Moon River.lrc"))), track);
  EXPECT_EQ(body("/api/get-cached?track_name=Moon+River&artist_name=The+Band&album_name=night"), track);
}

TEST_F(LrclibApi, GetTakesTheBestExactMatch) {
  const struct {
    const char* query;
    const char* file;  // nullptr: 404
  } cases[] = {
      {"track_name=MOON%20RIVER!&artist_name=the-band&duration=200", "Band - Moon River.lrc"},
      {"track_name=moon%20river&artist_name=the%20band&duration=251.5", "live/Band - Moon River.lrc"},
      {"track_name=moon%20river&artist_name=the%20band&album_name=LIVE", "live/Band - Moon River.lrc"},
      {"track_name=moon%20river&artist_name=the%20band&duration=230", nullptr},  // neither is close
      {"track_name=moon&artist_name=the%20band", nullptr},                       // a prefix is no match
      {"track_name=plain%20song&artist_name=writer&duration=99", "Writer - Plain Song.lrc"},  // unknown
      {"track_name=flac%20tune&artist_name=wave&duration=11", "tune.flac"},
      {"track_name=flac%20tune&artist_name=wave&duration=13", nullptr},
  };
  for (const auto& c : cases) {
    json track = body(std::string("/api/get?") + c.query, c.file ? 200 : 404);
    if (c.file) {
      EXPECT_EQ(track["id"], id(c.file)) << c.query;
    }
  }
}

TEST_F(LrclibApi, FieldsFromAudioFilesAndPlainText) {
  json flac = body("/api/get?track_name=flac%20tune&artist_name=wave");
  EXPECT_EQ(flac["duration"], 10.0);
  EXPECT_EQ(flac["syncedLyrics"], "[00:01.00] la");
  json quiet = body("/api/get?track_name=quiet%20piece&artist_name=hush");
  EXPECT_EQ(quiet["instrumental"], true);
  EXPECT_TRUE(quiet["plainLyrics"].is_null() && quiet["syncedLyrics"].is_null());
  json plain = body("/api/get?track_name=plain%20song&artist_name=writer");
  EXPECT_EQ(plain["plainLyrics"], "first\nsecond");
  EXPECT_TRUE(plain["syncedLyrics"].is_null() && plain["duration"].is_null());
  EXPECT_EQ(plain["instrumental"], false);
}

TEST_F(LrclibApi, IdsAreTheFindersIds) {
  const std::pair<const char*, const char*> songs[] = {{"tune.flac", "/api/lyric/flac%20tune/wave"},
                                                       {"quiet.mp3", "/api/lyric/quiet/hush"}};
  for (const auto& [file, finder_search] : songs) {
    json track = body("/api/get/" + std::to_string(id(file)));
    EXPECT_EQ(cut_all(service_->get(finder_search).body, "\"aid\": ", ","),
              std::vector<std::string>{std::to_string(track["id"].get<std::uint64_t>())});
  }
}

TEST_F(LrclibApi, SearchByTextOrFields) {
  const struct {
    const char* query;
    std::vector<std::string> files;  // in order; empty: []
  } cases[] = {
      {"q=moon%20river%20the%20band", {"Band - Moon River.lrc", "live/Band - Moon River.lrc"}},  // split
      {"q=the%20band%20moon", {"Band - Moon River.lrc", "live/Band - Moon River.lrc"}},
      {"q=night", {"Band - Moon River.lrc"}},  // an album
      {"track_name=moon&album_name=live", {"live/Band - Moon River.lrc"}},
      {"track_name=tune&artist_name=wav", {"tune.flac"}},
      {"q=nothing%20like%20this", {}},
  };
  for (const auto& c : cases) {
    json hits = body(std::string("/api/search?") + c.query);
    ASSERT_TRUE(hits.is_array()) << c.query;
    std::vector<std::uint64_t> want, got;
    for (const auto& f : c.files) want.push_back(id(f));
    for (const auto& h : hits) got.push_back(h["id"]);
    EXPECT_EQ(got, want) << c.query;
  }
  EXPECT_EQ(service_->get("/api/search?q=zzz").body, "[]");
  json many = body("/api/search?track_name=echo&artist_name=many");
  EXPECT_EQ(many.size(), 20u);
  EXPECT_EQ(many[0]["name"], many[0]["trackName"]);
}

TEST_F(LrclibApi, BadParametersAndUnknownSongs) {
  for (const char* target :
       {"/api/get?artist_name=x", "/api/get?track_name=x",
        "/api/get?track_name=x&artist_name=", "/api/get-cached?",
        "/api/get?track_name=x&artist_name=y&duration=0", "/api/get?track_name=x&artist_name=y&duration=3601",
        "/api/get?track_name=x&artist_name=y&duration=3m", "/api/get?track_name=%FF%FF%FF&artist_name=y",
        "/api/search?artist_name=x", "/api/search?q=%20", "/api/get/abc", "/api/get/0",
        "/api/get/99999999999999999"}) {
    json error = body(target, 400);
    EXPECT_EQ(error["name"], "ValidationError") << target;
    EXPECT_EQ(error["statusCode"], 400) << target;
    EXPECT_FALSE(error["message"].get<std::string>().empty()) << target;
  }
  const std::string not_found =
      R"({"message":"Failed to find specified track","name":"TrackNotFound","statusCode":404})";
  EXPECT_EQ(service_->get("/api/get/12345").body, not_found);
  EXPECT_EQ(service_->get("/api/get?track_name=no&artist_name=one").body, not_found);
}

TEST_F(LrclibApi, BrowsersMayCallIt) {
  httplib::Client client("127.0.0.1", service_->port());
  for (const char* target :
       {"/api/get?track_name=flac%20tune&artist_name=wave", "/api/search?q=x", "/api/get/1"}) {
    auto res = client.Get(target);
    ASSERT_TRUE(res);
    EXPECT_EQ(res->get_header_value("Access-Control-Allow-Origin"), "*") << target;
  }
  auto preflight = client.Options("/api/search", {{"Origin", "http://player.example"},
                                                  {"Access-Control-Request-Method", "GET"},
                                                  {"Access-Control-Request-Headers", "lrclib-client"}});
  ASSERT_TRUE(preflight);
  EXPECT_EQ(preflight->status, 204);
  EXPECT_EQ(preflight->get_header_value("Access-Control-Allow-Origin"), "*");
  EXPECT_EQ(preflight->get_header_value("Access-Control-Allow-Headers"), "lrclib-client");
}

TEST(LrclibChain, OneServiceIsAnothersUpstream) {
  TempDir home_dir, own_dir;
  write_file(home_dir / "Far - Away.lrc", "[length:61]\n[00:01.00]from home\n");
  write_file(own_dir / "Near - Here.lrc", "[00:01.00]mine\n");
  LocalService home({home_dir.path().string()});
  LocalService laptop({own_dir.path().string()}, home.base());
  auto get = [&](const std::string& target, int status) {
    auto reply = laptop.get(target);
    EXPECT_EQ(reply.status, status) << target << " " << reply.body;
    return json::parse(reply.body, nullptr, false);
  };

  EXPECT_EQ(laptop.get("/api/get-cached?track_name=away&artist_name=far").status, 404);
  json track = get("/api/get?track_name=away&artist_name=far&duration=61", 200);
  EXPECT_EQ(track["plainLyrics"], "from home");
  EXPECT_EQ(track["duration"], 61.0);
  EXPECT_NE(track["id"], home.id_of(home_dir / "Far - Away.lrc"));  // an id of the laptop's own
  EXPECT_EQ(get("/api/get/" + std::to_string(track["id"].get<std::uint64_t>()), 200), track);

  json hits = get("/api/search?q=away", 200);
  ASSERT_EQ(hits.size(), 1u);
  EXPECT_EQ(hits[0], track);                // the same song keeps the same id
  json both = get("/api/search?q=r", 200);  // "Near - Here" locally, then "Far - Away" from home
  ASSERT_EQ(both.size(), 2u);
  EXPECT_EQ(both[0]["id"], laptop.id_of(own_dir / "Near - Here.lrc"));
  EXPECT_EQ(both[1]["id"], track["id"]);
  // The finder on the laptop reaches the home library too, under the same id.
  EXPECT_EQ(cut_all(laptop.get("/api/lyric/away/far").body, "\"aid\": ", ","),
            std::vector<std::string>{std::to_string(track["id"].get<std::uint64_t>())});
}

}  // namespace
}  // namespace service_test
