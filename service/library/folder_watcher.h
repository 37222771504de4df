// Library folders watched with inotify: one instance, closed with the object, a watch on each
// folder given to watch(), and the kernel's events turned into what a library must look at
// again. Events name folders by the paths given to watch().
// A file is reported when it is written and closed, moved in or out, deleted, or its attributes
// change. A new regular file is first reported as being written, so that a copy in progress is
// not read before it is closed; a link is complete when it appears. A folder is reported when it
// is made, moved in or out, or removed.
// Watches are not recursive: the owner watches each folder it lists.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include "service/library/unique_fd.h"

namespace lyr::service {

class FolderWatcher {
 public:
  // inotify_add_watch, or a stand-in for tests: a watch limit is not to be reached for real.
  using AddWatch = std::function<int(int fd, const char* path, std::uint32_t mask)>;
  explicit FolderWatcher(AddWatch add_watch = {});

  // 0, or the errno of the failure (ENOSPC: the watch limit; when there is no inotify instance,
  // the errno of creating it). `follow_link`: a root may be a link to its folder.
  int watch(const std::string& dir, bool follow_link);
  void unwatch(const std::string& dir);
  // Readable when changes are pending.
  int fd() const { return fd_.get(); }

  struct Change {
    enum Kind {
      file,        // `path` changed, came or went
      writing,     // `path` was just made and is being written
      folder,      // the folder `path` came or went, with all under it
      everything,  // events were lost: look at every folder again
    };
    Kind kind;
    std::string path;
  };
  // The changes pending now, without waiting.
  std::vector<Change> take();

 private:
  AddWatch add_watch_;
  UniqueFd fd_;
  int init_errno_ = 0;
  std::unordered_map<int, std::string> dir_of_;
  std::unordered_map<std::string, int> wd_of_;
};

}  // namespace lyr::service
