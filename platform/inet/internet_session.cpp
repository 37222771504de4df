// InternetOpenA, InternetConnectA, InternetSetOptionA and InternetCloseHandle.
#include <cstring>
#include <string_view>

#include "platform/inet/inet_handles.h"
#include "platform/inet/inet_text.h"
#include "platform/inet/wininet.h"

using namespace platform::inet;

namespace {

constexpr DWORD kOpenTypePreconfigNoAutoProxy = 4;

std::string text_or_empty(LPCSTR text) {
  return text != nullptr ? std::string(text) : std::string();
}

BOOL fail(DWORD error) {
  SetLastError(error);
  return FALSE;
}

template <class Object>
void set_timeout(Object& object, DWORD option, DWORD value) {
  std::lock_guard lock(object.mutex);
  (option == INTERNET_OPTION_CONNECT_TIMEOUT ? object.timeouts.connect_ms : object.timeouts.receive_ms) =
      value;
}

BOOL set_proxy(const std::shared_ptr<Root>& root, LPVOID buffer, DWORD length) {
  if (length < sizeof(INTERNET_PROXY_INFO)) return fail(ERROR_INVALID_PARAMETER);
  const auto* info = static_cast<const INTERNET_PROXY_INFO*>(buffer);
  ProxySettings proxy;
  proxy.access_type =
      info->dwAccessType == kOpenTypePreconfigNoAutoProxy ? INTERNET_OPEN_TYPE_PRECONFIG : info->dwAccessType;
  if (proxy.access_type != INTERNET_OPEN_TYPE_PRECONFIG && proxy.access_type != INTERNET_OPEN_TYPE_DIRECT &&
      proxy.access_type != INTERNET_OPEN_TYPE_PROXY)
    return fail(ERROR_INVALID_PARAMETER);
  if (proxy.access_type == INTERNET_OPEN_TYPE_PROXY) {
    proxy.server = text_or_empty(info->lpszProxy);
    proxy.bypass = text_or_empty(info->lpszProxyBypass);
    if (proxy.server.empty()) return fail(ERROR_INVALID_PARAMETER);
  }
  std::lock_guard lock(root->mutex);
  root->proxy = std::move(proxy);
  return TRUE;
}

template <class Object>
BOOL set_proxy_credential(Object& object, DWORD option, LPVOID buffer, DWORD length) {
  const char* text = static_cast<const char*>(buffer);
  std::string value(text, strnlen(text, length));
  std::lock_guard lock(object.mutex);
  (option == INTERNET_OPTION_PROXY_USERNAME ? object.proxy_credentials.user
                                            : object.proxy_credentials.password) = std::move(value);
  return TRUE;
}

}  // namespace

extern "C" HINTERNET InternetOpenA(LPCSTR agent, DWORD access_type, LPCSTR proxy, LPCSTR proxy_bypass,
                                   DWORD flags) {
  if (flags != 0 || !single_line(text_or_empty(agent))) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  INTERNET_PROXY_INFO info{access_type, proxy, proxy_bypass};
  auto root = std::make_shared<Root>();
  root->agent = text_or_empty(agent);
  if (!set_proxy(root, &info, sizeof info)) return nullptr;
  return issue_handle(root);
}

extern "C" HINTERNET InternetConnectA(HINTERNET internet, LPCSTR server, INTERNET_PORT port, LPCSTR user,
                                      LPCSTR password, DWORD service, DWORD /*flags*/,
                                      DWORD_PTR /*context*/) {
  std::shared_ptr<Root> root = find_root(internet);
  if (!root) return nullptr;
  std::string host = text_or_empty(server);
  if (service != INTERNET_SERVICE_HTTP || host.empty() ||
      host.find_first_of(" \t\r\n/?#@") != std::string::npos) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto connection = std::make_shared<Connection>();
  connection->root = root;
  connection->host = std::move(host);
  connection->port = port;
  connection->user = text_or_empty(user);
  connection->password = text_or_empty(password);
  {
    std::lock_guard lock(root->mutex);
    connection->timeouts = root->timeouts;
  }
  return issue_handle(connection);
}

extern "C" BOOL InternetSetOptionA(HINTERNET internet, DWORD option, LPVOID buffer, DWORD length) {
  std::optional<InternetObject> object = find_handle(internet);
  if (!object) return fail(ERROR_INVALID_HANDLE);
  if (buffer == nullptr) return fail(ERROR_INVALID_PARAMETER);
  switch (option) {
    case INTERNET_OPTION_PROXY: {
      auto* root = std::get_if<std::shared_ptr<Root>>(&*object);
      if (root == nullptr) return fail(ERROR_INTERNET_INCORRECT_HANDLE_TYPE);
      return set_proxy(*root, buffer, length);
    }
    case INTERNET_OPTION_PROXY_USERNAME:
    case INTERNET_OPTION_PROXY_PASSWORD:
      if (auto* c = std::get_if<std::shared_ptr<Connection>>(&*object))
        return set_proxy_credential(**c, option, buffer, length);
      if (auto* r = std::get_if<std::shared_ptr<Request>>(&*object))
        return set_proxy_credential(**r, option, buffer, length);
      return fail(ERROR_INTERNET_INCORRECT_HANDLE_TYPE);
    case INTERNET_OPTION_CONNECT_TIMEOUT:
    case INTERNET_OPTION_RECEIVE_TIMEOUT: {
      if (length < sizeof(DWORD)) return fail(ERROR_INVALID_PARAMETER);
      DWORD value;
      std::memcpy(&value, buffer, sizeof value);
      std::visit([&](auto& o) { set_timeout(*o, option, value); }, *object);
      return TRUE;
    }
    default:
      return fail(ERROR_INTERNET_INVALID_OPTION);
  }
}

extern "C" BOOL InternetCloseHandle(HINTERNET internet) {
  std::optional<InternetObject> object = find_handle(internet);
  if (!object) return fail(ERROR_INVALID_HANDLE);
  // A call still blocked on this request gives up instead of keeping the transfer going.
  if (auto* request = std::get_if<std::shared_ptr<Request>>(&*object)) (*request)->closed = true;
  return release_handle(internet) ? TRUE : fail(ERROR_INVALID_HANDLE);
}
