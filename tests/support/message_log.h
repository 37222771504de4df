// Message-sequence testing: window procedures and hooks that log every message they see, and a
// comparison of the log with an expected sequence written as data, e.g.
//   const Expected create_child[] = {{WM_NCCREATE}, {WM_NCCALCSIZE, sent | wparam, 0},
//                                    {WM_CREATE}, {WM_SIZE, sent | wparam, SIZE_RESTORED},
//                                    {WM_MOVE}, {WM_PARENTNOTIFY, sent | parent | wparam, WM_CREATE}};
//   EXPECT_TRUE(log().matches(create_child, "create child"));
// `matches` consumes the log and, on mismatch, prints both sequences side by side.
// Windows of the class from register_logging_class() use logging_proc; a test changes a
// window's answers with MessageLog::set_override. The log is shared by all threads.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/api.h"

namespace lyr::test {

// Flags of expected and logged entries.
inline constexpr unsigned sent = 0x1;         // reached the procedure without DispatchMessageA
inline constexpr unsigned posted = 0x2;       // dispatched from the queue
inline constexpr unsigned parent = 0x4;       // received by the window set with set_parent
inline constexpr unsigned wparam = 0x8;       // compare wParam
inline constexpr unsigned lparam = 0x10;      // compare lParam
inline constexpr unsigned defwinproc = 0x20;  // sent by DefWindowProcA while it handled another
inline constexpr unsigned optional = 0x40;    // may be missing
inline constexpr unsigned hook = 0x80;        // seen by a WH_CALLWNDPROC hook

struct Expected {
  UINT message;
  unsigned flags = sent;
  WPARAM wp = 0;
  LPARAM lp = 0;
};

struct Logged {
  HWND hwnd;
  UINT message;
  unsigned flags;
  WPARAM wp;
  LPARAM lp;
  DWORD thread;
};

using Override = std::function<std::optional<LRESULT>(HWND, UINT, WPARAM, LPARAM)>;

class MessageLog {
 public:
  void record(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, unsigned flags);
  void clear();
  std::vector<Logged> entries() const;
  // Only messages of these windows are logged (none given: all windows).
  void watch_only(std::vector<HWND> windows);
  void set_parent(HWND hwnd);
  // Called first by logging_proc; a value returned is the message's result.
  void set_override(Override fn);
  std::optional<LRESULT> run_override(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  // Compares and clears the log.
  ::testing::AssertionResult matches(std::span<const Expected> expected, const char* context);

 private:
  mutable std::mutex mutex_;
  std::vector<Logged> entries_;
  std::vector<HWND> watched_;
  HWND parent_ = nullptr;
  Override override_;
};

MessageLog& log();
std::string message_name(UINT msg);

LRESULT logging_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
// DefWindowProcA, marking what it sends as `defwinproc`.
LRESULT log_defwindowproc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
// A WH_CALLWNDPROC hook that logs with the `hook` flag and calls the next hook.
LRESULT logging_callwndproc(int code, WPARAM wp, LPARAM lp);
void set_logging_hook_handle(HHOOK hook);
// Registers "LogWindow" (logging_proc, arrow-less, white background) once; returns its name.
const char* register_logging_class();
// Dispatches every queued message of this thread (paint included), marking them `posted`.
void pump_messages();

}  // namespace lyr::test
