// A library that follows its folders. scan() indexes them once, with a watch on every folder;
// follow() then gathers their changes on a thread of its own until the folders have been quiet
// for `quiet` (under a steady stream of changes, for at most `longest_wait`), indexes again only
// the folders that changed, re-reading only the files that did, and hands the new Library to
// `publish`. Searches keep answering from the library before until then.
// Lost events mean every folder is looked at again. Folders that can't be watched (past the watch
// limit, fs.inotify.max_user_watches) are warned about once and looked at again every
// `unwatched_rescan`. Each new library is told in one short line on the log.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "service/library/folder_watcher.h"
#include "service/library/library.h"
#include "service/library/library_tree.h"
#include "service/library/unique_fd.h"

namespace lyr::service {

struct LiveTimings {
  std::chrono::milliseconds quiet{200};
  std::chrono::milliseconds longest_wait{1000};
  std::chrono::milliseconds unwatched_rescan{30000};
};

class LiveLibrary {
 public:
  using Publish = std::function<void(std::shared_ptr<const Library>)>;

  // `roots` as the user named them; `log` may be null.
  LiveLibrary(const std::vector<std::string>& roots, std::FILE* log, LiveTimings timings = {},
              FolderWatcher::AddWatch add_watch = {});
  ~LiveLibrary() { stop(); }
  LiveLibrary(const LiveLibrary&) = delete;
  LiveLibrary& operator=(const LiveLibrary&) = delete;

  // The first index of every root, with the progress and summary lines.
  Library scan();
  // After scan(): from now on each rebuilt library goes to `publish`, called on a thread of its own.
  void follow(Publish publish);
  // Ends following: `publish` is not called once this returns.
  void stop();

 private:
  void run();
  void watch(const std::string& dir, bool root);
  void unwatch(const std::string& dir);
  // Whether the change is one the library may care about.
  bool note(const FolderWatcher::Change& change);
  void update();
  void warn_unwatched();

  std::FILE* log_;
  LiveTimings timings_;
  FolderWatcher watcher_;
  LibraryTree tree_;
  // Folders looked at on the timer instead, and why the first of them could not be watched.
  std::set<std::string> unwatched_;
  int watch_error_ = 0;
  bool warned_ = false;
  // Files made and not closed yet.
  std::set<std::string> writing_;
  // What the next update looks at.
  bool everything_ = false;
  std::set<std::string> rescans_;
  std::set<std::string> reindexes_;

  Publish publish_;
  UniqueFd wake_;
  std::atomic<bool> stopping_ = false;
  std::thread thread_;
};

}  // namespace lyr::service
