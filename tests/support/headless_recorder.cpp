#include "tests/support/headless_recorder.h"

#include <algorithm>
#include <atomic>

namespace lyr::test {
namespace {

constexpr const char* kRecorderProp = "lyr.test.recorder";

}  // namespace

Recorder::Recorder(UINT class_style, HCURSOR cursor) {
  static std::atomic<int> serial{0};
  class_name_ = "LyrTestRecorder" + std::to_string(++serial);
  WNDCLASSA wc{};
  wc.style = class_style;
  wc.lpfnWndProc = &Recorder::proc;
  wc.hCursor = cursor ? cursor : LoadCursorA(nullptr, IDC_ARROW);
  wc.hbrBackground = nullptr;
  wc.lpszClassName = class_name_.c_str();
  RegisterClassA(&wc);
}

Recorder::~Recorder() {
  for (HWND w : windows_)
    if (IsWindow(w)) DestroyWindow(w);
  UnregisterClassA(class_name_.c_str(), nullptr);
}

HWND Recorder::top(RECT r, DWORD style, const char* title) {
  HWND w = CreateWindowExA(0, class_name_.c_str(), title, style, r.left, r.top, r.right - r.left,
                           r.bottom - r.top, nullptr, nullptr, nullptr, this);
  if (w) windows_.push_back(w);
  return w;
}

HWND Recorder::child(HWND parent, RECT r, DWORD style) {
  HWND w = CreateWindowExA(0, class_name_.c_str(), "", style, r.left, r.top, r.right - r.left,
                           r.bottom - r.top, parent, nullptr, nullptr, this);
  if (w) windows_.push_back(w);
  return w;
}

void Recorder::on(UINT msg, std::function<LRESULT(HWND, WPARAM, LPARAM)> handler) {
  handlers_[msg] = std::move(handler);
}

std::vector<Logged> Recorder::messages(std::initializer_list<UINT> only) const {
  std::vector<Logged> out;
  for (const Logged& l : log_)
    if (only.size() == 0 || std::find(only.begin(), only.end(), l.message) != only.end()) out.push_back(l);
  return out;
}

std::vector<Logged> Recorder::messages_of(HWND hwnd, std::initializer_list<UINT> only) const {
  std::vector<Logged> out;
  for (const Logged& l : messages(only))
    if (l.hwnd == hwnd) out.push_back(l);
  return out;
}

LRESULT CALLBACK Recorder::proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* self = static_cast<Recorder*>(GetPropA(hwnd, kRecorderProp));
  if (!self && (msg == WM_NCCREATE || msg == WM_CREATE)) {
    self = static_cast<Recorder*>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams);
    SetPropA(hwnd, kRecorderProp, self);
  }
  if (!self) return DefWindowProcA(hwnd, msg, wp, lp);
  if (msg == WM_NCDESTROY) RemovePropA(hwnd, kRecorderProp);
  self->log_.push_back({hwnd, msg, wp, lp});
  auto it = self->handlers_.find(msg);
  if (it != self->handlers_.end()) return it->second(hwnd, wp, lp);
  return DefWindowProcA(hwnd, msg, wp, lp);
}

}  // namespace lyr::test
