// Test windows that record the messages they receive, for tests on the headless display.
// Each Recorder registers its own window class (so tests can choose class styles) whose
// procedure logs every message of the windows it creates, then passes it to DefWindowProcA
// unless a handler set for that message answers.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/api.h"

namespace lyr::test {

struct Logged {
  HWND hwnd;
  UINT message;
  WPARAM wp;
  LPARAM lp;
};

class Recorder {
 public:
  explicit Recorder(UINT class_style = 0, HCURSOR cursor = nullptr);
  ~Recorder();
  Recorder(const Recorder&) = delete;
  Recorder& operator=(const Recorder&) = delete;

  HWND top(RECT screen_rect, DWORD style = WS_OVERLAPPEDWINDOW | WS_VISIBLE, const char* title = "test");
  HWND child(HWND parent, RECT client_rect, DWORD style = WS_CHILD | WS_VISIBLE);

  // Answers `msg` for every window of this recorder with the handler's result instead of the
  // default processing.
  void on(UINT msg, std::function<LRESULT(HWND, WPARAM, LPARAM)> handler);

  // Messages received, oldest first; optionally only those in the given set.
  std::vector<Logged> messages(std::initializer_list<UINT> only = {}) const;
  std::vector<Logged> messages_of(HWND hwnd, std::initializer_list<UINT> only = {}) const;
  void clear() { log_.clear(); }
  const std::string& class_name() const { return class_name_; }

 private:
  static LRESULT CALLBACK proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  std::string class_name_;
  std::vector<Logged> log_;
  std::map<UINT, std::function<LRESULT(HWND, WPARAM, LPARAM)>> handlers_;
  std::vector<HWND> windows_;
};

// The mouse and keyboard messages, for filtering logs.
inline constexpr std::initializer_list<UINT> kMouseButtons = {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK,
                                                              WM_RBUTTONDOWN, WM_RBUTTONUP, WM_RBUTTONDBLCLK};

}  // namespace lyr::test
