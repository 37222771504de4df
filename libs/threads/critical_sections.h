// The library's list of critical sections: the lock commands create its entries, and the end of
// the program deletes them all. Entries stay at one address until the list is emptied.
// Contract: add() initialises a new critical section and answers it; clear() deletes every
// one (DeleteCriticalSection), frees its node and leaves the list empty. Both may be called
// from any thread.
#pragma once

#include <cstddef>
#include <memory>
#include <mutex>

#include "platform/api/kernel.h"

namespace libs::threads {

class CriticalSectionList {
 public:
  CriticalSectionList() = default;
  ~CriticalSectionList() { clear(); }
  CriticalSectionList(const CriticalSectionList&) = delete;
  CriticalSectionList& operator=(const CriticalSectionList&) = delete;

  CRITICAL_SECTION* add();
  void clear();
  std::size_t size() const;

 private:
  // A singly linked list: each node holds one section and the link to the next.
  struct Node {
    CRITICAL_SECTION section{};
    std::unique_ptr<Node> next;
  };
  mutable std::mutex mutex_;
  std::unique_ptr<Node> head_;
};

// The library's one list.
CriticalSectionList& critical_sections();

}  // namespace libs::threads
