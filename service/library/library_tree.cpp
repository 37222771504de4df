#include "service/library/library_tree.h"

#include <algorithm>
#include <filesystem>
#include <set>

namespace lyr::service {

namespace fs = std::filesystem;

namespace {

bool under(const std::string& path, const std::string& dir) {
  if (path.size() <= dir.size() || !path.starts_with(dir)) return path == dir;
  return dir.ends_with('/') || path[dir.size()] == '/';
}

std::string parent_of(const std::string& path) {
  return fs::path(path).parent_path().string();
}

}  // namespace

bool LibraryTree::WalkOrder::operator()(const std::string& a, const std::string& b) const {
  // '/' sorts before every other byte, so a folder's subfolders follow it before its next sibling.
  auto rank = [](char c) { return c == '/' ? 0 : static_cast<unsigned char>(c) + 1; };
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                      [&](char x, char y) { return rank(x) < rank(y); });
}

class LibraryTree::Sink : public ScanSink {
 public:
  explicit Sink(LibraryTree& tree) : tree_(tree) {}

  void entering(const std::string& dir) override {
    if (tree_.watching_.watch) tree_.watching_.watch(dir, tree_.is_root(dir));
  }
  ReadMemo earlier_reads(const std::string& dir) override {
    auto it = tree_.folders_.find(dir);
    return it == tree_.folders_.end() ? ReadMemo{} : std::move(it->second.reads);
  }
  void folder(const std::string& dir, std::vector<LyricEntry> songs, ReadMemo reads) override {
    seen.insert(dir);
    auto [it, added] = tree_.folders_.try_emplace(dir);
    if (it->second.songs != songs) tree_.changed_ = true;
    it->second.songs = std::move(songs);
    it->second.reads = std::move(reads);
  }
  bool unfinished(const std::string& path) override {
    return tree_.watching_.unfinished && tree_.watching_.unfinished(path);
  }
  bool stopping() override { return tree_.watching_.stopping && tree_.watching_.stopping(); }

  std::set<std::string> seen;

 private:
  LibraryTree& tree_;
};

LibraryTree::LibraryTree(std::vector<std::string> roots, Watching watching, std::FILE* log)
    : roots_(std::move(roots)), watching_(std::move(watching)), log_(log) {}

void LibraryTree::scan_all() {
  for (const auto& root : roots_) {
    Sink sink(*this);
    scan_folders(root, sink, log_, true);
  }
}

void LibraryTree::rescan(const std::string& path) {
  Sink sink(*this);
  std::error_code ec;
  // Below a root only real folders count: links to folders are not followed.
  bool root = is_root(path);
  bool folder = root ? fs::is_directory(path, ec) : fs::is_directory(fs::symlink_status(path, ec));
  // A folder whose parent left the tree went with it.
  if (folder && (root || folders_.count(parent_of(path)))) scan_folders(path, sink, log_, false);
  auto [first, last] = subtree(path);
  for (auto it = first; it != last;) {
    auto next = std::next(it);
    if (!sink.seen.count(it->first)) drop(it, next);
    it = next;
  }
}

void LibraryTree::reindex(const std::string& dir) {
  if (!folders_.count(dir)) return;
  std::error_code ec;
  if (!fs::is_directory(dir, ec)) return rescan(dir);
  Sink sink(*this);
  scan_folder(dir, sink, log_);
}

void LibraryTree::forget(const std::string& file) {
  if (auto it = folders_.find(parent_of(file)); it != folders_.end()) it->second.reads.erase(file);
}

std::vector<LyricEntry> LibraryTree::entries() const {
  std::vector<LyricEntry> out;
  // Overlapping roots list a folder twice; the Library keeps the first.
  for (const auto& root : roots_)
    for (auto it = folders_.lower_bound(root); it != folders_.end() && under(it->first, root); ++it)
      out.insert(out.end(), it->second.songs.begin(), it->second.songs.end());
  return out;
}

bool LibraryTree::take_changed() {
  return std::exchange(changed_, false);
}

bool LibraryTree::is_root(const std::string& path) const {
  return std::find(roots_.begin(), roots_.end(), path) != roots_.end();
}

std::pair<LibraryTree::Folders::iterator, LibraryTree::Folders::iterator> LibraryTree::subtree(
    const std::string& path) {
  auto first = folders_.lower_bound(path);
  auto last = first;
  while (last != folders_.end() && under(last->first, path)) ++last;
  return {first, last};
}

void LibraryTree::drop(Folders::iterator first, Folders::iterator last) {
  for (auto it = first; it != last; ++it) {
    if (!it->second.songs.empty()) changed_ = true;
    if (watching_.unwatch) watching_.unwatch(it->first);
  }
  folders_.erase(first, last);
}

}  // namespace lyr::service
