#include "service/library/local_track.h"

#include "service/library/audio_file.h"
#include "service/library/lrc_file.h"
#include "service/text/lrc_lyric.h"

namespace lyr::service {

namespace {

Result<std::string> lyric_text(const LyricEntry& entry) {
  switch (entry.lyric_kind) {
    case LyricSourceKind::lrc_file:
      return read_lrc_text(entry.lyric_path);
    case LyricSourceKind::embedded_audio: {
      SERVICE_TRY_ASSIGN(AudioTags tags, read_audio_tags(entry.lyric_path, false));
      return std::move(tags.lyrics);
    }
    case LyricSourceKind::none:
      break;
  }
  return std::string("[instrumental]");
}

}  // namespace

Result<LrcLyric> read_local_lyric(const LyricEntry& entry) {
  SERVICE_TRY_ASSIGN(std::string text, lyric_text(entry));
  return read_lrc_lyric(text);
}

Track local_track(const LyricEntry& entry, const LrcLyric& lyric) {
  Track t;
  t.id = entry.id;
  t.title = entry.title;
  t.artist = entry.artist;
  t.album = entry.album;
  t.duration = entry.duration;
  t.instrumental = lyric.instrumental;
  t.plain = lyric.plain;
  t.synced = lyric.synced;
  return t;
}

Result<Track> read_local_track(const LyricEntry& entry) {
  SERVICE_TRY_ASSIGN(LrcLyric lyric, read_local_lyric(entry));
  return local_track(entry, lyric);
}

}  // namespace lyr::service
