// Lyric files in every stored encoding are served as the same UTF-8; files that fit no
// encoding are skipped with a warning, never served half-converted.
#include <gtest/gtest.h>

#include "service/text/lyric_encoding.h"
#include "tests/service/support/service_fixture.h"

namespace service_test {
namespace {

using lyr::service::to_utf8;

const std::string kLyric = "[ti:月光]\n[ar:苏青]\n[00:01.00]月光落在钢琴上 ~ moon\n";

std::string utf16(const std::string& utf8, bool little) {
  std::string out = little ? "\xFF\xFE" : "\xFE\xFF";
  std::u32string wide;
  for (std::size_t i = 0; i < utf8.size();) {
    unsigned char c = static_cast<unsigned char>(utf8[i]);
    int len = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
    char32_t cp = len == 1 ? c : c & (0xFF >> (len + 1));
    for (int k = 1; k < len; ++k) cp = (cp << 6) | (utf8[i + k] & 0x3F);
    wide.push_back(cp);
    i += len;
  }
  for (char32_t cp : wide) {
    auto put = [&](char16_t u) {
      out.push_back(static_cast<char>(little ? u & 0xFF : u >> 8));
      out.push_back(static_cast<char>(little ? u >> 8 : u & 0xFF));
    };
    if (cp >= 0x10000) {
      put(static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10)));
      put(static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF)));
    } else {
      put(static_cast<char16_t>(cp));
    }
  }
  return out;
}

TEST(LyricEncoding, EveryStoredEncodingIsServedAsTheSameUtf8) {
  TempDir dir;
  // GB18030 bytes of kLyric (GBK for the Chinese, ASCII otherwise).
  const std::string gbk =
      "[ti:\xD4\xC2\xB9\xE2]\n[ar:\xCB\xD5\xC7\xE0]\n[00:01.00]"
      "\xD4\xC2\xB9\xE2\xC2\xE4\xD4\xDA\xB8\xD6\xC7\xD9"
      "\xC9\xCF ~ moon\n";
  write_file(dir / "1.lrc", kLyric);
  write_file(dir / "2.lrc", "\xEF\xBB\xBF" + kLyric);
  write_file(dir / "3.lrc", utf16(kLyric, true));
  write_file(dir / "4.lrc", utf16(kLyric, false));
  write_file(dir / "5.lrc", gbk);
  LocalService service({dir.path().string()});
  ASSERT_EQ(service.service().library()->size(), 5u) << service.log();
  for (int id = 1; id <= 5; ++id) {
    auto reply = service.get("/lrc/" + service.id_text(dir / (std::to_string(id) + ".lrc")) + ".lrc");
    EXPECT_EQ(reply.status, 200);
    EXPECT_EQ(reply.content_type, "text/plain; charset=utf-8");
    EXPECT_EQ(reply.body, kLyric) << "id " << id;
  }
  // The tags were read through the same decoding.
  auto hits = service.get("/api/lyric/%E6%9C%88%E5%85%89/%E8%8B%8F%E9%9D%92");
  EXPECT_EQ(cut_one(hits.body, "count\": ", ", \"code"), "5");
}

TEST(LyricEncoding, CharactersOutsideTheBasicPlaneSurvive) {
  const std::string text = "[00:01.00]𠀀 🎵 ok\n";
  EXPECT_EQ(to_utf8(utf16(text, true)).value(), text);
  EXPECT_EQ(to_utf8(utf16(text, false)).value(), text);
  // U+20000 in GB18030's four-byte form.
  EXPECT_EQ(to_utf8("\x95\x32\x82\x36").value(), "𠀀");
}

TEST(LyricEncoding, BytesThatFitNoEncodingAreRefused) {
  EXPECT_FALSE(to_utf8("\xFF\xFE\x41"));                              // odd UTF-16 length
  EXPECT_FALSE(to_utf8(std::string("\xFF\xFE\x00\xD8\x41\x00", 6)));  // high surrogate, then a letter
  EXPECT_FALSE(to_utf8("\xEF\xBB\xBF\xC3"));                          // broken UTF-8 after a mark
  EXPECT_FALSE(to_utf8("ok \x80\xFF ok"));                            // neither UTF-8 nor GB18030
}

TEST(LyricEncoding, UndecodableFileIsSkippedWithAWarningNamingIt) {
  TempDir dir;
  write_file(dir / "good.lrc", "[00:01.00]fine\n");
  write_file(dir / "bad.lrc", "[00:01.00]\xFF\xFF\xFF\n");
  LocalService service({dir.path().string()});
  EXPECT_EQ(service.service().library()->size(), 1u);
  EXPECT_NE(service.log().find("warning: skipping " + (dir / "bad.lrc")), std::string::npos) << service.log();
  EXPECT_NE(service.log().find("1 songs from 2 files, 1 skipped"), std::string::npos) << service.log();
}

}  // namespace
}  // namespace service_test
