#include "platform/com/typeinfo.h"

// Member names hash without regard to case; the binders only compare hashes they made
// themselves, so any stable case-blind hash serves.
ULONG LHashValOfNameSys(SYSKIND syskind, LCID lcid, LPCOLESTR name) {
  if (name == nullptr) return 0;
  ULONG h = 0x811C9DC5u;
  for (; *name != 0; ++name) {
    char16_t c = *name;
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
    h = (h ^ c) * 0x01000193u;
  }
  // The platform keeps the low 16 bits for the hash proper and mixes the system in above them.
  return (h & 0xFFFFu) | ((static_cast<ULONG>(syskind) ^ (lcid & 0xFFu)) << 16);
}
