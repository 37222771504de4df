#include "service/library/song_reads.h"

#include <sys/stat.h>

#include <cerrno>

#include "service/library/audio_file.h"
#include "service/library/file_bytes.h"
#include "service/library/image_type.h"

namespace lyr::service {

namespace {

bool same_time(const timespec& a, const timespec& b) {
  return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

FileVersion version_of(const struct stat& st) {
  return {st.st_dev, st.st_ino, st.st_size, st.st_mtim, st.st_ctim};
}

// The file's version now; nullopt when it can't be looked at, `gone` when it does not exist.
std::optional<FileVersion> version_now(const std::string& path, bool follow, bool& gone) {
  struct stat st {};
  int rc = follow ? stat(path.c_str(), &st) : lstat(path.c_str(), &st);
  gone = rc != 0 && errno == ENOENT;
  if (rc != 0) return std::nullopt;
  return version_of(st);
}

}  // namespace

bool FileVersion::operator==(const FileVersion& o) const {
  return dev == o.dev && ino == o.ino && size == o.size && same_time(mtime, o.mtime) &&
         same_time(ctime, o.ctime);
}

template <typename T, typename Read>
FileRead<T> SongReads::get(const std::string& path, Read read) {
  if (auto it = now_.find(path); it != now_.end())
    if (auto* kept = std::get_if<Result<T>>(&it->second.what)) return {*kept};
  bool gone = false;
  std::optional<FileVersion> before = version_now(path, true, gone);
  if (gone) return {fail("gone"), false, true};
  if (before)
    if (auto it = earlier_.find(path); it != earlier_.end() && it->second.version == *before)
      if (auto* kept = std::get_if<Result<T>>(&it->second.what)) {
        FileRead<T> out{*kept};
        now_.insert_or_assign(path, std::move(it->second));
        earlier_.erase(it);
        return out;
      }
  Result<T> result = read();
  if (!result) {
    // A copy still being written or a file deleted under the read is no fault of the file.
    std::optional<FileVersion> after = version_now(path, true, gone);
    if (gone || (before && after && !(*after == *before))) return {std::move(result), true, true};
  }
  if (before) now_.insert_or_assign(path, RememberedRead{*before, result});
  return {std::move(result), true};
}

FileRead<LrcSong> SongReads::lrc_song(const std::string& path, std::string_view stem) {
  return get<LrcSong>(path, [&]() { return read_lrc_song(path, stem); });
}

FileRead<AudioFacts> SongReads::audio(const std::string& path) {
  return get<AudioFacts>(path, [&]() -> Result<AudioFacts> {
    SERVICE_TRY_ASSIGN(AudioTags tags, read_audio_tags(path, true));
    return AudioFacts{std::move(tags.names), tags.duration, !tags.lyrics.empty(), tags.instrumental,
                      std::string(image_ext(tags.cover))};
  });
}

FileRead<std::string> SongReads::picture(const std::string& path) {
  return get<std::string>(path, [&]() -> Result<std::string> {
    SERVICE_TRY_ASSIGN(std::string bytes, read_file_bytes(path));
    std::string_view ext = image_ext(bytes);
    if (ext.empty()) return fail("not a JPEG, PNG, GIF or BMP picture");
    return std::string(ext);
  });
}

bool SongReads::new_dead_link(const std::string& path) {
  bool gone = false;
  std::optional<FileVersion> link = version_now(path, false, gone);
  if (!link) return false;
  auto it = earlier_.find(path);
  bool seen = it != earlier_.end() && it->second.version == *link &&
              std::holds_alternative<DeadLink>(it->second.what);
  bool again = now_.count(path) > 0;
  now_.insert_or_assign(path, RememberedRead{*link, DeadLink{}});
  return !seen && !again;
}

}  // namespace lyr::service
