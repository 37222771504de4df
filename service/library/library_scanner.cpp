#include "service/library/library_scanner.h"

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <map>

#include "service/library/audio_file.h"
#include "service/text/lyric_encoding.h"

namespace lyr::service {

namespace fs = std::filesystem;

namespace {

std::string lower(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c += 0x20;
  return out;
}

struct DirFile {
  std::string name;
  std::string stem;
  std::string ext;  // lower case, without the dot
};

bool is_image_ext(std::string_view e) {
  return e == "jpg" || e == "jpeg" || e == "png" || e == "gif" || e == "bmp";
}

std::optional<DirFile> dir_file(std::string name) {
  std::size_t dot = name.rfind('.');
  if (dot == std::string::npos || dot == 0) return std::nullopt;
  std::string stem = name.substr(0, dot);
  std::string ext = lower(std::string_view(name).substr(dot + 1));
  return DirFile{std::move(name), std::move(stem), std::move(ext)};
}

// File names from old archives are often GBK; names that are neither it nor UTF-8 keep their
// ASCII and lose the rest rather than the song.
std::string readable_name(std::string_view raw) {
  if (auto decoded = utf8_from_unknown(raw)) return decoded.value();
  std::string out;
  for (char c : raw) out.push_back(static_cast<unsigned char>(c) < 0x80 ? c : '?');
  return out;
}

class Scanner {
 public:
  Scanner(ScanSink& sink, std::FILE* log, bool report) : sink_(sink), log_(log), report_(report) {
    tty_ = log_ && isatty(fileno(log_));
  }

  ScanStats run(const std::string& root) {
    std::error_code ec;
    if (!fs::is_directory(root, ec)) {
      if (report_) warn(root, "not a folder");
      ++stats_.skipped;
      return stats_;
    }
    root_ = root;
    walk(fs::path(root), true);
    if (log_ && report_) {
      clear_progress();
      std::fprintf(log_, "lyric-service: %s: %zu songs from %zu files", root.c_str(), stats_.songs,
                   stats_.files);
      if (stats_.skipped) std::fprintf(log_, ", %zu skipped", stats_.skipped);
      std::fputs("\n", log_);
    }
    return stats_;
  }

  void walk(const fs::path& dir, bool deep) {
    if (sink_.stopping()) return;
    if (deep) sink_.entering(dir.string());
    std::vector<DirFile> files;
    std::vector<fs::path> subdirs;
    SongReads reads(sink_.earlier_reads(dir.string()));
    reads_ = &reads;
    std::error_code ec;
    fs::directory_iterator it(dir, fs::directory_options::skip_permission_denied, ec);
    if (ec) {
      // A folder removed while it was walked had nothing to say.
      if (ec != std::errc::no_such_file_or_directory) skip(dir.string(), ec.message());
      return;
    }
    for (; it != fs::directory_iterator(); it.increment(ec)) {
      if (ec) break;
      const fs::directory_entry& e = *it;
      std::error_code sec;
      if (e.is_symlink(sec) ? false : e.is_directory(sec)) {
        subdirs.push_back(e.path());
        continue;
      }
      auto file = dir_file(e.path().filename().string());
      if (!file || sink_.unfinished(e.path().string())) continue;
      if (!e.is_regular_file(sec)) {
        // A song behind a link that leads nowhere is worth a word; other odd files are not.
        if (e.is_symlink(sec) && (file->ext == "lrc" || is_audio_extension(file->ext)) &&
            reads.new_dead_link(e.path().string()))
          skip(e.path().string(), "the link leads nowhere");
        continue;
      }
      files.push_back(std::move(*file));
    }
    std::sort(files.begin(), files.end(), [](const DirFile& a, const DirFile& b) { return a.name < b.name; });
    std::sort(subdirs.begin(), subdirs.end());
    std::vector<LyricEntry> songs = index_folder(dir, files);
    reads_ = nullptr;
    sink_.folder(dir.string(), std::move(songs), std::move(reads).take());
    if (deep)
      for (const auto& sub : subdirs) walk(sub, true);
  }

 private:
  std::vector<LyricEntry> index_folder(const fs::path& dir, const std::vector<DirFile>& files) {
    std::map<std::string, const DirFile*> audio, lrc, images, folder_art;
    for (const auto& f : files) {
      if (is_audio_extension(f.ext)) audio.emplace(f.stem, &f);
      if (f.ext == "lrc") lrc.emplace(f.stem, &f);
      if (is_image_ext(f.ext)) {
        images.emplace(f.stem, &f);
        folder_art.emplace(lower(f.name), &f);
      }
    }
    folder_cover_ = {};
    folder_cover_checked_ = false;
    folder_art_ = &folder_art;
    const std::string base = dir.string() + "/";
    std::vector<LyricEntry> songs;
    for (const auto& f : files) {
      bool is_lrc = f.ext == "lrc";
      if (!is_lrc && !is_audio_extension(f.ext)) continue;
      ++stats_.files;
      progress();
      if (is_lrc && audio.count(f.stem)) continue;  // a sidecar, read with its audio file
      LyricEntry entry;
      bool ok = is_lrc ? add_lrc(base, f, entry) : add_audio(base, f, lrc, entry);
      if (!ok) continue;
      entry.path = base + f.name;
      if (entry.cover_kind == CoverSourceKind::none) cover_beside(base, f.stem, images, entry);
      songs.push_back(std::move(entry));
      ++stats_.songs;
    }
    return songs;
  }

  bool add_lrc(const std::string& base, const DirFile& f, LyricEntry& entry) {
    std::string path = base + f.name;
    auto song = reads_->lrc_song(path, readable_name(f.stem));
    if (failed(path, song)) return false;
    set_names(entry, song.result->names);
    entry.duration = song.result->length;
    entry.lyric_kind = LyricSourceKind::lrc_file;
    entry.lyric_path = std::move(path);
    return true;
  }

  bool add_audio(const std::string& base, const DirFile& f, const std::map<std::string, const DirFile*>& lrc,
                 LyricEntry& entry) {
    std::string path = base + f.name;
    auto read = reads_->audio(path);
    if (failed(path, read)) return false;
    const AudioFacts& facts = read.result.value();
    SongNames names = facts.names;
    // The audio's own length wins over a sidecar's [length:] tag.
    entry.duration = facts.duration;
    if (auto side = lrc.find(f.stem); side != lrc.end()) {
      std::string lrc_path = base + side->second->name;
      auto side_song = reads_->lrc_song(lrc_path, readable_name(f.stem));
      if (failed(lrc_path, side_song)) return false;
      fill_missing(names, side_song.result->names);
      if (!entry.duration) entry.duration = side_song.result->length;
      entry.lyric_kind = LyricSourceKind::lrc_file;
      entry.lyric_path = std::move(lrc_path);
    } else if (facts.has_lyrics) {
      fill_missing(names, names_from_stem(readable_name(f.stem)));
      entry.lyric_kind = LyricSourceKind::embedded_audio;
      entry.lyric_path = path;
    } else if (facts.instrumental) {
      fill_missing(names, names_from_stem(readable_name(f.stem)));
      entry.lyric_kind = LyricSourceKind::none;
    } else {
      return false;
    }
    if (!facts.cover_ext.empty()) {
      entry.cover_kind = CoverSourceKind::embedded_audio;
      entry.cover_path = path;
      entry.cover_ext = facts.cover_ext;
    }
    set_names(entry, names);
    return true;
  }

  static void set_names(LyricEntry& entry, const SongNames& names) {
    entry.title = names.title;
    entry.artist = names.artist;
    entry.album = names.album;
  }

  void cover_beside(const std::string& base, const std::string& stem,
                    const std::map<std::string, const DirFile*>& images, LyricEntry& entry) {
    if (auto it = images.find(stem); it != images.end() && use_image(base + it->second->name, entry)) return;
    if (!folder_cover_checked_) {
      folder_cover_checked_ = true;
      for (const char* name :
           {"cover.jpg", "folder.jpg", "cover.png", "folder.png", "cover.jpeg", "folder.jpeg"}) {
        auto it = folder_art_->find(name);
        if (it != folder_art_->end() && use_image(base + it->second->name, folder_cover_)) break;
      }
    }
    if (folder_cover_.cover_kind != CoverSourceKind::none) {
      entry.cover_kind = folder_cover_.cover_kind;
      entry.cover_path = folder_cover_.cover_path;
      entry.cover_ext = folder_cover_.cover_ext;
    }
  }

  // A picture is used when its first bytes say which format it is.
  bool use_image(const std::string& path, LyricEntry& entry) {
    auto ext = reads_->picture(path);
    if (failed(path, ext)) return false;
    entry.cover_kind = CoverSourceKind::image_file;
    entry.cover_path = path;
    entry.cover_ext = ext.result.value();
    return true;
  }

  // A failure is told once, when the file's present version is first read.
  template <typename T>
  bool failed(const std::string& path, const FileRead<T>& read) {
    if (read.result) return false;
    if (read.fresh && !read.unsettled) skip(path, read.result.error());
    return true;
  }

  void skip(const std::string& path, const std::string& why) {
    ++stats_.skipped;
    warn(path, why);
  }

  void warn(const std::string& path, const std::string& why) {
    if (!log_) return;
    clear_progress();
    std::fprintf(log_, "lyric-service: warning: skipping %s: %s\n", path.c_str(), why.c_str());
  }

  void progress() {
    if (!log_ || !report_) return;
    auto now = std::chrono::steady_clock::now();
    if (now - last_progress_ < std::chrono::milliseconds(tty_ ? 200 : 2000)) return;
    if (last_progress_ == std::chrono::steady_clock::time_point{}) {
      last_progress_ = now;  // small folders finish before the first line is due
      return;
    }
    last_progress_ = now;
    std::fprintf(log_, "lyric-service: indexing %s: %zu files, %zu songs%s", root_.c_str(), stats_.files,
                 stats_.songs, tty_ ? "\r" : "\n");
    progress_shown_ = tty_;
    std::fflush(log_);
  }

  void clear_progress() {
    if (progress_shown_) std::fputs("\33[2K\r", log_);
    progress_shown_ = false;
  }

  ScanSink& sink_;
  std::FILE* log_;
  bool report_;
  bool tty_ = false;
  bool progress_shown_ = false;
  std::string root_;
  ScanStats stats_;
  std::chrono::steady_clock::time_point last_progress_{};
  SongReads* reads_ = nullptr;
  LyricEntry folder_cover_;
  bool folder_cover_checked_ = false;
  const std::map<std::string, const DirFile*>* folder_art_ = nullptr;
};

class Collect : public ScanSink {
 public:
  explicit Collect(std::vector<LyricEntry>& out) : out_(out) {}
  void folder(const std::string&, std::vector<LyricEntry> songs, ReadMemo) override {
    std::move(songs.begin(), songs.end(), std::back_inserter(out_));
  }

 private:
  std::vector<LyricEntry>& out_;
};

}  // namespace

std::string library_root(const std::string& given) {
  // Ids come from paths, so "Music", "./Music/" and "/home/me/Music" must give the same ones.
  std::error_code ec;
  fs::path normal = fs::absolute(given, ec).lexically_normal();
  if (!normal.has_filename() && normal.has_parent_path() && normal != normal.root_path())
    normal = normal.parent_path();
  return ec ? given : normal.string();
}

ScanStats scan_library(const std::string& root, std::vector<LyricEntry>& out, std::FILE* log) {
  Collect sink(out);
  return scan_folders(library_root(root), sink, log, true);
}

ScanStats scan_folders(const std::string& root, ScanSink& sink, std::FILE* log, bool report) {
  return Scanner(sink, log, report).run(root);
}

void scan_folder(const std::string& dir, ScanSink& sink, std::FILE* log) {
  Scanner(sink, log, false).walk(fs::path(dir), false);
}

bool is_library_file(std::string_view name) {
  auto file = dir_file(std::string(name));
  return file && (file->ext == "lrc" || is_audio_extension(file->ext) || is_image_ext(file->ext));
}

}  // namespace lyr::service
