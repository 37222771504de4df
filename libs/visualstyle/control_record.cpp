#include "libs/visualstyle/control_record.h"

#include <atomic>
#include <forward_list>

namespace libs::visualstyle {
namespace {

// Records and hook of one thread. Nodes of a forward_list never move, so a record found stays
// put while other records come and go.
struct ThreadStyles {
  std::forward_list<ControlRecord> records;
  HHOOK hook = nullptr;
};

ThreadStyles& thread_styles() {
  thread_local ThreadStyles styles;
  return styles;
}

std::atomic<int> current_style{0};

}  // namespace

ControlRecord* find_record(HWND window) {
  if (window == nullptr) return nullptr;
  for (ControlRecord& r : thread_styles().records)
    if (r.window == window) return &r;
  return nullptr;
}

ControlRecord& add_record(const ControlRecord& record) {
  ThreadStyles& styles = thread_styles();
  styles.records.push_front(record);
  return styles.records.front();
}

void remove_record(HWND window) {
  thread_styles().records.remove_if([window](const ControlRecord& r) { return r.window == window; });
}

std::vector<HWND> recorded_windows() {
  std::vector<HWND> out;
  for (const ControlRecord& r : thread_styles().records) out.push_back(r.window);
  return out;
}

HHOOK thread_hook() {
  return thread_styles().hook;
}

void set_thread_hook(HHOOK hook) {
  thread_styles().hook = hook;
}

int style_number() {
  return current_style.load(std::memory_order_relaxed);
}

void set_style_number(int style) {
  current_style.store(style, std::memory_order_relaxed);
}

}  // namespace libs::visualstyle
