#include "platform/net/curl_setup.h"

#include <strings.h>

#include <cstdlib>
#include <string_view>
#include <vector>

namespace platform::net::detail {
namespace {

constexpr long kMaxRedirects = 10;
// A proxy out there can't reach this machine's own services, whatever it is configured for.
constexpr std::string_view kLoopbackHosts = "localhost,127.0.0.0/8,::1";

bool has_header(const std::vector<std::string>& lines, std::string_view name) {
  for (std::string_view line : lines) {
    std::string_view given = line.substr(0, line.find(':'));
    std::size_t first = given.find_first_not_of(" \t");
    given = first == std::string_view::npos ? std::string_view() : given.substr(first);
    given = given.substr(0, given.find_last_not_of(" \t") + 1);
    if (given.size() == name.size() && strncasecmp(given.data(), name.data(), name.size()) == 0) return true;
  }
  return false;
}

bool sends_body(const Request& request) {
  return request.method != "HEAD" && (request.method != "GET" || !request.body.empty());
}

HeaderList header_list(const Request& request, bool* ok) {
  std::vector<std::string> lines = request.header_lines;
  if (request.only_given_headers) {
    // libcurl adds these on its own unless told not to.
    if (!has_header(lines, "Accept")) lines.emplace_back("Accept:");
    if (!has_header(lines, "Expect")) lines.emplace_back("Expect:");
    if (sends_body(request) && !has_header(lines, "Content-Type")) lines.emplace_back("Content-Type:");
  }
  HeaderList list;
  for (const std::string& line : lines) {
    curl_slist* grown = curl_slist_append(list.get(), line.c_str());
    if (grown == nullptr) {
      *ok = false;
      return list;
    }
    (void)list.release();
    list.reset(grown);
  }
  *ok = true;
  return list;
}

void apply_proxy(CURL* curl, const Proxy& proxy) {
  if (proxy.mode == Proxy::Mode::direct || (proxy.mode == Proxy::Mode::named && proxy.server.empty())) {
    curl_easy_setopt(curl, CURLOPT_PROXY, "");
    return;
  }
  // Without a proxy option libcurl takes the environment's own.
  if (proxy.mode == Proxy::Mode::named) curl_easy_setopt(curl, CURLOPT_PROXY, proxy.server.c_str());
  curl_easy_setopt(curl, CURLOPT_NOPROXY, direct_hosts(proxy).c_str());
  if (!proxy.user.empty()) curl_easy_setopt(curl, CURLOPT_PROXYUSERNAME, proxy.user.c_str());
  if (!proxy.password.empty()) curl_easy_setopt(curl, CURLOPT_PROXYPASSWORD, proxy.password.c_str());
}

}  // namespace

void init_curl_once() {
  static const bool initialised = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
  (void)initialised;
}

std::string direct_hosts(const Proxy& proxy) {
  std::string out;
  if (proxy.mode == Proxy::Mode::named) {
    out = proxy.bypass;
  } else if (const char* env = std::getenv("no_proxy"); env != nullptr && *env != '\0') {
    out = env;
  } else if (const char* upper = std::getenv("NO_PROXY"); upper != nullptr) {
    out = upper;
  }
  if (out == "*") return out;  // everything goes direct already
  if (!out.empty()) out += ',';
  out += kLoopbackHosts;
  return out;
}

Failure configure(CURL* curl, const Request& request, const std::string& body, HeaderList* headers) {
  bool ok = false;
  *headers = header_list(request, &ok);
  if (!ok) return Failure::out_of_memory;
  curl_easy_setopt(curl, CURLOPT_URL, request.url.c_str());
  curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, request.follow_redirects ? 1L : 0L);
  curl_easy_setopt(curl, CURLOPT_MAXREDIRS, kMaxRedirects);
  curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
  // A proxy tunnel's own reply is no response of the server's.
  curl_easy_setopt(curl, CURLOPT_SUPPRESS_CONNECT_HEADERS, 1L);
  if (request.keep_dot_segments) curl_easy_setopt(curl, CURLOPT_PATH_AS_IS, 1L);
  if (request.version != HttpVersion::any) {
    curl_easy_setopt(curl, CURLOPT_HTTP_VERSION,
                     request.version == HttpVersion::v1_0 ? CURL_HTTP_VERSION_1_0 : CURL_HTTP_VERSION_1_1);
  }
  if (request.timeouts.connect_ms > 0)
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, request.timeouts.connect_ms);
  if (!request.agent.empty()) curl_easy_setopt(curl, CURLOPT_USERAGENT, request.agent.c_str());
  if (*headers) curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers->get());
  if (request.decode_content) curl_easy_setopt(curl, CURLOPT_ACCEPT_ENCODING, "");
  if (!request.user.empty() || !request.password.empty()) {
    // Credentials answer a challenge; the first request goes out without them.
    curl_easy_setopt(curl, CURLOPT_USERNAME, request.user.c_str());
    curl_easy_setopt(curl, CURLOPT_PASSWORD, request.password.c_str());
    curl_easy_setopt(curl, CURLOPT_HTTPAUTH, CURLAUTH_ANY);
  }
  apply_proxy(curl, request.proxy);
  if (const char* ca = std::getenv("SSL_CERT_FILE"); ca != nullptr && *ca != '\0')
    curl_easy_setopt(curl, CURLOPT_CAINFO, ca);

  if (request.method == "HEAD") {
    curl_easy_setopt(curl, CURLOPT_NOBODY, 1L);
  } else if (!sends_body(request)) {
    curl_easy_setopt(curl, CURLOPT_HTTPGET, 1L);
  } else {
    curl_easy_setopt(curl, CURLOPT_POSTFIELDS, body.data());
    curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size()));
    if (request.method != "POST") curl_easy_setopt(curl, CURLOPT_CUSTOMREQUEST, request.method.c_str());
  }
  return Failure::none;
}

Failure failure_of(CURLcode code) {
  switch (code) {
    case CURLE_OK:
      return Failure::none;
    case CURLE_UNSUPPORTED_PROTOCOL:
      return Failure::unsupported_scheme;
    case CURLE_URL_MALFORMAT:
      return Failure::malformed_url;
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY:
      return Failure::name_not_resolved;
    case CURLE_COULDNT_CONNECT:
      return Failure::cannot_connect;
    case CURLE_OPERATION_TIMEDOUT:
      return Failure::timed_out;
    case CURLE_TOO_MANY_REDIRECTS:
      return Failure::too_many_redirects;
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CACERT_BADFILE:
      return Failure::untrusted_certificate;
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_SSL_CERTPROBLEM:
    case CURLE_SSL_CIPHER:
    case CURLE_USE_SSL_FAILED:
      return Failure::secure_channel_failed;
    case CURLE_WEIRD_SERVER_REPLY:
      return Failure::invalid_reply;
    case CURLE_SEND_ERROR:
      return Failure::send_failed;
    case CURLE_PARTIAL_FILE:
    case CURLE_RECV_ERROR:
    case CURLE_GOT_NOTHING:
      return Failure::connection_reset;
    default:
      return Failure::other;
  }
}

}  // namespace platform::net::detail
