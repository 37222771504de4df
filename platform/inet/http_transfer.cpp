#include "platform/inet/http_transfer.h"

#include <curl/curl.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "platform/inet/inet_text.h"

namespace platform::inet {
namespace {

constexpr long kMaxRedirects = 10;
constexpr int kPollMs = 100;
constexpr std::string_view kLoopbackHosts = "localhost,127.0.0.1,::1";

CURL* easy(void* p) {
  return static_cast<CURL*>(p);
}
CURLM* multi(void* p) {
  return static_cast<CURLM*>(p);
}

bool has_header(const std::vector<std::string>& lines, std::string_view name) {
  for (const std::string& line : lines) {
    std::size_t colon = line.find(':');
    if (colon != std::string::npos && equal_nocase(trim(std::string_view(line).substr(0, colon)), name))
      return true;
  }
  return false;
}

DWORD error_of(CURLcode code) {
  switch (code) {
    case CURLE_OK:
      return 0;
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY:
      return ERROR_INTERNET_NAME_NOT_RESOLVED;
    case CURLE_COULDNT_CONNECT:
      return ERROR_INTERNET_CANNOT_CONNECT;
    case CURLE_OPERATION_TIMEDOUT:
      return ERROR_INTERNET_TIMEOUT;
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CACERT_BADFILE:
      return ERROR_INTERNET_INVALID_CA;
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_SSL_CERTPROBLEM:
    case CURLE_SSL_CIPHER:
    case CURLE_USE_SSL_FAILED:
      return ERROR_INTERNET_SECURE_FAILURE;
    case CURLE_TOO_MANY_REDIRECTS:
      return ERROR_HTTP_REDIRECT_FAILED;
    case CURLE_UNSUPPORTED_PROTOCOL:
      return ERROR_INTERNET_UNRECOGNIZED_SCHEME;
    case CURLE_URL_MALFORMAT:
      return ERROR_INTERNET_INVALID_URL;
    case CURLE_WEIRD_SERVER_REPLY:
      return ERROR_HTTP_INVALID_SERVER_RESPONSE;
    case CURLE_SEND_ERROR:
      return ERROR_INTERNET_CONNECTION_ABORTED;
    case CURLE_PARTIAL_FILE:
    case CURLE_RECV_ERROR:
    case CURLE_GOT_NOTHING:
      return ERROR_INTERNET_CONNECTION_RESET;
    default:
      return ERROR_INTERNET_INTERNAL_ERROR;
  }
}

// A proxy list "http=a:1 https=b:2" names one proxy per scheme; a plain "a:1" serves both.
std::string proxy_for(std::string_view list, bool secure) {
  std::string_view wanted = secure ? "https=" : "http=";
  bool per_scheme = list.find('=') != std::string_view::npos;
  if (!per_scheme) return std::string(trim(list));
  while (!list.empty()) {
    std::size_t end = list.find_first_of(" ;");
    std::string_view entry = list.substr(0, end);
    if (entry.size() > wanted.size() && equal_nocase(entry.substr(0, wanted.size()), wanted))
      return std::string(entry.substr(wanted.size()));
    if (end == std::string_view::npos) break;
    list.remove_prefix(end + 1);
  }
  return {};
}

// The bypass list "a;b <local>" as libcurl's comma list; "<local>" stands for the loopback names.
std::string bypass_list(std::string_view bypass) {
  std::string out;
  while (!bypass.empty()) {
    std::size_t end = bypass.find_first_of(" ;,");
    std::string_view entry = bypass.substr(0, end);
    if (!entry.empty()) {
      if (!out.empty()) out += ',';
      out += entry == "<local>" ? kLoopbackHosts : entry;
    }
    if (end == std::string_view::npos) break;
    bypass.remove_prefix(end + 1);
  }
  return out;
}

std::string environment_no_proxy() {
  std::string out;
  const char* env = std::getenv("no_proxy");
  if (env == nullptr || *env == '\0') env = std::getenv("NO_PROXY");
  if (env != nullptr && *env != '\0') (out = env) += ',';
  out += kLoopbackHosts;
  return out;
}

void apply_proxy(CURL* curl, const TransferPlan& plan) {
  switch (plan.proxy.access_type) {
    case INTERNET_OPEN_TYPE_DIRECT:
      curl_easy_setopt(curl, CURLOPT_PROXY, "");
      break;
    case INTERNET_OPEN_TYPE_PROXY: {
      std::string server = proxy_for(plan.proxy.server, plan.secure);
      curl_easy_setopt(curl, CURLOPT_PROXY, server.c_str());
      std::string bypass = bypass_list(plan.proxy.bypass);
      if (!bypass.empty()) curl_easy_setopt(curl, CURLOPT_NOPROXY, bypass.c_str());
      break;
    }
    default: {
      // The environment's proxy (libcurl reads it itself), never for loopback addresses.
      std::string bypass = environment_no_proxy();
      curl_easy_setopt(curl, CURLOPT_NOPROXY, bypass.c_str());
      break;
    }
  }
  if (!plan.proxy_credentials.user.empty())
    curl_easy_setopt(curl, CURLOPT_PROXYUSERNAME, plan.proxy_credentials.user.c_str());
  if (!plan.proxy_credentials.password.empty())
    curl_easy_setopt(curl, CURLOPT_PROXYPASSWORD, plan.proxy_credentials.password.c_str());
}

curl_slist* build_header_list(const TransferPlan& plan) {
  std::vector<std::string> lines = plan.header_lines;
  // libcurl adds these on its own unless told not to; this request sends only what it was given.
  if (!has_header(lines, "Accept")) lines.emplace_back("Accept:");
  if (!has_header(lines, "Expect")) lines.emplace_back("Expect:");
  if (!plan.body.empty() && !has_header(lines, "Content-Type")) lines.emplace_back("Content-Type:");
  curl_slist* list = nullptr;
  for (const std::string& line : lines) {
    curl_slist* grown = curl_slist_append(list, line.c_str());
    if (grown == nullptr) {
      curl_slist_free_all(list);
      return nullptr;
    }
    list = grown;
  }
  return list;
}

}  // namespace

HttpTransfer::~HttpTransfer() {
  if (multi_ != nullptr && easy_ != nullptr) curl_multi_remove_handle(multi(multi_), easy(easy_));
  if (easy_ != nullptr) curl_easy_cleanup(easy(easy_));
  if (multi_ != nullptr) curl_multi_cleanup(multi(multi_));
  if (header_list_ != nullptr) curl_slist_free_all(static_cast<curl_slist*>(header_list_));
}

std::unique_ptr<HttpTransfer> HttpTransfer::create(const TransferPlan& plan, DWORD* error) {
  std::unique_ptr<HttpTransfer> t(new HttpTransfer());
  t->easy_ = curl_easy_init();
  t->multi_ = curl_multi_init();
  t->header_list_ = build_header_list(plan);
  if (t->easy_ == nullptr || t->multi_ == nullptr || t->header_list_ == nullptr) {
    *error = ERROR_NOT_ENOUGH_MEMORY;
    return nullptr;
  }
  t->follow_redirects_ = plan.follow_redirects;
  t->timeouts_ = plan.timeouts;
  t->body_text_ = plan.body;

  CURL* curl = easy(t->easy_);
  curl_easy_setopt(curl, CURLOPT_URL, plan.url.c_str());
  curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(curl, CURLOPT_PATH_AS_IS, 1L);
  curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(curl, CURLOPT_HTTP_VERSION, plan.http10 ? CURL_HTTP_VERSION_1_0 : CURL_HTTP_VERSION_1_1);
  curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, plan.follow_redirects ? 1L : 0L);
  curl_easy_setopt(curl, CURLOPT_MAXREDIRS, kMaxRedirects);
  curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(plan.timeouts.connect_ms));
  if (!plan.agent.empty()) curl_easy_setopt(curl, CURLOPT_USERAGENT, plan.agent.c_str());
  curl_easy_setopt(curl, CURLOPT_HTTPHEADER, t->header_list_);
  if (!plan.user.empty() || !plan.password.empty()) {
    // Credentials answer a challenge; the first request goes out without them.
    curl_easy_setopt(curl, CURLOPT_USERNAME, plan.user.c_str());
    curl_easy_setopt(curl, CURLOPT_PASSWORD, plan.password.c_str());
    curl_easy_setopt(curl, CURLOPT_HTTPAUTH, CURLAUTH_ANY);
  }
  apply_proxy(curl, plan);
  if (const char* ca = std::getenv("SSL_CERT_FILE"); ca != nullptr && *ca != '\0')
    curl_easy_setopt(curl, CURLOPT_CAINFO, ca);

  if (plan.verb == "HEAD") {
    curl_easy_setopt(curl, CURLOPT_NOBODY, 1L);
  } else if (plan.verb == "GET" && plan.body.empty()) {
    curl_easy_setopt(curl, CURLOPT_HTTPGET, 1L);
  } else {
    curl_easy_setopt(curl, CURLOPT_POSTFIELDS, t->body_text_.data());
    curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(t->body_text_.size()));
    if (plan.verb != "POST") curl_easy_setopt(curl, CURLOPT_CUSTOMREQUEST, plan.verb.c_str());
  }
  curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, &HttpTransfer::on_header);
  curl_easy_setopt(curl, CURLOPT_HEADERDATA, t.get());
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &HttpTransfer::on_body);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, t.get());

  if (curl_multi_add_handle(multi(t->multi_), curl) != CURLM_OK) {
    *error = ERROR_INTERNET_INTERNAL_ERROR;
    return nullptr;
  }
  return t;
}

std::size_t HttpTransfer::on_header(char* data, std::size_t size, std::size_t count, void* self) {
  auto* t = static_cast<HttpTransfer*>(self);
  t->header_line(std::string_view(data, size * count));
  return size * count;
}

std::size_t HttpTransfer::on_body(char* data, std::size_t size, std::size_t count, void* self) {
  auto* t = static_cast<HttpTransfer*>(self);
  t->last_activity_ = std::chrono::steady_clock::now();
  t->received_any_ = true;
  t->headers_done_ = true;
  if (t->consumed_ > 0 && t->consumed_ * 2 >= t->body_.size()) {
    t->body_.erase(0, t->consumed_);
    t->consumed_ = 0;
  }
  t->body_.append(data, size * count);
  return size * count;
}

void HttpTransfer::header_line(std::string_view line) {
  last_activity_ = std::chrono::steady_clock::now();
  received_any_ = true;
  std::string_view text = trim(line);
  if (line.starts_with("HTTP/")) {
    // A new response (after an interim reply or a redirect) replaces the one before.
    headers_.clear();
    raw_headers_.assign(text);
    raw_headers_ += "\r\n";
    std::size_t space = text.find(' ');
    status_ = 0;
    status_text_.clear();
    if (space != std::string_view::npos) {
      std::string_view rest = text.substr(space + 1);
      std::size_t i = 0;
      while (i < rest.size() && i < 3 && rest[i] >= '0' && rest[i] <= '9')
        status_ = status_ * 10 + (rest[i++] - '0');
      status_text_.assign(trim(rest.substr(i)));
    }
    return;
  }
  if (text.empty()) {
    raw_headers_ += "\r\n";
    bool interim = status_ >= 100 && status_ < 200;
    bool redirect = follow_redirects_ &&
                    (status_ == 301 || status_ == 302 || status_ == 303 || status_ == 307 || status_ == 308);
    bool has_location = false;
    for (const ResponseHeader& h : headers_) has_location |= equal_nocase(h.name, "Location");
    if (!interim && !(redirect && has_location)) headers_done_ = true;
    return;
  }
  if ((line.front() == ' ' || line.front() == '\t') && !headers_.empty()) {
    headers_.back().value += ' ';
    headers_.back().value += text;
  } else {
    std::size_t colon = text.find(':');
    if (colon == std::string_view::npos) return;
    headers_.push_back({std::string(trim(text.substr(0, colon))), std::string(trim(text.substr(colon + 1)))});
  }
  raw_headers_ += text;
  raw_headers_ += "\r\n";
}

void HttpTransfer::finish(DWORD error) {
  if (finished_) return;
  finished_ = true;
  error_ = error;
  curl_multi_remove_handle(multi(multi_), easy(easy_));
}

template <class Done>
void HttpTransfer::drive(Done done, const std::atomic<bool>& cancel) {
  last_activity_ = std::chrono::steady_clock::now();
  while (!done() && !finished_) {
    int running = 0;
    if (curl_multi_perform(multi(multi_), &running) != CURLM_OK) {
      finish(ERROR_INTERNET_INTERNAL_ERROR);
      return;
    }
    int queued = 0;
    while (CURLMsg* message = curl_multi_info_read(multi(multi_), &queued)) {
      if (message->msg == CURLMSG_DONE) finish(error_of(message->data.result));
    }
    if (done() || finished_) return;
    if (cancel.load()) {
      finish(ERROR_INTERNET_CONNECTION_ABORTED);
      return;
    }
    // Before the first byte the connect timeout may be the longer wait.
    DWORD limit_ms =
        received_any_ ? timeouts_.receive_ms : std::max(timeouts_.receive_ms, timeouts_.connect_ms);
    auto idle = std::chrono::steady_clock::now() - last_activity_;
    if (limit_ms != 0 && idle > std::chrono::milliseconds(limit_ms)) {
      finish(ERROR_INTERNET_TIMEOUT);
      return;
    }
    curl_multi_poll(multi(multi_), nullptr, 0, kPollMs, nullptr);
  }
}

DWORD HttpTransfer::start(const std::atomic<bool>& cancel) {
  drive([this] { return headers_done_; }, cancel);
  if (headers_done_) return 0;
  if (finished_ && error_ == 0) {
    // A response that ended without a final header block (none at all) is no response.
    return status_ != 0 ? 0 : ERROR_HTTP_INVALID_SERVER_RESPONSE;
  }
  return error_ != 0 ? error_ : ERROR_INTERNET_INTERNAL_ERROR;
}

DWORD HttpTransfer::read(char* out, std::size_t want, std::size_t* got, const std::atomic<bool>& cancel) {
  *got = 0;
  drive([this, want] { return buffered() >= want; }, cancel);
  std::size_t n = std::min(want, buffered());
  if (n == 0) return finished_ ? error_ : 0;
  std::memcpy(out, body_.data() + consumed_, n);
  consumed_ += n;
  *got = n;
  return 0;
}

}  // namespace platform::inet
