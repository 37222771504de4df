#include "runtime/hidden_window.h"

#include <cstdint>

#include "platform/api/gdi.h"
#include "platform/api/input.h"
#include "platform/api/user.h"
#include "runtime/end_sequence.h"
#include "runtime/state.h"

namespace runtime {
namespace {

constexpr char kClassName[] = "LyricsRuntimeHiddenWindow";

LRESULT hidden_window_proc(HWND hwnd, UINT message, WPARAM wp, LPARAM lp) {
  if (message == kEndProgramMessage) {
    RuntimeState* s = current_state();
    if (s == nullptr || !s->exiting.load())
      end_program(static_cast<std::int32_t>(static_cast<std::uint32_t>(wp)));
    return 0;
  }
  return DefWindowProcA(hwnd, message, wp, lp);
}

void register_class() {
  WNDCLASSA wc{};
  wc.lpfnWndProc = hidden_window_proc;
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
  wc.lpszClassName = kClassName;
  // Registering a second time (a second host in one process) fails harmlessly: the class is there.
  RegisterClassA(&wc);
}

}  // namespace

HWND create_hidden_window() {
  register_class();
  return CreateWindowExA(WS_EX_TOOLWINDOW, kClassName, "", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
}

}  // namespace runtime
