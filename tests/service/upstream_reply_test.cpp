// An upstream database's replies, well-formed and not: which records are read and how, and the
// shapes that must fail before they cost more than their size.
#include "service/upstream/upstream_reply.h"

#include <gtest/gtest.h>

#include <string>

namespace service_test {
namespace {

using lyr::service::kMaxReplyDepth;
using lyr::service::kMaxReplyRecords;
using lyr::service::parse_upstream_record;
using lyr::service::parse_upstream_search;

TEST(UpstreamReply, RecordFields) {
  const struct {
    const char* body;
    std::uint64_t id;  // 0: no record
    const char* title = "";
    const char* artist = "";
    std::optional<double> duration = std::nullopt;
    bool instrumental = false;
  } cases[] = {
      {R"({"id":7,"name":"n","trackName":"","duration":5,"instrumental":true})", 7, "n", "", 5.0, true},
      {R"({"id":7,"trackName":"a","trackName":"b","duration":5,"duration":"5"})", 7, "b"},  // the last counts
      {R"({"id":7,"trackName":{"x":"a"},"artistName":["b"],"instrumental":1})", 7},     // wrong types: absent
      {R"({"extra":{"trackName":"deep","id":9},"id":7,"trackName":"top"})", 7, "top"},  // nested: not ours
      {R"({"id":7,"artistName":"x","duration":-2})", 7, "", "x"},
      {R"({"id":18446744073709551615,"duration":0.5})", 18446744073709551615u, "", "", 0.5},
      {R"({"id":0})", 0},
      {R"({"id":-3})", 0},
      {R"({"id":7.0})", 0},
      {R"({"id":"7"})", 0},
      {R"({"id":7,"id":null})", 0},
      {R"([{"id":7}])", 0},  // a search reply is no record
      {R"(7)", 0},
      {R"({"id":7} x)", 0},                 // trailing bytes
      {R"({"id":7)", 0},                    // cut short
      {"{\"id\":7,\"name\":\"\xFF\"}", 0},  // not UTF-8
  };
  for (const auto& c : cases) {
    auto track = parse_upstream_record(c.body);
    ASSERT_EQ(track.ok(), c.id != 0) << c.body;
    if (!track) continue;
    EXPECT_EQ(track->id, c.id) << c.body;
    EXPECT_EQ(track->title, c.title) << c.body;
    EXPECT_EQ(track->artist, c.artist) << c.body;
    EXPECT_EQ(track->duration, c.duration) << c.body;
    EXPECT_EQ(track->instrumental, c.instrumental) << c.body;
  }
}

TEST(UpstreamReply, SearchKeepsTheRecordsInOrder) {
  auto tracks =
      parse_upstream_search(R"([{"id":1},3,{"id":"2"},[{"id":4}],null,{"id":5,"plainLyrics":"x"}])");
  ASSERT_TRUE(tracks);
  ASSERT_EQ(tracks->size(), 2u);
  EXPECT_EQ(tracks.value()[0].id, 1u);
  EXPECT_EQ(tracks.value()[1].id, 5u);
  EXPECT_EQ(tracks.value()[1].plain, "x");
  EXPECT_TRUE(parse_upstream_search("[]"));
  EXPECT_FALSE(parse_upstream_search(R"({"id":1})"));
  EXPECT_FALSE(parse_upstream_search(""));
}

// A reply built to cost much more than its size to hold: deep nesting fails, and a search keeps
// no more records than any caller wants.
TEST(UpstreamReply, HostileShapesAreBounded) {
  auto nested = [](std::size_t depth) { return std::string(depth, '[') + std::string(depth, ']'); };
  EXPECT_TRUE(parse_upstream_search(nested(kMaxReplyDepth)));
  auto deep = parse_upstream_search(nested(kMaxReplyDepth + 1));
  ASSERT_FALSE(deep);
  EXPECT_NE(deep.error().find("nested deeper"), std::string::npos) << deep.error();
  EXPECT_FALSE(parse_upstream_search(std::string(8u << 20, '[')));
  EXPECT_FALSE(parse_upstream_record(R"({"id":7,"x":)" + nested(kMaxReplyDepth)));

  std::string many = "[";
  for (std::size_t i = 1; i <= kMaxReplyRecords + 50; ++i)
    many += (i > 1 ? ",{\"id\":" : "{\"id\":") + std::to_string(i) + "}";
  many += "]";
  auto tracks = parse_upstream_search(many);
  ASSERT_TRUE(tracks);
  ASSERT_EQ(tracks->size(), kMaxReplyRecords);
  EXPECT_EQ(tracks->back().id, kMaxReplyRecords);
}

}  // namespace
}  // namespace service_test
