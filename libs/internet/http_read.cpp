#include "libs/internet/http_read.h"

#include <cstring>
#include <memory>
#include <string>

namespace libs::internet {
namespace {

constexpr DWORD kRequestFlags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE;
constexpr const char* kVersion = "HTTP/1.0";
constexpr const char* kAcceptEntry = "Accept: */* \r\n";
constexpr const char* kHeaders = "Accept: */*\r\n\r\n";
constexpr DWORD kLengthQueryBuffer = 32;

// An internet handle closed when the call ends, however it ends.
class ScopedHandle {
 public:
  ScopedHandle(HINTERNET handle, const InternetFunctions& functions)
      : handle_(handle), functions_(functions) {}
  ScopedHandle(const ScopedHandle&) = delete;
  ScopedHandle& operator=(const ScopedHandle&) = delete;
  ~ScopedHandle() {
    if (handle_ != nullptr) functions_.close_handle(handle_);
  }
  HINTERNET get() const { return handle_; }

 private:
  HINTERNET handle_;
  const InternetFunctions& functions_;
};

struct AddressParts {
  char host[INTERNET_MAX_HOST_NAME_LENGTH] = {};
  char user[INTERNET_MAX_USER_NAME_LENGTH] = {};
  char password[INTERNET_MAX_PASSWORD_LENGTH] = {};
  char path[INTERNET_MAX_PATH_LENGTH] = {};
  INTERNET_SCHEME scheme = INTERNET_SCHEME_UNKNOWN;
  INTERNET_PORT port = 0;
};

bool split_address(std::string_view address, const InternetFunctions& functions, AddressParts* parts) {
  std::string text(address);
  URL_COMPONENTSA c{};
  c.dwStructSize = sizeof c;
  c.lpszHostName = parts->host;
  c.dwHostNameLength = sizeof parts->host;
  c.lpszUserName = parts->user;
  c.dwUserNameLength = sizeof parts->user;
  c.lpszPassword = parts->password;
  c.dwPasswordLength = sizeof parts->password;
  c.lpszUrlPath = parts->path;
  c.dwUrlPathLength = sizeof parts->path;
  if (!functions.crack_url(text.c_str(), static_cast<DWORD>(text.size()), 0, &c)) return false;
  parts->scheme = c.nScheme;
  parts->port = c.nPort;
  return true;
}

void set_proxy_options(HINTERNET root, HINTERNET connection, const ProxyTexts& proxy,
                       const InternetFunctions& functions) {
  INTERNET_PROXY_INFO info{};
  if (!proxy.server.empty()) {
    info.dwAccessType = INTERNET_OPEN_TYPE_PROXY;
    info.lpszProxy = proxy.server.c_str();
  } else {
    info.dwAccessType = INTERNET_OPEN_TYPE_PRECONFIG;
  }
  functions.set_option(root, INTERNET_OPTION_PROXY, &info, sizeof info);
  std::string user = proxy.user;
  std::string password = proxy.password;
  functions.set_option(connection, INTERNET_OPTION_PROXY_USERNAME, user.data(),
                       static_cast<DWORD>(user.size() + 1));
  functions.set_option(connection, INTERNET_OPTION_PROXY_PASSWORD, password.data(),
                       static_cast<DWORD>(password.size() + 1));
}

}  // namespace

DWORD chunk_size_for(const char* content_length) {
  if (content_length == nullptr) return kDefaultChunk;
  // The leading decimal part, as the header announces it; anything absurd is just large.
  unsigned long long length = 0;
  const char* p = content_length;
  while (*p == ' ' || *p == '\t') ++p;
  if (*p == '+') ++p;
  for (; *p >= '0' && *p <= '9' && length <= kLargestChunk; ++p) length = length * 10 + (*p - '0');
  if (length == 0) return kDefaultChunk;
  return length + 1 > kLargestChunk ? kLargestChunk : static_cast<DWORD>(length + 1);
}

std::vector<std::uint8_t> http_read(std::string_view address, InternetRoot& root,
                                    const InternetFunctions& functions) {
  std::vector<std::uint8_t> body;
  if (address.empty()) return body;
  auto parts = std::make_unique<AddressParts>();
  if (!split_address(address, functions, parts.get())) return body;

  DWORD flags = kRequestFlags;
  if (parts->scheme == INTERNET_SCHEME_HTTPS) flags |= INTERNET_FLAG_SECURE;

  HINTERNET internet = root.handle(functions);
  if (internet == nullptr) return body;
  ScopedHandle connection(functions.connect(internet, parts->host, parts->port, parts->user, parts->password,
                                            INTERNET_SERVICE_HTTP, 0, 0),
                          functions);
  if (connection.get() == nullptr) return body;
  set_proxy_options(internet, connection.get(), root.proxy(), functions);

  std::string object(parts->path);
  object = object.substr(0, object.find('#'));
  LPCSTR accept_types[] = {kAcceptEntry, nullptr};
  ScopedHandle request(functions.open_request(connection.get(), "GET", object.c_str(), kVersion, nullptr,
                                              accept_types, flags, 0),
                       functions);
  if (request.get() == nullptr) return body;
  if (!functions.send_request(request.get(), kHeaders, static_cast<DWORD>(std::strlen(kHeaders)), nullptr, 0))
    return body;

  char length_text[kLengthQueryBuffer] = {};
  DWORD length_size = sizeof length_text;
  bool announced = functions.query_info(request.get(), HTTP_QUERY_CONTENT_LENGTH, length_text, &length_size,
                                        nullptr) != FALSE;
  DWORD chunk = chunk_size_for(announced ? length_text : nullptr);

  std::vector<std::uint8_t> buffer(chunk);
  for (;;) {
    DWORD read = 0;
    bool ok = functions.read_file(request.get(), buffer.data(), chunk, &read) != FALSE;
    read = read > chunk ? chunk : read;
    // A body that a byte set's length word can't hold is not handed back cut short.
    if (body.size() + read > kLargestBody) return {};
    body.insert(body.end(), buffer.begin(), buffer.begin() + read);
    if (!ok || read == 0) break;
  }
  return body;
}

}  // namespace libs::internet
