// The stream class: positions, types, charsets and files, called by member name.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/com/ansi_text.h"
#include "platform/com/classes/charset.h"
#include "tests/platform/com/dispatch_call.h"

namespace lyr::test {
namespace {

constexpr HRESULT kOperationNotAllowed = static_cast<HRESULT>(0x800A0C93);
constexpr HRESULT kObjectClosed = static_cast<HRESULT>(0x800A0E78);

class Stream : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(stream_.get(), nullptr);
    ASSERT_EQ(stream_.method(u"Open"), S_OK);
  }
  std::u16string read_text(const char16_t* charset, std::string_view bytes) {
    stream_.put(u"Position", long_var(0));
    stream_.put(u"Type", long_var(1));
    stream_.method(u"Write", {bytes_var(bytes)});
    stream_.method(u"SetEOS");
    stream_.put(u"Position", long_var(0));
    stream_.put(u"Type", long_var(2));
    stream_.put(u"Charset", text_var(charset));
    Var text;
    EXPECT_EQ(stream_.method(u"ReadText", {}, &text), S_OK);
    return text.v.bstrVal == nullptr ? u"" : std::u16string(text.v.bstrVal);
  }
  LONG long_property(const char16_t* name) {
    Var v;
    stream_.get(name, &v);
    return v.v.lVal;
  }

  Client stream_{u"ADODB.Stream"};
};

TEST_F(Stream, BytesAreWrittenAtThePositionAndReadBack) {
  stream_.method(u"Write", {bytes_var("abcdef")});
  stream_.put(u"Position", long_var(2));
  stream_.method(u"Write", {bytes_var("XYZW!")});
  EXPECT_EQ(long_property(u"Size"), 7);
  stream_.put(u"Position", long_var(1));
  Var part;
  stream_.method(u"Read", {long_var(3)}, &part);
  EXPECT_EQ(bytes_of(part.v), "bXY");
  Var rest;
  stream_.method(u"Read", {}, &rest);
  EXPECT_EQ(bytes_of(rest.v), "ZW!");
  Var eos;
  stream_.get(u"EOS", &eos);
  EXPECT_EQ(eos.v.boolVal, VARIANT_TRUE);
  stream_.put(u"Position", long_var(3));
  stream_.method(u"SetEOS");
  EXPECT_EQ(long_property(u"Size"), 3);
  HRESULT scode = S_OK;
  EXPECT_EQ(stream_.put(u"Position", long_var(9), &scode), DISP_E_EXCEPTION) << "beyond the end";
}

TEST_F(Stream, TypeAndCharsetChangeOnlyAtTheStart) {
  stream_.method(u"Write", {bytes_var("abc")});
  HRESULT scode = S_OK;
  EXPECT_EQ(stream_.put(u"Type", long_var(2), &scode), DISP_E_EXCEPTION);
  EXPECT_EQ(scode, kOperationNotAllowed);
  EXPECT_EQ(stream_.method(u"ReadText", {}, nullptr, &scode), DISP_E_EXCEPTION)
      << "text read on a binary stream";
  EXPECT_EQ(stream_.put(u"Charset", text_var(u"no-such-charset")), DISP_E_EXCEPTION);
  stream_.put(u"Position", long_var(0));
  EXPECT_EQ(stream_.put(u"Type", long_var(2)), S_OK);
  EXPECT_EQ(stream_.method(u"Write", {bytes_var("x")}, nullptr, &scode), DISP_E_EXCEPTION);
}

TEST_F(Stream, TextInTheCommonCharsets) {
  EXPECT_EQ(read_text(u"GB2312", "\xB8\xE8\xB4\xCA"), u"歌词");
  EXPECT_EQ(read_text(u"Big5", "\xBA\x71"), u"歌");
  EXPECT_EQ(read_text(u"Unicode", std::string("\xFF\xFE\x4C\x6B", 4)), u"歌") << "the mark is skipped";
  EXPECT_EQ(read_text(u"UTF-16BE", std::string("\x6B\x4C", 2)), u"歌");
  EXPECT_EQ(read_text(u"iso-8859-1", "caf\xE9"), u"café");
  EXPECT_EQ(read_text(u"utf-8", "\xE6\xAD"), u"\uFFFD") << "a cut character is replaced, not dropped";
}

TEST_F(Stream, WriteTextEncodesAndReadTextTakesCharactersOrLines) {
  stream_.put(u"Type", long_var(2));
  stream_.put(u"Charset", text_var(u"GBK"));
  stream_.method(u"WriteText", {text_var(u"歌词\r\n第二行")});
  EXPECT_EQ(long_property(u"Size"), 12);
  stream_.put(u"Position", long_var(0));
  Var line, next;
  stream_.method(u"ReadText", {long_var(-2)}, &line);
  EXPECT_EQ(std::u16string(line.v.bstrVal), u"歌词");
  EXPECT_EQ(long_property(u"Position"), 6);
  stream_.method(u"ReadText", {long_var(1)}, &next);
  EXPECT_EQ(std::u16string(next.v.bstrVal), u"第");
}

TEST_F(Stream, FilesAreSavedWholeOrNotAtAll) {
  auto directory = std::filesystem::temp_directory_path() / "lyr-stream-test";
  std::filesystem::create_directories(directory);
  std::string file = (directory / "saved.lrc").string();
  stream_.method(u"Write", {bytes_var("[00:01.00]line")});
  std::u16string wide(file.begin(), file.end());
  EXPECT_EQ(stream_.method(u"SaveToFile", {text_var(wide), long_var(2)}), S_OK);
  HRESULT scode = S_OK;
  EXPECT_EQ(stream_.method(u"SaveToFile", {text_var(wide)}, nullptr, &scode), DISP_E_EXCEPTION)
      << "an existing file is kept unless overwriting is asked for";
  std::u16string missing = wide + u".dir/x.lrc";
  EXPECT_EQ(stream_.method(u"SaveToFile", {text_var(missing), long_var(2)}, nullptr, &scode),
            DISP_E_EXCEPTION);
  EXPECT_FALSE(std::filesystem::exists(file + ".dir"));

  Client other(u"adodb.stream");
  other.method(u"Open");
  EXPECT_EQ(other.method(u"LoadFromFile", {text_var(wide)}), S_OK);
  Var bytes;
  other.method(u"Read", {}, &bytes);
  EXPECT_EQ(bytes_of(bytes.v), "[00:01.00]line");
  std::filesystem::remove_all(directory);
}

TEST_F(Stream, AClosedStreamRefusesWork) {
  stream_.method(u"Close");
  Var state;
  stream_.get(u"State", &state);
  EXPECT_EQ(state.v.lVal, 0);
  HRESULT scode = S_OK;
  EXPECT_EQ(stream_.method(u"Write", {bytes_var("a")}, nullptr, &scode), DISP_E_EXCEPTION);
  EXPECT_EQ(scode, kObjectClosed);
}

TEST(Charset, DecodingReplacesBadBytesAndEncodingMarksWhatDoesNotFit) {
  using platform::com::Charset;
  auto utf8 = Charset::find(u"UTF-8");
  const std::string bad =
      "a\xC0\x80"
      "b\xED\xA0\x80"
      "c\xF4\x90\x80\x80";
  std::u16string decoded =
      utf8->decode({reinterpret_cast<const std::uint8_t*>(bad.data()), bad.size()}, false);
  EXPECT_EQ(decoded, u"a\uFFFD\uFFFDb\uFFFDc\uFFFD") << "overlong, surrogate and out-of-range forms";
  EXPECT_EQ(Charset::find(u"us-ascii")->encode(u"a歌b"), "a?b");
  EXPECT_EQ(Charset::find(u"GB18030")->encode(u"😀"), "\x94\x39\xFC\x36");
  EXPECT_FALSE(Charset::find(u"klingon-8"));

  const std::u16string text =
      u"a\xD800"
      u"b歌😀";
  std::string ansi(platform::com::ansi_max_length(text), '\0');
  ansi.resize(platform::com::ansi_encode(text, ansi.data()));
  EXPECT_EQ(ansi, "a?b\xB8\xE8\x94\x39\xFC\x36") << "a lone surrogate becomes '?'";
}

}  // namespace
}  // namespace lyr::test
