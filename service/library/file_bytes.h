// Whole-file reads with the reason of a failure, for files the service indexes and serves.
#pragma once

#include <string>

#include "service/core/result.h"

namespace lyr::service {

// Files above `limit` bytes are refused: a lyric or a picture is never that big, and a stray
// disc image in a music folder must not be read into memory.
Result<std::string> read_file_bytes(const std::string& path, std::size_t limit = 64u << 20);

}  // namespace lyr::service
