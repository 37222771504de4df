// What an index of one folder reads from its files, remembered per version of each file. An index
// that starts from the folder's previous reads (ReadMemo) re-reads only the files whose inode,
// size or times changed, so one edited song in a big folder costs one read, and a file that
// can't be read is warned about once, not at every rescan: failures are remembered too.
// A file that vanished or changed while it was read is "unsettled": not an error and not
// remembered, since whatever moved it brings it back to be read again.
#pragma once

#include <sys/types.h>

#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <variant>

#include "service/core/result.h"
#include "service/library/lrc_file.h"

namespace lyr::service {

// What an entry takes from an audio file; the tags themselves are read again when served.
struct AudioFacts {
  SongNames names;
  std::optional<double> duration;
  bool has_lyrics = false;
  bool instrumental = false;
  std::string cover_ext;  // of the embedded picture; empty when there is none that is a picture
};

struct FileVersion {
  dev_t dev = 0;
  ino_t ino = 0;
  off_t size = 0;
  timespec mtime{};
  timespec ctime{};
  bool operator==(const FileVersion& o) const;
};

struct DeadLink {};

struct RememberedRead {
  FileVersion version;
  // A picture's read is its extension.
  std::variant<Result<LrcSong>, Result<AudioFacts>, Result<std::string>, DeadLink> what;
};
using ReadMemo = std::unordered_map<std::string, RememberedRead>;  // by path

template <typename T>
struct FileRead {
  Result<T> result;
  bool fresh = false;      // read just now, not remembered from before
  bool unsettled = false;  // gone or changed during the read
};

class SongReads {
 public:
  explicit SongReads(ReadMemo earlier = {}) : earlier_(std::move(earlier)) {}

  // `stem` names the song when the tags don't (the file name, made readable).
  FileRead<LrcSong> lrc_song(const std::string& path, std::string_view stem);
  FileRead<AudioFacts> audio(const std::string& path);
  FileRead<std::string> picture(const std::string& path);
  // True the first time this link (as it is now) is seen leading nowhere.
  bool new_dead_link(const std::string& path);

  // The reads of this index, for the next one; files not looked at this time are dropped.
  ReadMemo take() && { return std::move(now_); }

 private:
  template <typename T, typename Read>
  FileRead<T> get(const std::string& path, Read read);

  ReadMemo earlier_;
  ReadMemo now_;
};

}  // namespace lyr::service
