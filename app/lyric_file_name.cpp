#include "app/lyric_file_name.h"

#include <cstring>

#include "app/code_page_chars.h"
#include "app/constants.h"

namespace app {
namespace {

bool refused(unsigned char c) {
  return c < 0x20 || c == 0x7F || (c != '\0' && std::strchr("\\/:*?\"<>|", c) != nullptr);
}

// The field with refused characters replaced, cut where its UTF-8 form would pass `budget`.
std::string safe_part(std::string_view field, std::size_t budget) {
  std::string out;
  std::size_t used = 0;
  for (std::size_t at = 0; at < field.size();) {
    const std::size_t n = char_length(field, at);
    used += utf8_bound(n);
    if (used > budget) break;
    const auto c = static_cast<unsigned char>(field[at]);
    if (n == 1 && refused(c)) {
      out += '_';
    } else {
      out.append(field, at, n);
    }
    at += n;
  }
  return out;
}

std::size_t utf8_size(std::string_view text) {
  std::size_t size = 0;
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t n = char_length(text, at);
    size += utf8_bound(n);
    at += n;
  }
  return size;
}

}  // namespace

std::string lyric_file_name(std::string_view title, std::string_view artist) {
  const ConstantData& c = constants();
  const std::string_view separator = c.title_separator, extension = c.lyric_extension;
  const std::size_t fixed = separator.size() + extension.size();
  const std::size_t artist_room = kMaxNameBytes - fixed;
  std::string safe_artist = safe_part(artist, artist_room);
  std::string safe_title = safe_part(title, artist_room - utf8_size(safe_artist));
  std::string name = safe_title;
  name.append(separator).append(safe_artist).append(extension);
  return name;
}

}  // namespace app
