#include "service/library/track_id.h"

namespace lyr::service {

std::uint64_t track_id(std::string_view path, unsigned attempt) {
  // FNV-1a, then a 64-bit finaliser so that every bit of the path reaches the bits kept. Both
  // are fixed here: a library's ids must not change with the compiler or the C++ library.
  std::uint64_t h = 0xcbf29ce484222325ull;
  for (char c : path) h = (h ^ static_cast<unsigned char>(c)) * 0x100000001b3ull;
  h += attempt * 0x9e3779b97f4a7c15ull;
  h = (h ^ (h >> 30)) * 0xbf58476d1ce4e5b9ull;
  h = (h ^ (h >> 27)) * 0x94d049bb133111ebull;
  h ^= h >> 31;
  return (h & (kLastLocalId - 1)) + 1;
}

}  // namespace lyr::service
