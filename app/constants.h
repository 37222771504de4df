// The finder's constant data block: every text and table literal that its routines address.
// The runtime registers the block as a constant range, so values pointing into it are shared and
// never freed. Texts are GB18030 bytes, written once here.
#pragma once

#include <cstdint>

namespace app {

// name, literal
#define LYR_APP_TEXTS(X)                                                                                \
  X(empty_text, "")                                                                                     \
  X(lyric_path, "/api/lyric/")                                                                          \
  X(cover_path, "/api/cover/")                                                                          \
  X(slash, "/")                                                                                         \
  X(backslash, "\\")                                                                                    \
  X(title_separator, " - ")                                                                             \
  X(lyric_extension, ".lrc")                                                                            \
  X(shell_prefix, "explorer.exe ")                                                                      \
  /* "至少输入一个关键词！" */                                                                \
  X(no_keyword, "\xd6\xc1\xc9\xd9\xca\xe4\xc8\xeb\xd2\xbb\xb8\xf6\xb9\xd8\xbc\xfc\xb4\xca\xa3\xa1")     \
  X(notice_title, "\xcc\xe1\xca\xbe")                  /* "提示" */                                   \
  X(warning_title, "\xbe\xaf\xb8\xe6")                 /* "警告" */                                   \
  X(count_prefix, "\xb9\xb2\xa3\xba")                  /* "共：" */                                   \
  X(count_suffix, " \xb8\xe8\xb4\xca\xa1\xa3\r\n\r\n") /* " 歌词。\r\n\r\n" */                       \
  /* "下载文件失败！错误代码；" */                                                          \
  X(download_failed,                                                                                    \
    "\xcf\xc2\xd4\xd8\xce\xc4\xbc\xfe\xca\xa7\xb0\xdc\xa3\xa1\xb4\xed\xce\xf3\xb4\xfa\xc2\xeb\xa3\xbb") \
  /* "下载完毕,已保存在软件目录！" */                                                      \
  X(download_done,                                                                                      \
    "\xcf\xc2\xd4\xd8\xcd\xea\xb1\xcf\x2c\xd2\xd1\xb1\xa3\xb4\xe6\xd4\xda\xc8\xed\xbc\xfe\xc4\xbf"      \
    "\xc2\xbc\xa3\xa1")                                                                                 \
  X(id_start, "\"aid\": ")                                                                              \
  X(id_end, ",")                                                                                        \
  X(lyric_start, "\"lrc\": \"")                                                                         \
  X(quote, "\"")                                                                                        \
  X(count_start, "count\": ")                                                                           \
  X(count_end, ", \"code")                                                                              \
  X(cover_start, "\"cover\": \"")                                                                       \
  X(request_class_1, "WinHttp.WinHttpRequest.5.1")                                                      \
  X(request_class_2, "MSXML2.ServerXMLHTTP.6.0")                                                        \
  X(request_class_3, "MSXML2.ServerXMLHTTP.5.0")                                                        \
  X(stream_class, "adodb.stream")                                                                       \
  X(get_verb, "GET")                                                                                    \
  X(open_member, "Open")                                                                                \
  X(send_member, "Send")                                                                                \
  X(body_member, "ResponseBody")                                                                        \
  X(type_member, "Type")                                                                                \
  X(mode_member, "Mode")                                                                                \
  X(write_member, "Write")                                                                              \
  X(position_member, "Position")                                                                        \
  X(charset_member, "Charset")                                                                          \
  X(read_text_member, "ReadText")                                                                       \
  X(close_member, "Close")                                                                              \
  X(utf8_charset, "UTF-8")

inline constexpr std::uint32_t kAddressCapacity = 64;

struct ConstantData {
  std::uint32_t empty_array[2];         // one dimension of size 0
  std::uint32_t empty_byte_set[2];      // 1, 0
  char service_base[kAddressCapacity];  // the lyric service, without a trailing "/"
  char author_site[kAddressCapacity];   // the author's web site
#define LYR_APP_TEXT_FIELD(name, literal) char name[sizeof(literal)];
  LYR_APP_TEXTS(LYR_APP_TEXT_FIELD)
#undef LYR_APP_TEXT_FIELD
};

// The program's constant block (defined once per build of the image; tests build one with
// another service port).
extern const ConstantData kConstants;

inline const ConstantData& constants() {
  return kConstants;
}

}  // namespace app
