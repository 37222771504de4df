// InternetCrackUrlA: an http or https address split into its components.
#include <cstring>
#include <string_view>

#include "platform/inet/inet_text.h"
#include "platform/inet/wininet.h"

namespace {

struct Parts {
  std::string_view scheme;
  INTERNET_SCHEME scheme_number = INTERNET_SCHEME_UNKNOWN;
  std::string_view host;
  INTERNET_PORT port = 0;
  std::string_view user;
  std::string_view password;
  std::string_view path;   // up to "?" or "#" when the extra info is asked for separately
  std::string_view extra;  // "?query#fragment"
};

// 0 on success, otherwise the error code.
DWORD split(std::string_view url, bool split_extra, Parts* parts) {
  std::size_t colon = url.find(':');
  if (colon == std::string_view::npos || colon == 0) return ERROR_INTERNET_UNRECOGNIZED_SCHEME;
  parts->scheme = url.substr(0, colon);
  if (platform::inet::equal_nocase(parts->scheme, "http")) {
    parts->scheme_number = INTERNET_SCHEME_HTTP;
    parts->port = INTERNET_DEFAULT_HTTP_PORT;
  } else if (platform::inet::equal_nocase(parts->scheme, "https")) {
    parts->scheme_number = INTERNET_SCHEME_HTTPS;
    parts->port = INTERNET_DEFAULT_HTTPS_PORT;
  } else {
    return ERROR_INTERNET_UNRECOGNIZED_SCHEME;
  }
  std::string_view rest = url.substr(colon + 1);
  if (!rest.starts_with("//")) return ERROR_INTERNET_INVALID_URL;
  rest.remove_prefix(2);
  std::size_t authority_end = rest.find_first_of("/?#");
  std::string_view authority = rest.substr(0, authority_end);
  std::string_view after =
      authority_end == std::string_view::npos ? std::string_view() : rest.substr(authority_end);

  std::size_t at = authority.rfind('@');
  if (at != std::string_view::npos) {
    std::string_view userinfo = authority.substr(0, at);
    std::size_t separator = userinfo.find(':');
    parts->user = userinfo.substr(0, separator);
    if (separator != std::string_view::npos) parts->password = userinfo.substr(separator + 1);
    authority.remove_prefix(at + 1);
  }
  std::string_view port_text;
  if (authority.starts_with('[')) {
    std::size_t close = authority.find(']');
    if (close == std::string_view::npos) return ERROR_INTERNET_INVALID_URL;
    parts->host = authority.substr(1, close - 1);
    std::string_view tail = authority.substr(close + 1);
    if (!tail.empty() && tail.front() != ':') return ERROR_INTERNET_INVALID_URL;
    if (!tail.empty()) port_text = tail.substr(1);
  } else {
    std::size_t separator = authority.find(':');
    parts->host = authority.substr(0, separator);
    if (separator != std::string_view::npos) port_text = authority.substr(separator + 1);
  }
  if (parts->host.empty()) return ERROR_INTERNET_INVALID_URL;
  if (!port_text.empty()) {
    if (port_text.size() > 5) return ERROR_INTERNET_INVALID_URL;
    DWORD port = 0;
    for (char c : port_text) {
      if (c < '0' || c > '9') return ERROR_INTERNET_INVALID_URL;
      port = port * 10 + static_cast<DWORD>(c - '0');
    }
    if (port == 0 || port > 65535) return ERROR_INTERNET_INVALID_URL;
    parts->port = static_cast<INTERNET_PORT>(port);
  }
  if (split_extra) {
    std::size_t extra = after.find_first_of("?#");
    parts->path = after.substr(0, extra);
    if (extra != std::string_view::npos) parts->extra = after.substr(extra);
  } else {
    parts->path = after;
  }
  return 0;
}

// One component: skipped at length 0, pointed into the address when there is no buffer,
// copied with its NUL otherwise. False when the buffer is too small (length set to the size
// needed).
bool hand_out(LPCSTR url, std::string_view value, LPSTR* pointer, DWORD* length) {
  if (*length == 0) return true;
  if (*pointer == nullptr) {
    *pointer = const_cast<LPSTR>(url) + (value.data() != nullptr ? value.data() - url : 0);
    *length = static_cast<DWORD>(value.size());
    return true;
  }
  if (value.size() + 1 > *length) {
    *length = static_cast<DWORD>(value.size() + 1);
    return false;
  }
  if (!value.empty()) std::memcpy(*pointer, value.data(), value.size());
  (*pointer)[value.size()] = '\0';
  *length = static_cast<DWORD>(value.size());
  return true;
}

}  // namespace

extern "C" BOOL InternetCrackUrlA(LPCSTR url, DWORD url_length, DWORD flags, URL_COMPONENTSA* components) {
  if (url == nullptr || components == nullptr || components->dwStructSize != sizeof(URL_COMPONENTSA) ||
      flags != 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::string_view address(url, url_length != 0 ? url_length : std::strlen(url));
  Parts parts;
  DWORD error = split(address, components->dwExtraInfoLength != 0, &parts);
  if (error != 0) {
    SetLastError(error);
    return FALSE;
  }
  components->nScheme = parts.scheme_number;
  components->nPort = parts.port;
  URL_COMPONENTSA& c = *components;
  // Every component is handed out (so each length tells the caller what it needs) before the
  // call answers.
  bool fits = hand_out(url, parts.scheme, &c.lpszScheme, &c.dwSchemeLength);
  fits &= hand_out(url, parts.host, &c.lpszHostName, &c.dwHostNameLength);
  fits &= hand_out(url, parts.user, &c.lpszUserName, &c.dwUserNameLength);
  fits &= hand_out(url, parts.password, &c.lpszPassword, &c.dwPasswordLength);
  fits &= hand_out(url, parts.path, &c.lpszUrlPath, &c.dwUrlPathLength);
  fits &= hand_out(url, parts.extra, &c.lpszExtraInfo, &c.dwExtraInfoLength);
  if (!fits) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return FALSE;
  }
  return TRUE;
}
