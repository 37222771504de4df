#include "service/library/audio_file.h"

#include <taglib/attachedpictureframe.h>
#include <taglib/flacfile.h>
#include <taglib/id3v2framefactory.h>
#include <taglib/id3v2tag.h>
#include <taglib/mp4file.h>
#include <taglib/mpegfile.h>
#include <taglib/synchronizedlyricsframe.h>
#include <taglib/tdebuglistener.h>
#include <taglib/tfilestream.h>
#include <taglib/tpropertymap.h>
#include <taglib/unsynchronizedlyricsframe.h>
#include <taglib/vorbisfile.h>
#include <taglib/xiphcomment.h>

#include <cstdio>
#include <mutex>

namespace lyr::service {

namespace {

// TagLib reports damaged files on stderr by itself; the scanner already names the file it
// skips, so its own chatter is dropped.
class QuietListener : public TagLib::DebugListener {
 public:
  void printMessage(const TagLib::String&) override {}
};

void silence_taglib() {
  static QuietListener listener;
  static std::once_flag once;
  std::call_once(once, [] { TagLib::setDebugListener(&listener); });
}

std::string utf8(const TagLib::String& s) {
  return s.to8Bit(true);
}
std::string bytes(const TagLib::ByteVector& v) {
  return std::string(v.data(), v.size());
}

std::string lower(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c += 0x20;
  return out;
}

// What every format shares: the names, the length and whether it is tagged instrumental.
void read_common(const TagLib::File& file, AudioTags& out) {
  if (const TagLib::Tag* tag = file.tag()) {
    out.names.title = utf8(tag->title().stripWhiteSpace());
    out.names.artist = utf8(tag->artist().stripWhiteSpace());
    out.names.album = utf8(tag->album().stripWhiteSpace());
    out.instrumental = lower(utf8(tag->genre().stripWhiteSpace())) == "instrumental";
  }
  const TagLib::PropertyMap properties = file.properties();
  for (const auto& value : properties["INSTRUMENTAL"]) {
    std::string v = lower(utf8(value.stripWhiteSpace()));
    out.instrumental = out.instrumental || v == "1" || v == "true" || v == "yes";
  }
  if (const auto* audio = file.audioProperties(); audio && audio->lengthInMilliseconds() > 0)
    out.duration = audio->lengthInMilliseconds() / 1000.0;
}

std::string lrc_time(unsigned ms) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "[%02u:%02u.%02u]", ms / 60000, ms / 1000 % 60, ms / 10 % 100);
  return buf;
}

void read_id3v2(TagLib::ID3v2::Tag* tag, AudioTags& out, bool with_cover) {
  if (!tag) return;
  const auto& frames = tag->frameListMap();
  // Synchronised lyrics carry their times; they are preferred over the plain text.
  if (auto it = frames.find("SYLT"); it != frames.end()) {
    for (auto* frame : it->second) {
      auto* sylt = dynamic_cast<TagLib::ID3v2::SynchronizedLyricsFrame*>(frame);
      if (!sylt || sylt->timestampFormat() != TagLib::ID3v2::SynchronizedLyricsFrame::AbsoluteMilliseconds)
        continue;
      std::string text;
      for (const auto& line : sylt->synchedText()) text += lrc_time(line.time) + utf8(line.text) + "\n";
      if (!text.empty()) {
        out.lyrics = std::move(text);
        break;
      }
    }
  }
  if (out.lyrics.empty()) {
    if (auto it = frames.find("USLT"); it != frames.end())
      for (auto* frame : it->second)
        if (auto* uslt = dynamic_cast<TagLib::ID3v2::UnsynchronizedLyricsFrame*>(frame);
            uslt && out.lyrics.empty())
          out.lyrics = utf8(uslt->text());
  }
  if (!with_cover) return;
  if (auto it = frames.find("APIC"); it != frames.end()) {
    for (auto* frame : it->second) {
      auto* apic = dynamic_cast<TagLib::ID3v2::AttachedPictureFrame*>(frame);
      if (!apic) continue;
      if (out.cover.empty() || apic->type() == TagLib::ID3v2::AttachedPictureFrame::FrontCover)
        out.cover = bytes(apic->picture());
    }
  }
}

void read_xiph(TagLib::Ogg::XiphComment* comment, AudioTags& out) {
  if (!comment) return;
  const auto& fields = comment->fieldListMap();
  for (const char* key : {"LYRICS", "UNSYNCEDLYRICS"}) {
    if (auto it = fields.find(key); it != fields.end() && !it->second.isEmpty() && out.lyrics.empty())
      out.lyrics = utf8(it->second.front());
  }
}

void pick_picture(const TagLib::List<TagLib::FLAC::Picture*>& pictures, AudioTags& out) {
  for (auto* picture : pictures)
    if (out.cover.empty() || picture->type() == TagLib::FLAC::Picture::FrontCover)
      out.cover = bytes(picture->data());
}

std::string_view ext_of(const std::string& path) {
  std::size_t dot = path.rfind('.');
  return dot == std::string::npos ? std::string_view() : std::string_view(path).substr(dot + 1);
}

}  // namespace

bool is_audio_extension(std::string_view e) {
  return e == "mp3" || e == "flac" || e == "ogg" || e == "oga" || e == "m4a" || e == "mp4";
}

Result<AudioTags> read_audio_tags(const std::string& path, bool with_cover) {
  silence_taglib();
  AudioTags out;
  std::string ext = lower(ext_of(path));
  auto damaged = [&] { return fail("not a readable " + ext + " file"); };
  constexpr auto kLength = TagLib::AudioProperties::Fast;
  // Read-only: TagLib would open a writable file for writing, and closing it then tells the
  // library's folder watch that the file was written.
  TagLib::FileStream stream(path.c_str(), true);
  if (ext == "mp3") {
    TagLib::MPEG::File file(&stream, TagLib::ID3v2::FrameFactory::instance(), true, kLength);
    // TagLib takes a tag with nothing after it for an MP3; without an audio frame it is not one.
    if (!file.isValid() || file.firstFrameOffset() < 0) return damaged();
    read_common(file, out);
    read_id3v2(file.ID3v2Tag(), out, with_cover);
  } else if (ext == "flac") {
    TagLib::FLAC::File file(&stream, TagLib::ID3v2::FrameFactory::instance(), true, kLength);
    if (!file.isValid()) return damaged();
    read_common(file, out);
    read_xiph(file.xiphComment(), out);
    read_id3v2(file.ID3v2Tag(), out, with_cover);
    if (with_cover) pick_picture(file.pictureList(), out);
  } else if (ext == "ogg" || ext == "oga") {
    TagLib::Ogg::Vorbis::File file(&stream, true, kLength);
    if (!file.isValid()) return damaged();
    read_common(file, out);
    read_xiph(file.tag(), out);
    if (with_cover) pick_picture(file.tag()->pictureList(), out);
  } else if (ext == "m4a" || ext == "mp4") {
    TagLib::MP4::File file(&stream, true, kLength);
    if (!file.isValid()) return damaged();
    read_common(file, out);
    if (auto* tag = file.tag()) {
      if (tag->contains("\251lyr")) {
        auto list = tag->item("\251lyr").toStringList();
        if (!list.isEmpty()) out.lyrics = utf8(list.front());
      }
      if (with_cover && tag->contains("covr")) {
        auto covers = tag->item("covr").toCoverArtList();
        if (!covers.isEmpty()) out.cover = bytes(covers.front().data());
      }
    }
  } else {
    return fail("not an audio file");
  }
  return out;
}

}  // namespace lyr::service
