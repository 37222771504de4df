// What a lyric says, as the LRCLIB interface reports it: the time-tagged and the plain form of
// LRC text as it is found in the wild, and the [length:] tag.
#include "service/text/lrc_lyric.h"

#include <gtest/gtest.h>

#include <optional>

namespace service_test {
namespace {

using lyr::service::read_lrc_lyric;

struct Case {
  const char* what;
  std::string text;
  std::optional<std::string> synced;
  std::optional<std::string> plain;
  bool instrumental = false;
};

TEST(LrcLyric, SyncedAndPlainForms) {
  const Case cases[] = {
      {"several tags on a line, headers, a mark and CR LF",
       "\xEF\xBB\xBF[ti:Song]\r\n[ar:Band]\r\n[00:10.00][00:30.50]chorus\r\n[00:20.00]verse\r\n",
       "[00:10.00] chorus\n[00:20.00] verse\n[00:30.50] chorus", "chorus\nverse\nchorus"},
      {"a positive offset shows lines sooner, never before the start",
       "[offset:+500]\n[00:01.00]a\n[00:00.20]b\n", "[00:00.00] b\n[00:00.50] a", "b\na"},
      {"a negative offset shows them later", "[offset:-1000]\n[00:01.00]a\n", "[00:02.00] a", "a"},
      {"time forms: short minutes, a colon before hundredths, milliseconds",
       "[1:02.5]x\n[00:03:25]y\n[00:04.125]z\n", "[00:03.25] y\n[00:04.12] z\n[01:02.50] x", "y\nz\nx"},
      {"word times are kept in the synced form only", "[00:01.00]<00:01.00>Hel<00:01.50>lo <b>\n",
       "[00:01.00] <00:01.00>Hel<00:01.50>lo <b>", "Hello <b>"},
      {"untimed text keeps its order; blank runs become one", "[ti:x]\n\nline one\n\n\n\nline two\n\n",
       std::nullopt, "line one\n\nline two"},
      {"pauses in a synced lyric separate verses", "[00:01.00]a\n[00:02.00]\n[00:03.00]b\n",
       "[00:01.00] a\n[00:02.00]\n[00:03.00] b", "a\n\nb"},
      {"a bracketed line that is no tag is text", "[Verse 1]\nwords\n", std::nullopt, "[Verse 1]\nwords"},
      {"an instrumental says so", "[ar:x]\r\n[00:00.00][Instrumental]\r\n", std::nullopt, std::nullopt, true},
      {"a lyric that also names an instrumental part is not one", "[instrumental]\nla la\n", std::nullopt,
       "[instrumental]\nla la"},
      {"nothing at all", "", std::nullopt, std::nullopt},
      {"only headers", "[ti:x]\n[ar:y]\n", std::nullopt, std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    auto lyric = read_lrc_lyric(c.text);
    EXPECT_EQ(lyric.synced, c.synced);
    EXPECT_EQ(lyric.plain, c.plain);
    EXPECT_EQ(lyric.instrumental, c.instrumental);
  }
}

// Offsets and times at the edges: the shift never overflows, and every synced line keeps a tag
// that reads back as the same time.
TEST(LrcLyric, ExtremeOffsetsStayReadable) {
  const std::pair<const char*, const char*> cases[] = {
      {"[offset:-9223372036854775808]\n[00:01.00]a\n", "[00:01.00] a"},  // shift would overflow: ignored
      {"[offset:9223372036854775807]\n[00:01.00]a\n", "[00:01.00] a"},
      {"[offset:-600000000]\n[00:01.00]a\n", "[00:01.00] a"},    // just past the latest time: ignored
      {"[offset:-599999999]\n[00:01.00]a\n", "[9999:59.99] a"},  // later, but never past it
      {"[offset:-1000]\n[9999:59.50]a\n[9999:59.00]b\n", "[9999:59.99] a\n[9999:59.99] b"},
      {"[offset:599999999]\n[9999:59.99]a\n", "[00:00.00] a"},
  };
  for (const auto& [text, synced] : cases) {
    auto lyric = read_lrc_lyric(text);
    ASSERT_TRUE(lyric.synced) << text;
    EXPECT_EQ(*lyric.synced, synced) << text;
    EXPECT_EQ(read_lrc_lyric(*lyric.synced).synced, lyric.synced) << text;
  }
}

TEST(LrcLyric, LengthTag) {
  const std::pair<const char*, std::optional<double>> cases[] = {
      {"[length: 03:45.50]\n", 225.5},    {"[length:225]\n", 225.0},
      {"[LENGTH:1:00]\n", 60.0},          {"[length:abc]\n", std::nullopt},
      {"[length:03:75]\n", std::nullopt}, {"[00:01.00]no tag\n", std::nullopt},
  };
  for (const auto& [text, length] : cases) EXPECT_EQ(read_lrc_lyric(text).length, length) << text;
}

}  // namespace
}  // namespace service_test
