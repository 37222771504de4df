// The live form of a library: the songs of every folder under its roots, each folder with what
// was read to find them, so a change indexes only its own folder again and re-reads only the
// files that changed (song_reads.h). entries() lists every song in the order a full scan finds
// them, so a Library built from it is the one a restart would build.
// One thread owns a tree; nothing in it locks.
#pragma once

#include <cstdio>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "service/library/library_scanner.h"
#include "service/library/lyric_entry.h"
#include "service/library/song_reads.h"

namespace lyr::service {

class LibraryTree {
 public:
  struct Watching {
    // A folder is about to be listed (`root`: one of the roots, which may be a link).
    std::function<void(const std::string& dir, bool root)> watch;
    // A folder left the tree.
    std::function<void(const std::string& dir)> unwatch;
    // Asked between folders: true ends a walk early (the tree is then not to be used).
    std::function<bool()> stopping;
    // A file still being written, left out until it is closed.
    std::function<bool(const std::string& file)> unfinished;
  };

  // `roots` as library_root gives them; warnings about files go to `log` (may be null).
  LibraryTree(std::vector<std::string> roots, Watching watching, std::FILE* log);

  // The first scan of every root, with the progress and summary lines.
  void scan_all();
  // Everything at and under `path` is looked at again: a folder that came, went or moved.
  void rescan(const std::string& path);
  // The files of folder `dir` are looked at again, not its subfolders.
  void reindex(const std::string& dir);
  // The next index of its folder reads `file` again, whatever its version says.
  void forget(const std::string& file);

  const std::vector<std::string>& roots() const { return roots_; }
  std::vector<LyricEntry> entries() const;
  // Whether the songs changed since the last call.
  bool take_changed();

 private:
  // Folders in walk order: a folder, then the folders under it, names in byte order.
  struct WalkOrder {
    bool operator()(const std::string& a, const std::string& b) const;
  };
  struct Folder {
    std::vector<LyricEntry> songs;
    ReadMemo reads;
  };
  class Sink;
  using Folders = std::map<std::string, Folder, WalkOrder>;

  bool is_root(const std::string& path) const;
  // The folders at and under `path`.
  std::pair<Folders::iterator, Folders::iterator> subtree(const std::string& path);
  void drop(Folders::iterator first, Folders::iterator last);

  std::vector<std::string> roots_;
  Watching watching_;
  std::FILE* log_;
  Folders folders_;
  bool changed_ = false;
};

}  // namespace lyr::service
