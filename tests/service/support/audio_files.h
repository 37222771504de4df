// The smallest audio files TagLib accepts, for tests that then write tags into them with TagLib.
#pragma once

#include <cstdint>
#include <string>

namespace service_test {

std::string minimal_mp3();   // ten silent MPEG-1 Layer III frames
// A STREAMINFO block (44.1 kHz, so `samples` / 44100 seconds long) and the start of a frame.
std::string minimal_flac(std::uint64_t samples = 0);
std::string minimal_ogg();   // Vorbis identification, comment and setup headers and one packet
std::string minimal_m4a();   // ftyp, moov with mvhd, and mdat

}  // namespace service_test
