#include "tests/service/support/audio_files.h"

#include <taglib/oggpage.h>
#include <taglib/tbytevectorlist.h>

#include <cstdint>

namespace service_test {

namespace {

std::string be32(std::uint32_t v) {
  return {static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8),
          static_cast<char>(v)};
}

std::string atom(const char* type, const std::string& payload) {
  return be32(static_cast<std::uint32_t>(8 + payload.size())) + type + payload;
}

}  // namespace

std::string minimal_mp3() {
  std::string frame = std::string("\xFF\xFB\x90\x00", 4) + std::string(413, '\0');  // 128 kbit/s, 44.1 kHz
  std::string out;
  for (int i = 0; i < 10; ++i) out += frame;
  return out;
}

std::string minimal_flac(std::uint64_t samples) {
  std::string out = "fLaC";
  out += std::string("\x80\x00\x00\x22", 4);  // last block, STREAMINFO, 34 bytes
  out += std::string("\x10\x00\x10\x00", 4);  // block sizes 4096
  out += std::string(6, '\0');                // frame sizes unknown
  // 44100 Hz (20 bits), 2 channels (3 bits: 1), 16 bits (5 bits: 15), the samples (36 bits)
  std::uint64_t v = (std::uint64_t{44100} << 44) | (std::uint64_t{1} << 41) | (std::uint64_t{15} << 36) |
                    (samples & 0xFFFFFFFFFull);
  for (int i = 7; i >= 0; --i) out.push_back(static_cast<char>(v >> (8 * i)));
  out += std::string(16, '\0');  // MD5
  out += std::string("\xFF\xF8\x69\x08\x00\x00", 6) + std::string(32, '\0');
  return out;
}

std::string minimal_ogg() {
  using namespace TagLib;
  ByteVector ident("\x01vorbis", 7);
  ident.append(ByteVector::fromUInt(0, false));  // version
  ident.append(char(2));                         // channels
  ident.append(ByteVector::fromUInt(44100, false));
  ident.append(ByteVector::fromUInt(0, false));
  ident.append(ByteVector::fromUInt(128000, false));
  ident.append(ByteVector::fromUInt(0, false));
  ident.append(char(0xB8));  // block sizes
  ident.append(char(1));     // framing
  ByteVector comment("\x03vorbis", 7);
  comment.append(ByteVector::fromUInt(4, false));
  comment.append(ByteVector("test", 4));
  comment.append(ByteVector::fromUInt(0, false));
  comment.append(char(1));
  ByteVector setup("\x05vorbis\x00", 8);
  std::string out;
  auto add = [&](std::initializer_list<ByteVector> list, int first, bool last) {
    ByteVectorList packets;
    for (const auto& p : list) packets.append(p);
    auto pages =
        Ogg::Page::paginate(packets, Ogg::Page::SinglePagePerGroup, 0x5EED, first, false, true, last);
    for (auto* page : pages) {
      ByteVector bytes = page->render();
      out.append(bytes.data(), bytes.size());
      delete page;
    }
  };
  add({ident}, 0, false);
  add({comment, setup}, 1, false);
  add({ByteVector(16, '\0')}, 2, true);
  return out;
}

std::string minimal_m4a() {
  std::string mvhd = std::string(12, '\0') + be32(1000) + be32(0) + be32(0x00010000) +
                     std::string("\x01\x00", 2) + std::string(10, '\0') + be32(0x00010000) +
                     std::string(12, '\0') + be32(0x00010000) + std::string(12, '\0') + be32(0x40000000) +
                     std::string(24, '\0') + be32(2);
  return atom("ftyp", "M4A " + be32(0) + "M4A mp42isom") + atom("moov", atom("mvhd", mvhd)) +
         atom("mdat", std::string(16, '\0'));
}

}  // namespace service_test
