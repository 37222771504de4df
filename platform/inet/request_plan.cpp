#include "platform/inet/request_plan.h"

#include <string_view>

#include "platform/inet/inet_text.h"
#include "platform/kernel/codepage.h"
#include "platform/net/url_text.h"

namespace platform::inet {
namespace {

std::string_view header_name(std::string_view line) {
  return trim(line.substr(0, line.find(':')));
}

std::string host_for_url(const std::string& host) {
  return host.find(':') != std::string::npos && host.front() != '[' ? "[" + host + "]" : host;
}

// A proxy list "http=a:1 https=b:2" names one proxy per scheme; a plain "a:1" serves both.
std::string proxy_for(std::string_view list, bool secure) {
  std::string_view wanted = secure ? "https=" : "http=";
  if (list.find('=') == std::string_view::npos) return std::string(trim(list));
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

// The bypass list "a;b <local>" as libcurl's comma list. "<local>" adds nothing: loopback hosts
// go direct whatever the list says.
std::string bypass_list(std::string_view bypass) {
  std::string out;
  while (!bypass.empty()) {
    std::size_t end = bypass.find_first_of(" ;,");
    std::string_view entry = bypass.substr(0, end);
    if (!entry.empty() && entry != "<local>") {
      if (!out.empty()) out += ',';
      out += entry;
    }
    if (end == std::string_view::npos) break;
    bypass.remove_prefix(end + 1);
  }
  return out;
}

net::Proxy proxy_of(const ProxySettings& settings, bool secure) {
  net::Proxy proxy;
  switch (settings.access_type) {
    case INTERNET_OPEN_TYPE_DIRECT:
      proxy.mode = net::Proxy::Mode::direct;
      break;
    case INTERNET_OPEN_TYPE_PROXY:
      proxy.mode = net::Proxy::Mode::named;
      proxy.server = proxy_for(settings.server, secure);
      proxy.bypass = bypass_list(settings.bypass);
      break;
    default:
      proxy.mode = net::Proxy::Mode::system;
      break;
  }
  return proxy;
}

}  // namespace

net::Request plan_transfer(Request& request, std::vector<std::string> given) {
  Connection& connection = *request.connection;
  Root& root = *connection.root;
  net::Request plan;
  bool secure = (request.flags & INTERNET_FLAG_SECURE) != 0;
  INTERNET_PORT port = connection.port != INTERNET_INVALID_PORT_NUMBER
                           ? connection.port
                           : (secure ? INTERNET_DEFAULT_HTTPS_PORT : INTERNET_DEFAULT_HTTP_PORT);
  std::string target = net::percent_encode_url(platform::codepage::ansi_to_utf8(request.object));
  if (target.empty() || target.front() != '/') target.insert(target.begin(), '/');
  plan.url =
      (secure ? "https://" : "http://") + host_for_url(connection.host) + ":" + std::to_string(port) + target;
  plan.method = request.verb;
  plan.version = request.version == "HTTP/1.0" ? net::HttpVersion::v1_0 : net::HttpVersion::v1_1;
  plan.only_given_headers = true;
  plan.keep_dot_segments = true;
  plan.follow_redirects = (request.flags & INTERNET_FLAG_NO_AUTO_REDIRECT) == 0;
  plan.user = connection.user;
  plan.password = connection.password;
  // The request's own headers first; a given header of the same name replaces one of them.
  auto given_has = [&given](std::string_view name) {
    for (const std::string& line : given)
      if (equal_nocase(header_name(line), name)) return true;
    return false;
  };
  if (!request.referrer.empty() && !given_has("Referer"))
    plan.header_lines.push_back("Referer: " + request.referrer);
  if (!request.accept.empty() && !given_has("Accept"))
    plan.header_lines.push_back("Accept: " + request.accept);
  for (std::string& line : given) plan.header_lines.push_back(std::move(line));
  {
    std::lock_guard lock(root.mutex);
    plan.agent = root.agent;
    plan.proxy = proxy_of(root.proxy, secure);
  }
  ProxyCredentials credentials;
  {
    std::lock_guard lock(connection.mutex);
    credentials = connection.proxy_credentials;
  }
  if (!request.proxy_credentials.user.empty()) credentials.user = request.proxy_credentials.user;
  if (!request.proxy_credentials.password.empty()) credentials.password = request.proxy_credentials.password;
  plan.proxy.user = std::move(credentials.user);
  plan.proxy.password = std::move(credentials.password);
  plan.timeouts = {static_cast<long>(request.timeouts.connect_ms),
                   static_cast<long>(request.timeouts.receive_ms)};
  plan.cancel = &request.closed;
  return plan;
}

DWORD error_of(net::Failure failure) {
  switch (failure) {
    case net::Failure::none:
      return 0;
    case net::Failure::unsupported_scheme:
      return ERROR_INTERNET_UNRECOGNIZED_SCHEME;
    case net::Failure::malformed_url:
      return ERROR_INTERNET_INVALID_URL;
    case net::Failure::name_not_resolved:
      return ERROR_INTERNET_NAME_NOT_RESOLVED;
    case net::Failure::cannot_connect:
      return ERROR_INTERNET_CANNOT_CONNECT;
    case net::Failure::timed_out:
      return ERROR_INTERNET_TIMEOUT;
    case net::Failure::too_many_redirects:
      return ERROR_HTTP_REDIRECT_FAILED;
    case net::Failure::untrusted_certificate:
      return ERROR_INTERNET_INVALID_CA;
    case net::Failure::secure_channel_failed:
      return ERROR_INTERNET_SECURE_FAILURE;
    case net::Failure::invalid_reply:
      return ERROR_HTTP_INVALID_SERVER_RESPONSE;
    case net::Failure::send_failed:
    case net::Failure::cancelled:
      return ERROR_INTERNET_CONNECTION_ABORTED;
    case net::Failure::connection_reset:
      return ERROR_INTERNET_CONNECTION_RESET;
    case net::Failure::out_of_memory:
      return ERROR_NOT_ENOUGH_MEMORY;
    case net::Failure::sink_refused:
    case net::Failure::other:
      return ERROR_INTERNET_INTERNAL_ERROR;
  }
  return ERROR_INTERNET_INTERNAL_ERROR;
}

}  // namespace platform::inet
