#include "libs/threads/critical_sections.h"

namespace libs::threads {

CRITICAL_SECTION* CriticalSectionList::add() {
  auto node = std::make_unique<Node>();
  InitializeCriticalSection(&node->section);
  std::lock_guard lock(mutex_);
  node->next = std::move(head_);
  head_ = std::move(node);
  return &head_->section;
}

void CriticalSectionList::clear() {
  std::unique_ptr<Node> list;
  {
    std::lock_guard lock(mutex_);
    list = std::move(head_);
  }
  // One node at a time, so that a long list does not unwind recursively.
  while (list != nullptr) {
    DeleteCriticalSection(&list->section);
    list = std::move(list->next);
  }
}

std::size_t CriticalSectionList::size() const {
  std::lock_guard lock(mutex_);
  std::size_t n = 0;
  for (const Node* node = head_.get(); node != nullptr; node = node->next.get()) ++n;
  return n;
}

CriticalSectionList& critical_sections() {
  static CriticalSectionList list;
  return list;
}

}  // namespace libs::threads
