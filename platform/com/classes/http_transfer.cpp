#include "platform/com/classes/http_transfer.h"

#include <curl/curl.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string_view>

namespace platform::com {
namespace {

struct CurlDeleter {
  void operator()(CURL* c) const { curl_easy_cleanup(c); }
};
struct ListDeleter {
  void operator()(curl_slist* l) const { curl_slist_free_all(l); }
};

void init_once() {
  static const bool done = [] { return curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK; }();
  (void)done;
}

std::size_t on_body(char* data, std::size_t size, std::size_t count, void* user) {
  auto* r = static_cast<HttpResponse*>(user);
  std::size_t n = size * count;
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(data);
  r->body.insert(r->body.end(), bytes, bytes + n);
  return n;
}

std::size_t on_header(char* data, std::size_t size, std::size_t count, void* user) {
  auto* r = static_cast<HttpResponse*>(user);
  std::size_t n = size * count;
  std::string line(data, n);
  while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
  if (line.rfind("HTTP/", 0) == 0) {
    // A new response (after a redirect or an interim reply) starts over.
    r->header_lines.clear();
    r->body.clear();
    std::size_t first = line.find(' ');
    std::size_t second = first == std::string::npos ? std::string::npos : line.find(' ', first + 1);
    r->status_text = second == std::string::npos ? std::string() : line.substr(second + 1);
  } else if (!line.empty()) {
    constexpr std::string_view kLength = "content-length:";
    if (line.size() > kLength.size() &&
        std::equal(kLength.begin(), kLength.end(), line.begin(),
                   [](char a, char b) { return a == std::tolower(static_cast<unsigned char>(b)); })) {
      // The body's announced size is room taken once rather than grown into (within reason).
      unsigned long long length = std::strtoull(line.c_str() + kLength.size(), nullptr, 10);
      if (length <= (256ull << 20)) r->body.reserve(static_cast<std::size_t>(length));
    }
    r->header_lines.push_back(line);
  }
  return n;
}

// A transfer that moves nothing for the send or receive time-out ends, as the platform's
// time-outs do; the connect phase has its own time-out.
struct StallWatch {
  long limit_ms;
  CURL* curl = nullptr;
  std::chrono::steady_clock::time_point last = std::chrono::steady_clock::now();
  curl_off_t moved = 0;
  bool stalled = false;
};

int on_progress(void* user, curl_off_t, curl_off_t down, curl_off_t, curl_off_t up) {
  auto* w = static_cast<StallWatch*>(user);
  auto now = std::chrono::steady_clock::now();
  curl_off_t connected = 0;
  curl_easy_getinfo(w->curl, CURLINFO_CONNECT_TIME_T, &connected);
  if (down + up != w->moved || connected == 0) {
    w->moved = down + up;
    w->last = now;
    return 0;
  }
  if (std::chrono::duration_cast<std::chrono::milliseconds>(now - w->last).count() < w->limit_ms) return 0;
  w->stalled = true;
  return 1;
}

HRESULT map_error(CURLcode code) {
  switch (code) {
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY:
      return kHttpNameNotResolved;
    case CURLE_COULDNT_CONNECT:
      return kHttpCannotConnect;
    case CURLE_OPERATION_TIMEDOUT:
      return kHttpTimeout;
    case CURLE_TOO_MANY_REDIRECTS:
      return kHttpRedirectFailed;
    case CURLE_UNSUPPORTED_PROTOCOL:
    case CURLE_URL_MALFORMAT:
      return kHttpUnrecognizedScheme;
    default:
      return kHttpConnectionError;
  }
}

bool keep_as_is(unsigned char c) {
  if (c <= 0x20 || c >= 0x7F) return false;
  return std::strchr("\"<>\\^`{|}", c) == nullptr;
}

}  // namespace

std::string percent_encode_url(std::string_view utf8) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(utf8.size());
  for (char ch : utf8) {
    auto c = static_cast<unsigned char>(ch);
    if (keep_as_is(c)) {
      out.push_back(ch);
    } else {
      out.push_back('%');
      out.push_back(kHex[c >> 4]);
      out.push_back(kHex[c & 0xF]);
    }
  }
  return out;
}

bool is_http_url(std::string_view url) {
  auto starts = [&](std::string_view prefix) {
    if (url.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
      if (std::tolower(static_cast<unsigned char>(url[i])) != prefix[i]) return false;
    }
    return true;
  };
  return starts("http://") || starts("https://");
}

HRESULT perform(const HttpExchange& exchange, HttpResponse* response) {
  *response = HttpResponse{};
  if (!is_http_url(exchange.url)) return kHttpUnrecognizedScheme;
  init_once();
  std::unique_ptr<CURL, CurlDeleter> curl(curl_easy_init());
  if (!curl) return E_OUTOFMEMORY;
  CURL* c = curl.get();
  std::string url = percent_encode_url(exchange.url);
  curl_easy_setopt(c, CURLOPT_URL, url.c_str());
  curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(c, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(c, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(c, CURLOPT_MAXREDIRS, 10L);
  const HttpTimeouts& t = exchange.timeouts;
  if (t.connect_ms > 0) curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT_MS, t.connect_ms);
  StallWatch watch{std::max(t.send_ms, t.receive_ms), c};
  if (watch.limit_ms > 0) {
    curl_easy_setopt(c, CURLOPT_XFERINFOFUNCTION, &on_progress);
    curl_easy_setopt(c, CURLOPT_XFERINFODATA, &watch);
    curl_easy_setopt(c, CURLOPT_NOPROGRESS, 0L);
  }

  std::string method = exchange.method;
  for (char& ch : method) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
  if (method == "HEAD") {
    curl_easy_setopt(c, CURLOPT_NOBODY, 1L);
  } else if (method != "GET" || !exchange.body.empty()) {
    const char* data = exchange.body.empty() ? "" : reinterpret_cast<const char*>(exchange.body.data());
    curl_easy_setopt(c, CURLOPT_POSTFIELDS, data);
    curl_easy_setopt(c, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(exchange.body.size()));
    if (method != "POST") curl_easy_setopt(c, CURLOPT_CUSTOMREQUEST, method.c_str());
  }
  std::unique_ptr<curl_slist, ListDeleter> headers;
  for (const auto& [name, value] : exchange.headers) {
    std::string line = name + ": " + value;
    curl_slist* grown = curl_slist_append(headers.get(), line.c_str());
    if (grown == nullptr) return E_OUTOFMEMORY;
    headers.release();
    headers.reset(grown);
  }
  if (headers) curl_easy_setopt(c, CURLOPT_HTTPHEADER, headers.get());
  curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, &on_body);
  curl_easy_setopt(c, CURLOPT_WRITEDATA, response);
  curl_easy_setopt(c, CURLOPT_HEADERFUNCTION, &on_header);
  curl_easy_setopt(c, CURLOPT_HEADERDATA, response);

  CURLcode code = curl_easy_perform(c);
  if (code != CURLE_OK) {
    *response = HttpResponse{};
    return watch.stalled ? kHttpTimeout : map_error(code);
  }
  curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &response->status);
  return S_OK;
}

}  // namespace platform::com
