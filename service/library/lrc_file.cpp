#include "service/library/lrc_file.h"

#include "service/library/file_bytes.h"
#include "service/text/lrc_lyric.h"
#include "service/text/lyric_encoding.h"

namespace lyr::service {

namespace {

std::string_view trim(std::string_view s) {
  auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!s.empty() && blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && blank(s.back())) s.remove_suffix(1);
  return s;
}

bool tag_is(std::string_view name, std::string_view want) {
  if (name.size() != want.size()) return false;
  for (std::size_t i = 0; i < name.size(); ++i)
    if ((name[i] | 0x20) != want[i]) return false;
  return true;
}

}  // namespace

SongNames lrc_tags(std::string_view text) {
  SongNames names;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = trim(text.substr(pos, end - pos));
    pos = end + 1;
    if (line.size() < 4 || line.front() != '[' || line.back() != ']') continue;
    std::size_t colon = line.find(':');
    if (colon == std::string_view::npos) continue;
    std::string_view name = trim(line.substr(1, colon - 1));
    std::string_view value = trim(line.substr(colon + 1, line.size() - colon - 2));
    std::string* field = tag_is(name, "ti")   ? &names.title
                         : tag_is(name, "ar") ? &names.artist
                         : tag_is(name, "al") ? &names.album
                                              : nullptr;
    if (field && field->empty()) *field = value;
  }
  return names;
}

SongNames names_from_stem(std::string_view stem) {
  SongNames names;
  std::size_t dash = stem.find(" - ");
  if (dash == std::string_view::npos) {
    names.title = trim(stem);
  } else {
    names.artist = trim(stem.substr(0, dash));
    names.title = trim(stem.substr(dash + 3));
  }
  return names;
}

void fill_missing(SongNames& names, const SongNames& fallback) {
  if (names.title.empty()) names.title = fallback.title;
  if (names.artist.empty()) names.artist = fallback.artist;
  if (names.album.empty()) names.album = fallback.album;
}

Result<std::string> read_lrc_text(const std::string& path) {
  SERVICE_TRY_ASSIGN(std::string bytes, read_file_bytes(path));
  return to_utf8(std::move(bytes));
}

Result<LrcSong> read_lrc_song(const std::string& path, std::string_view stem) {
  SERVICE_TRY_ASSIGN(std::string text, read_lrc_text(path));
  LrcSong song{lrc_tags(text), read_lrc_lyric(text).length};
  fill_missing(song.names, names_from_stem(stem));
  return song;
}

}  // namespace lyr::service
