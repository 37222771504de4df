// The handle table of the internet client functions: roots, connections and requests.
// Contract: issue() hands out a handle value that is never reused; find() answers the live
// object or null; release() forgets a handle (the object lives on while a child or a running
// call still holds it). Thread-safe.
#pragma once

#include <atomic>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "platform/inet/wininet.h"

namespace platform::net {
class Transfer;
}

namespace platform::inet {

// Timeouts in milliseconds; 0 waits without limit.
struct Timeouts {
  DWORD connect_ms = 30000;
  DWORD receive_ms = 60000;
};

struct ProxySettings {
  DWORD access_type = INTERNET_OPEN_TYPE_PRECONFIG;
  std::string server;
  std::string bypass;
};

struct ProxyCredentials {
  std::string user;
  std::string password;
};

struct Root {
  std::string agent;
  std::mutex mutex;  // guards the settings below
  ProxySettings proxy;
  Timeouts timeouts;
};

struct Connection {
  std::shared_ptr<Root> root;
  std::string host;
  INTERNET_PORT port = 0;
  std::string user;
  std::string password;
  std::mutex mutex;
  ProxyCredentials proxy_credentials;
  Timeouts timeouts;
};

struct Request {
  std::shared_ptr<Connection> connection;
  std::string verb;
  std::string object;
  std::string version;
  std::string accept;    // the Accept value built from the accept types, or empty
  std::string referrer;  // or empty
  DWORD flags = 0;
  std::mutex mutex;                 // one call at a time drives the transfer
  std::atomic<bool> closed{false};  // set by InternetCloseHandle: a blocked call gives up
  ProxyCredentials proxy_credentials;
  Timeouts timeouts;
  std::unique_ptr<net::Transfer> transfer;
  ~Request();
};

using InternetObject =
    std::variant<std::shared_ptr<Root>, std::shared_ptr<Connection>, std::shared_ptr<Request>>;

HINTERNET issue_handle(InternetObject object);
// Null when the handle is unknown or closed.
std::optional<InternetObject> find_handle(HINTERNET handle);
bool release_handle(HINTERNET handle);

// Typed lookups: null, with the last error set (ERROR_INVALID_HANDLE or
// ERROR_INTERNET_INCORRECT_HANDLE_TYPE), when the handle isn't one of that kind.
std::shared_ptr<Root> find_root(HINTERNET handle);
std::shared_ptr<Connection> find_connection(HINTERNET handle);
std::shared_ptr<Request> find_request(HINTERNET handle);

}  // namespace platform::inet
