// The internet root: the one InternetOpenA handle that every HttpReadFile call shares, opened on
// first use and kept until the program ends, with the proxy settings it is opened with.
// Contract: handle() opens the root once (concurrent first calls open it once, not twice) and
// answers it, or null when opening failed (a later call tries again); close() closes it and
// forgets the proxy texts. Nothing closes it on destruction: the process's root lives until
// the program's end sequence closes it, after which no static of the platform can be relied on.
// Thread-safe.
#pragma once

#include <mutex>
#include <string>

#include "libs/internet/internet_functions.h"

namespace libs::internet {

// The agent the library's requests announce.
inline constexpr const char* kAgent = "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)";

struct ProxyTexts {
  std::string server;  // empty: no proxy of the program's own
  std::string user;
  std::string password;
};

class InternetRoot {
 public:
  InternetRoot() = default;
  InternetRoot(const InternetRoot&) = delete;
  InternetRoot& operator=(const InternetRoot&) = delete;

  HINTERNET handle(const InternetFunctions& functions);
  ProxyTexts proxy() const;
  void close();

 private:
  mutable std::mutex mutex_;
  HINTERNET handle_ = nullptr;
  const InternetFunctions* opened_with_ = nullptr;
  ProxyTexts proxy_;
};

// The process's root, set up empty at start.
InternetRoot& process_internet_root();

}  // namespace libs::internet
