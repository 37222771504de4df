#include "libs/internet/internet_root.h"

namespace libs::internet {

HINTERNET InternetRoot::handle(const InternetFunctions& functions) {
  std::lock_guard lock(mutex_);
  if (handle_ == nullptr) {
    bool proxied = !proxy_.server.empty();
    handle_ = functions.open(kAgent, proxied ? INTERNET_OPEN_TYPE_PROXY : INTERNET_OPEN_TYPE_DIRECT,
                             proxied ? proxy_.server.c_str() : nullptr, nullptr, 0);
    opened_with_ = &functions;
  }
  return handle_;
}

ProxyTexts InternetRoot::proxy() const {
  std::lock_guard lock(mutex_);
  return proxy_;
}

void InternetRoot::close() {
  std::lock_guard lock(mutex_);
  if (handle_ != nullptr) opened_with_->close_handle(handle_);
  handle_ = nullptr;
  opened_with_ = nullptr;
  proxy_ = ProxyTexts{};
}

InternetRoot& process_internet_root() {
  static InternetRoot root;
  return root;
}

}  // namespace libs::internet
