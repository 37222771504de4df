#include "platform/inet/inet_handles.h"

#include <cstdint>
#include <unordered_map>

#include "platform/net/transfer.h"

namespace platform::inet {
namespace {

// Handle values live in their own range and count up, so a closed one never comes back.
constexpr std::uintptr_t kHandleBase = 0x1E7000000;

struct HandleTable {
  std::mutex mutex;
  std::uintptr_t next = kHandleBase;
  std::unordered_map<std::uintptr_t, InternetObject> objects;
};

HandleTable& table() {
  static HandleTable instance;
  return instance;
}

template <class T>
std::shared_ptr<T> find_as(HINTERNET handle) {
  std::optional<InternetObject> object = find_handle(handle);
  if (!object) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  if (auto* typed = std::get_if<std::shared_ptr<T>>(&*object)) return *typed;
  SetLastError(ERROR_INTERNET_INCORRECT_HANDLE_TYPE);
  return nullptr;
}

}  // namespace

Request::~Request() = default;

HINTERNET issue_handle(InternetObject object) {
  HandleTable& t = table();
  std::lock_guard lock(t.mutex);
  t.next += 4;
  t.objects.emplace(t.next, std::move(object));
  return reinterpret_cast<HINTERNET>(t.next);
}

std::optional<InternetObject> find_handle(HINTERNET handle) {
  HandleTable& t = table();
  std::lock_guard lock(t.mutex);
  auto it = t.objects.find(reinterpret_cast<std::uintptr_t>(handle));
  if (it == t.objects.end()) return std::nullopt;
  return it->second;
}

bool release_handle(HINTERNET handle) {
  InternetObject released;
  {
    HandleTable& t = table();
    std::lock_guard lock(t.mutex);
    auto it = t.objects.find(reinterpret_cast<std::uintptr_t>(handle));
    if (it == t.objects.end()) return false;
    released = std::move(it->second);
    t.objects.erase(it);
  }
  // The object (and a transfer it may own) is destroyed here, outside the table's lock.
  return true;
}

std::shared_ptr<Root> find_root(HINTERNET handle) {
  return find_as<Root>(handle);
}
std::shared_ptr<Connection> find_connection(HINTERNET handle) {
  return find_as<Connection>(handle);
}
std::shared_ptr<Request> find_request(HINTERNET handle) {
  return find_as<Request>(handle);
}

}  // namespace platform::inet
