#include "service/library/live_library.h"

#include <poll.h>
#include <sys/eventfd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include "service/library/library_scanner.h"

namespace lyr::service {

namespace {

using Clock = std::chrono::steady_clock;

std::vector<std::string> normal_roots(const std::vector<std::string>& given) {
  std::vector<std::string> roots;
  for (const auto& root : given) roots.push_back(library_root(root));
  return roots;
}

std::string parent_of(const std::string& path) {
  return std::filesystem::path(path).parent_path().string();
}

// Whether `path` is one of `dirs` or lies under one.
bool covered(const std::set<std::string>& dirs, std::string path) {
  while (true) {
    if (dirs.count(path)) return true;
    std::string up = parent_of(path);
    if (up == path || up.empty()) return false;
    path = std::move(up);
  }
}

}  // namespace

LiveLibrary::LiveLibrary(const std::vector<std::string>& roots, std::FILE* log, LiveTimings timings,
                         FolderWatcher::AddWatch add_watch)
    : log_(log),
      timings_(timings),
      watcher_(std::move(add_watch)),
      tree_(normal_roots(roots),
            {[this](const std::string& dir, bool root) { watch(dir, root); },
             [this](const std::string& dir) { unwatch(dir); }, [this] { return stopping_.load(); },
             [this](const std::string& file) { return writing_.count(file) > 0; }},
            log) {}

Library LiveLibrary::scan() {
  tree_.scan_all();
  tree_.take_changed();
  warn_unwatched();
  return Library(tree_.entries());
}

void LiveLibrary::follow(Publish publish) {
  publish_ = std::move(publish);
  wake_ = UniqueFd(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK));
  if (!wake_.valid()) {
    if (log_)
      std::fprintf(log_, "lyric-service: warning: cannot follow changes of the library folders: %s\n",
                   std::strerror(errno));
    return;
  }
  thread_ = std::thread([this] { run(); });
}

void LiveLibrary::stop() {
  stopping_ = true;
  if (!thread_.joinable()) return;
  std::uint64_t one = 1;
  if (write(wake_.get(), &one, sizeof one) < 0) {
    // An eventfd only refuses when its counter is full, and then the thread is woken already.
  }
  thread_.join();
}

void LiveLibrary::run() {
  bool pending = false;  // changes not looked at yet, the first and the last at these times
  Clock::time_point first, last;
  auto next_rescan = Clock::time_point::max();
  while (!stopping_) {
    auto now = Clock::now();
    if (unwatched_.empty())
      next_rescan = Clock::time_point::max();
    else if (next_rescan == Clock::time_point::max())
      next_rescan = now + timings_.unwatched_rescan;
    auto due = next_rescan;
    if (pending) due = std::min({due, last + timings_.quiet, first + timings_.longest_wait});
    int timeout = -1;
    if (due != Clock::time_point::max())
      timeout = static_cast<int>(
          std::clamp<long long>(std::chrono::ceil<std::chrono::milliseconds>(due - now).count(), 0, 60000));
    pollfd fds[2] = {{watcher_.fd(), POLLIN, 0}, {wake_.get(), POLLIN, 0}};
    if (poll(fds, 2, timeout) < 0 && errno != EINTR) {
      if (log_)
        std::fprintf(log_, "lyric-service: warning: no longer following the library folders: %s\n",
                     std::strerror(errno));
      return;
    }
    if (fds[1].revents) break;
    if (fds[0].revents & POLLIN) {
      bool any = false;
      for (const auto& change : watcher_.take()) any |= note(change);
      if (any) {
        last = Clock::now();
        if (!pending) first = last;
        pending = true;
      }
    }
    now = Clock::now();
    bool rescan_due = now >= next_rescan;
    if (rescan_due) {
      for (const auto& dir : unwatched_)
        if (!covered(rescans_, dir)) rescans_.insert(dir);
      next_rescan = now + timings_.unwatched_rescan;
    }
    if (rescan_due || (pending && now >= std::min(last + timings_.quiet, first + timings_.longest_wait))) {
      update();
      pending = false;
    }
  }
}

void LiveLibrary::watch(const std::string& dir, bool root) {
  int err = watcher_.watch(dir, root);
  // A folder already gone, or one that can't be listed either, is no reason to poll.
  if (err == 0 || err == ENOENT || err == ENOTDIR || err == EACCES) {
    unwatched_.erase(dir);
    return;
  }
  if (unwatched_.insert(dir).second && !watch_error_) watch_error_ = err;
}

void LiveLibrary::unwatch(const std::string& dir) {
  watcher_.unwatch(dir);
  unwatched_.erase(dir);
  // Files written in a folder that left the library are closed where no watch sees them.
  for (auto it = writing_.lower_bound(dir + "/"); it != writing_.end() && it->starts_with(dir + "/");)
    it = parent_of(*it) == dir ? writing_.erase(it) : std::next(it);
}

bool LiveLibrary::note(const FolderWatcher::Change& change) {
  switch (change.kind) {
    case FolderWatcher::Change::everything:
      // The closes that would end these writes may be among the events lost.
      writing_.clear();
      everything_ = true;
      return true;
    case FolderWatcher::Change::folder:
      rescans_.insert(change.path);
      return true;
    case FolderWatcher::Change::writing:
      // Nothing to read yet: the close that ends the write is reported as a change.
      if (is_library_file(std::filesystem::path(change.path).filename().string()))
        writing_.insert(change.path);
      return false;
    case FolderWatcher::Change::file:
      writing_.erase(change.path);
      if (!is_library_file(std::filesystem::path(change.path).filename().string())) return false;
      tree_.forget(change.path);
      reindexes_.insert(parent_of(change.path));
      return true;
  }
  return false;
}

void LiveLibrary::update() {
  std::set<std::string> done;
  if (everything_) {
    for (const auto& root : tree_.roots()) tree_.rescan(root);
  } else {
    // Sorted, so a folder comes before the folders under it, which its rescan covers.
    for (const auto& path : rescans_)
      if (!covered(done, path)) {
        tree_.rescan(path);
        done.insert(path);
      }
    for (const auto& dir : reindexes_)
      if (!covered(done, dir)) tree_.reindex(dir);
  }
  everything_ = false;
  rescans_.clear();
  reindexes_.clear();
  if (stopping_) return;
  warn_unwatched();
  if (!tree_.take_changed()) return;
  auto next = std::make_shared<const Library>(tree_.entries());
  if (log_) std::fprintf(log_, "lyric-service: library updated: %zu songs\n", next->size());
  publish_(std::move(next));
}

void LiveLibrary::warn_unwatched() {
  if (warned_ || unwatched_.empty() || !log_) return;
  warned_ = true;
  std::string why = watch_error_ == ENOSPC
                        ? "inotify watch limit reached (fs.inotify.max_user_watches)"
                        : std::string("cannot watch folders: ") + std::strerror(watch_error_);
  std::fprintf(log_, "lyric-service: warning: %s; rescanning %zu folder%s every %g s\n", why.c_str(),
               unwatched_.size(), unwatched_.size() == 1 ? "" : "s",
               std::chrono::duration<double>(timings_.unwatched_rescan).count());
}

}  // namespace lyr::service
