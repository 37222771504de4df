// How keywords meet titles and artists: the forms that must match, and the order of hits.
#include <gtest/gtest.h>

#include "service/library/lyric_index.h"
#include "service/text/match_key.h"

namespace service_test {
namespace {

using lyr::service::LyricEntry;
using lyr::service::LyricIndex;
using lyr::service::match_key;

TEST(MatchKey, IgnoresCaseWidthSpacingAndPunctuation) {
  EXPECT_EQ(match_key("  Ｈｅｌｌｏ,  World! "), "helloworld");
  EXPECT_EQ(match_key("HELLO\u3000world"), "helloworld");
  EXPECT_EQ(match_key("Don't Stop (Live)"), "dontstoplive");
  EXPECT_EQ(match_key("《夜空的灯》"), "夜空的灯");
  EXPECT_EQ(match_key("ÉTÉ Ωμέγα"), match_key("été ωμέγα"));
  EXPECT_EQ(match_key("ﾊﾟﾝﾀﾞ ｶﾞｰﾙ"), "パンダガール");  // half-width kana, voiced marks joined
  EXPECT_EQ(match_key("ｳﾞ"), "ヴ");
  EXPECT_EQ(match_key("!!!"), "");
}

std::vector<LyricEntry> songs(std::initializer_list<std::pair<const char*, const char*>> names) {
  std::vector<LyricEntry> out;
  for (auto [title, artist] : names) {
    LyricEntry e;
    e.title = title;
    e.artist = artist;
    out.push_back(e);
  }
  return out;
}

std::vector<std::uint32_t> find(const LyricIndex& index, const char* title, const char* artist,
                                std::size_t limit = 100) {
  return index.search(match_key(title), match_key(artist), limit);
}

TEST(LyricIndex, ExactBeforePrefixBeforeSubstringThenEntryOrder) {
  LyricIndex index(songs({{"Moonlight Drive", "A"},
                          {"The Moon", "B"},
                          {"Moon", "C"},
                          {"Blue Moon", "D"},
                          {"moon!", "E"},
                          {"Sun", "F"}}));
  EXPECT_EQ(find(index, "MOON", ""), (std::vector<std::uint32_t>{2, 4, 0, 1, 3}));
  EXPECT_EQ(find(index, "MOON", "", 3), (std::vector<std::uint32_t>{2, 4, 0}));
}

TEST(LyricIndex, BothFieldsMustMatchAndTheWeakerDecides) {
  LyricIndex index(songs({{"Rain", "The Rainmakers"},
                          {"Rain Song", "Rainmakers"},
                          {"Rain", "Old Rainmakers Band"},
                          {"Rain", "Somebody"},
                          {"Rain", "rainmakers"}}));
  EXPECT_EQ(find(index, "rain", "rainmakers"), (std::vector<std::uint32_t>{4, 1, 0, 2}));
  EXPECT_EQ(find(index, "", "somebody"), (std::vector<std::uint32_t>{3}));
  EXPECT_TRUE(find(index, "", "").empty());
  EXPECT_TRUE(find(index, "snow", "rainmakers").empty());
}

TEST(LyricIndex, KeyRepeatedInsideATitleIsOneHitAndNonLatinKeysMatchInside) {
  LyricIndex index(
      songs({{"la la la", "x"}, {"夜空的灯", "林小雨"}, {"灯", "y"}, {"별빛 정류장", "한여름"}}));
  EXPECT_EQ(find(index, "la", ""), (std::vector<std::uint32_t>{0}));
  EXPECT_EQ(find(index, "灯", ""), (std::vector<std::uint32_t>{2, 1}));
  EXPECT_EQ(find(index, "정류", ""), (std::vector<std::uint32_t>{3}));
}

TEST(LyricIndex, AtMostTheLimitInStableOrder) {
  std::vector<LyricEntry> many;
  for (int i = 0; i < 300; ++i) {
    LyricEntry e;
    e.title = "Song " + std::to_string(300 - i);
    e.artist = "Band";
    many.push_back(e);
  }
  LyricIndex index(std::move(many));
  auto hits = index.search(match_key(""), match_key("band"), 100);
  ASSERT_EQ(hits.size(), 100u);
  for (std::uint32_t i = 0; i < 100; ++i) EXPECT_EQ(hits[i], i);
}

}  // namespace
}  // namespace service_test
