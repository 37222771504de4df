#include "platform/api/kernel.h"

namespace {
DWORD& last_error() {
  thread_local DWORD code = ERROR_SUCCESS;
  return code;
}
}  // namespace

extern "C" DWORD WINAPI GetLastError() {
  return last_error();
}

extern "C" void WINAPI SetLastError(DWORD code) {
  last_error() = code;
}
