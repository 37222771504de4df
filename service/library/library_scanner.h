// Walks a folder tree and turns its lyric files and audio files into entries.
// - "X.lrc" is a song of its own unless an audio file "X.<ext>" lies beside it: then it is that
//   file's lyric (sidecar), and the audio tags name the song.
// - An audio file without a sidecar or an embedded lyric is not a song of a lyric service, unless
//   it is tagged instrumental.
// - Covers: the audio file's own picture, else "X.jpg|png|gif|bmp" beside the song, else the
//   folder's cover.jpg/folder.jpg (or .png).
// Files are visited in byte order of their names, folders after files. Paths start from the
// root made absolute and normal, so the same file has the same path however the root is named. Symbolic links
// to folders are not followed (no loops). A file that can't be read or decoded is skipped with a warning
// naming it (once: see song_reads.h), one that vanishes while it is read is passed over
// silently; a progress line is kept on `log`.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "service/library/lyric_entry.h"
#include "service/library/song_reads.h"

namespace lyr::service {

struct ScanStats {
  std::size_t files = 0;    // files looked at
  std::size_t songs = 0;    // entries added
  std::size_t skipped = 0;  // files that could not be read or decoded
};

// Adds the songs under `root` to `out`. `log` may be null (no progress, no warnings).
ScanStats scan_library(const std::string& root, std::vector<LyricEntry>& out, std::FILE* log);

// The absolute, normal form of a library folder as given: "Music", "./Music/" and "/home/me/Music"
// all give the last.
std::string library_root(const std::string& given);

// Where a scan puts what it finds, one folder at a time, in walk order.
class ScanSink {
 public:
  virtual ~ScanSink() = default;
  // `dir` is about to be listed: a watch set now misses no change made after the listing.
  virtual void entering(const std::string& dir) { (void)dir; }
  // What the previous index of `dir` read; files unchanged since are not read again.
  virtual ReadMemo earlier_reads(const std::string& dir) {
    (void)dir;
    return {};
  }
  virtual void folder(const std::string& dir, std::vector<LyricEntry> songs, ReadMemo reads) = 0;
  // A file still being written is left for later, as if it were not there yet.
  virtual bool unfinished(const std::string& path) {
    (void)path;
    return false;
  }
  // Asked between folders: true ends the walk early.
  virtual bool stopping() { return false; }
};

// The walk of scan_library, folder by folder into `sink`, from `root` as library_root gives it.
// `report`: the progress and summary lines (and a root that is no folder) on `log`; warnings
// about files go there in any case.
ScanStats scan_folders(const std::string& root, ScanSink& sink, std::FILE* log, bool report);
// The files of `dir` alone, without its subfolders.
void scan_folder(const std::string& dir, ScanSink& sink, std::FILE* log);

// Whether a file of this name can make or change a song: a lyric, an audio file or a picture.
bool is_library_file(std::string_view name);

}  // namespace lyr::service
