#include "service/library/folder_watcher.h"

#include <sys/inotify.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>

namespace lyr::service {

namespace {

constexpr std::uint32_t kFolderEvents = IN_CLOSE_WRITE | IN_MOVED_TO | IN_MOVED_FROM | IN_DELETE | IN_CREATE |
                                        IN_ATTRIB | IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR;

// A regular file just made is still being written; its IN_CLOSE_WRITE follows. Links (a hard
// link too) are complete when they appear.
bool complete_on_creation(const std::string& path) {
  struct stat st {};
  if (lstat(path.c_str(), &st) != 0) return false;
  return S_ISLNK(st.st_mode) || (S_ISREG(st.st_mode) && st.st_nlink > 1);
}

}  // namespace

FolderWatcher::FolderWatcher(AddWatch add_watch)
    : add_watch_(add_watch ? std::move(add_watch) : AddWatch(inotify_add_watch)),
      fd_(inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
  if (!fd_.valid()) init_errno_ = errno;
}

int FolderWatcher::watch(const std::string& dir, bool follow_link) {
  if (!fd_.valid()) return init_errno_;
  int wd = add_watch_(fd_.get(), dir.c_str(), kFolderEvents | (follow_link ? 0 : IN_DONT_FOLLOW));
  if (wd < 0) return errno;
  auto [known, added] = wd_of_.try_emplace(dir, wd);
  if (!added && known->second != wd) {
    // Another folder took this one's place since it was watched.
    inotify_rm_watch(fd_.get(), known->second);
    dir_of_.erase(known->second);
    known->second = wd;
  }
  // One folder reached by two paths (a bind mount) has one watch; its events name the first path.
  dir_of_.try_emplace(wd, dir);
  return 0;
}

void FolderWatcher::unwatch(const std::string& dir) {
  auto it = wd_of_.find(dir);
  if (it == wd_of_.end()) return;
  int wd = it->second;
  wd_of_.erase(it);
  // A folder moved out of the library is still watched where it went.
  if (auto d = dir_of_.find(wd); d != dir_of_.end() && d->second == dir) {
    inotify_rm_watch(fd_.get(), wd);
    dir_of_.erase(d);
  }
}

std::vector<FolderWatcher::Change> FolderWatcher::take() {
  std::vector<Change> changes;
  alignas(inotify_event) char buf[64 * 1024];
  while (fd_.valid()) {
    ssize_t n = read(fd_.get(), buf, sizeof buf);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    for (char* p = buf; p < buf + n;) {
      const auto* ev = reinterpret_cast<const inotify_event*>(p);
      p += sizeof(inotify_event) + ev->len;
      if (ev->mask & IN_Q_OVERFLOW) {
        changes.push_back({Change::everything, {}});
        continue;
      }
      auto dir = dir_of_.find(ev->wd);
      if (dir == dir_of_.end()) continue;
      if (ev->mask & IN_IGNORED) {
        if (auto w = wd_of_.find(dir->second); w != wd_of_.end() && w->second == ev->wd) wd_of_.erase(w);
        dir_of_.erase(dir);
        continue;
      }
      if (ev->mask & (IN_DELETE_SELF | IN_MOVE_SELF | IN_UNMOUNT)) {
        changes.push_back({Change::folder, dir->second});
        continue;
      }
      if (ev->len == 0 || ev->name[0] == '\0') continue;
      std::string path = dir->second + (dir->second.ends_with('/') ? "" : "/") + ev->name;
      if (ev->mask & IN_ISDIR) {
        if (ev->mask & (IN_CREATE | IN_MOVED_TO | IN_MOVED_FROM | IN_DELETE))
          changes.push_back({Change::folder, std::move(path)});
        continue;
      }
      bool writing = (ev->mask & IN_CREATE) && !complete_on_creation(path);
      changes.push_back({writing ? Change::writing : Change::file, std::move(path)});
    }
  }
  return changes;
}

}  // namespace lyr::service
