// Audio files as songs: names, lyrics and covers from their tags (written here with TagLib),
// sidecar lyric files and folder covers, and files that can't be read.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <taglib/attachedpictureframe.h>
#include <taglib/flacfile.h>
#include <taglib/id3v2tag.h>
#include <taglib/mp4file.h>
#include <taglib/mpegfile.h>
#include <taglib/synchronizedlyricsframe.h>
#include <taglib/unsynchronizedlyricsframe.h>
#include <taglib/vorbisfile.h>
#include <taglib/xiphcomment.h>
#include <unistd.h>

#include <filesystem>
#include <functional>

#include "tests/service/support/audio_files.h"
#include "tests/service/support/service_fixture.h"

namespace service_test {
namespace {

using TagLib::String;

const std::string kJpeg = std::string("\xFF\xD8\xFF\xE0", 4) + "jpeg body";
const std::string kLyric = "[00:01.00]星の歌 \"sung\"\n[00:05.00]second line\n";

TagLib::ByteVector bytes(const std::string& s) {
  return TagLib::ByteVector(s.data(), static_cast<unsigned>(s.size()));
}

TagLib::FLAC::Picture* flac_picture() {
  auto* picture = new TagLib::FLAC::Picture;  // the file takes it
  picture->setType(TagLib::FLAC::Picture::FrontCover);
  picture->setMimeType("image/jpeg");
  picture->setData(bytes(kJpeg));
  return picture;
}

void write_mp3(const std::string& path) {
  write_file(path, minimal_mp3());
  TagLib::MPEG::File f(path.c_str());
  auto* tag = f.ID3v2Tag(true);
  tag->setTitle(String("星の歌", String::UTF8));
  tag->setArtist("Mp3 Band");
  auto* uslt = new TagLib::ID3v2::UnsynchronizedLyricsFrame(String::UTF8);
  uslt->setText(String(kLyric, String::UTF8));
  tag->addFrame(uslt);
  auto* apic = new TagLib::ID3v2::AttachedPictureFrame;
  apic->setType(TagLib::ID3v2::AttachedPictureFrame::FrontCover);
  apic->setMimeType("image/jpeg");
  apic->setPicture(bytes(kJpeg));
  tag->addFrame(apic);
  ASSERT_TRUE(f.save());
}

void write_flac(const std::string& path) {
  write_file(path, minimal_flac());
  TagLib::FLAC::File f(path.c_str());
  auto* comment = f.xiphComment(true);
  comment->setTitle(String("星の歌", String::UTF8));
  comment->setArtist("Flac Band");
  comment->addField("LYRICS", String(kLyric, String::UTF8));
  f.addPicture(flac_picture());
  ASSERT_TRUE(f.save());
}

void write_ogg(const std::string& path) {
  write_file(path, minimal_ogg());
  TagLib::Ogg::Vorbis::File f(path.c_str());
  ASSERT_TRUE(f.isValid());
  f.tag()->setTitle(String("星の歌", String::UTF8));
  f.tag()->setArtist("Ogg Band");
  f.tag()->addField("LYRICS", String(kLyric, String::UTF8));
  f.tag()->addPicture(flac_picture());
  ASSERT_TRUE(f.save());
}

void write_m4a(const std::string& path) {
  write_file(path, minimal_m4a());
  TagLib::MP4::File f(path.c_str());
  ASSERT_TRUE(f.isValid());
  f.tag()->setTitle(String("星の歌", String::UTF8));
  f.tag()->setArtist("M4a Band");
  f.tag()->setItem("\251lyr", TagLib::StringList(String(kLyric, String::UTF8)));
  TagLib::MP4::CoverArtList covers;
  covers.append(TagLib::MP4::CoverArt(TagLib::MP4::CoverArt::JPEG, bytes(kJpeg)));
  f.tag()->setItem("covr", covers);
  ASSERT_TRUE(f.save());
}

TEST(AudioTags, EmbeddedLyricsAndCoversOfEveryFormat) {
  TempDir dir;
  struct Format {
    const char* file;
    std::function<void(const std::string&)> write;
  };
  std::vector<Format> formats = {
      {"a.mp3", write_mp3}, {"b.flac", write_flac}, {"c.ogg", write_ogg}, {"d.m4a", write_m4a}};
  for (const auto& f : formats) f.write(dir / f.file);
  LocalService service({dir.path().string()});
  ASSERT_EQ(service.service().library()->size(), formats.size()) << service.log();

  auto hits = service.get("/api/lyric/%E6%98%9F%E3%81%AE%E6%AD%8C/band");
  EXPECT_EQ(cut_one(hits.body, "count\": ", ", \"code"), "4");
  for (const char* band : {"Mp3 Band", "Flac Band", "Ogg Band", "M4a Band"})
    EXPECT_NE(hits.body.find(std::string("\"artist\": \"") + band + "\""), std::string::npos) << band;
  for (const auto& f : formats) {
    SCOPED_TRACE(f.file);
    std::string id = service.id_text(dir / f.file);
    EXPECT_EQ(service.get("/lrc/" + id + ".lrc").body, kLyric);
    auto cover = service.get("/api/cover/" + id);
    EXPECT_EQ(cut_all(cover.body, "\"cover\": \"", "\""),
              std::vector<std::string>{service.base() + "/cover/" + id + ".jpg"});
    auto picture = service.get("/cover/" + id + ".jpg");
    EXPECT_EQ(picture.content_type, "image/jpeg");
    EXPECT_EQ(picture.body, kJpeg);
  }
}

TEST(AudioTags, SynchronisedLyricsBecomeTimeTaggedLines) {
  TempDir dir;
  write_file(dir / "s.mp3", minimal_mp3());
  {
    TagLib::MPEG::File f((dir / "s.mp3").c_str());
    auto* sylt = new TagLib::ID3v2::SynchronizedLyricsFrame(String::UTF8);
    sylt->setTimestampFormat(TagLib::ID3v2::SynchronizedLyricsFrame::AbsoluteMilliseconds);
    TagLib::ID3v2::SynchronizedLyricsFrame::SynchedTextList lines;
    lines.append({1500, String("first", String::UTF8)});
    lines.append({62250, String("第二行", String::UTF8)});
    sylt->setSynchedText(lines);
    f.ID3v2Tag(true)->setTitle("Timed");
    f.ID3v2Tag()->addFrame(sylt);
    ASSERT_TRUE(f.save());
  }
  LocalService service({dir.path().string()});
  EXPECT_EQ(service.get("/lrc/" + service.id_text(dir / "s.mp3") + ".lrc").body,
            "[00:01.50]first\n[01:02.25]第二行\n");
}

TEST(AudioTags, SidecarLyricAndFolderCover) {
  TempDir dir;
  write_file(dir / "album/01 track.mp3", minimal_mp3());
  {
    TagLib::MPEG::File f((dir / "album/01 track.mp3").c_str());
    f.ID3v2Tag(true)->setTitle("Tagged Title");
    ASSERT_TRUE(f.save());
  }
  write_file(dir / "album/01 track.lrc", "[ar:Sidecar Artist]\n[ti:Other]\n[00:01.00]side\n");
  write_file(dir / "album/Cover.JPG", kJpeg);
  write_file(dir / "album/no lyric.mp3", minimal_mp3());  // not a song of a lyric service
  LocalService service({dir.path().string()});
  ASSERT_EQ(service.service().library()->size(), 1u) << service.log();
  std::string id = service.id_text(dir / "album/01 track.mp3");
  auto hits = service.get("/api/lyric/tagged%20title/sidecar%20artist");
  EXPECT_EQ(cut_all(hits.body, "\"aid\": ", ","), std::vector<std::string>{id});
  EXPECT_EQ(service.get("/lrc/" + id + ".lrc").body, "[ar:Sidecar Artist]\n[ti:Other]\n[00:01.00]side\n");
  EXPECT_EQ(service.get("/cover/" + id + ".jpg").body, kJpeg);
}

TEST(AudioTags, DamagedAndUnreadableFilesAreSkippedWithAWarning) {
  TempDir dir;
  write_file(dir / "damaged.mp3", "ID3 this is not an mp3 at all");
  write_file(dir / "damaged.flac", "fLaC\x01\x02");
  write_file(dir / "fine.lrc", "[00:01.00]ok\n");
  std::filesystem::create_symlink(dir / "missing.lrc", dir / "gone.lrc");
  {
    // Larger than any lyric: refused before it is read (root ignores permissions, not this).
    write_file(dir / "huge.lrc", "");
    std::filesystem::resize_file(dir / "huge.lrc", 65u << 20);
  }
  if (geteuid() != 0) {
    write_file(dir / "locked.lrc", "[00:01.00]secret\n");
    chmod((dir / "locked.lrc").c_str(), 0);
  }
  LocalService service({dir.path().string()});
  EXPECT_EQ(service.service().library()->size(), 1u);
  for (const char* name : {"damaged.mp3", "damaged.flac", "gone.lrc", "huge.lrc"}) {
    EXPECT_NE(service.log().find("warning: skipping " + (dir / name) + ": "), std::string::npos)
        << name << "\n"
        << service.log();
  }
  if (geteuid() != 0) {
    EXPECT_NE(service.log().find("skipping " + (dir / "locked.lrc")), std::string::npos);
  }
}

}  // namespace
}  // namespace service_test
