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
// naming it; a progress line is kept on `log`.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "service/library/lyric_entry.h"

namespace lyr::service {

struct ScanStats {
  std::size_t files = 0;    // files looked at
  std::size_t songs = 0;    // entries added
  std::size_t skipped = 0;  // files that could not be read or decoded
};

// Adds the songs under `root` to `out`. `log` may be null (no progress, no warnings).
ScanStats scan_library(const std::string& root, std::vector<LyricEntry>& out, std::FILE* log);

}  // namespace lyr::service
