#include "platform/com/classes/http_transfer.h"

#include <strings.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "platform/net/transfer.h"

namespace platform::com {
namespace {

HRESULT result_of(net::Failure failure) {
  switch (failure) {
    case net::Failure::none:
      return S_OK;
    case net::Failure::name_not_resolved:
      return kHttpNameNotResolved;
    case net::Failure::cannot_connect:
      return kHttpCannotConnect;
    case net::Failure::timed_out:
      return kHttpTimeout;
    case net::Failure::too_many_redirects:
      return kHttpRedirectFailed;
    case net::Failure::unsupported_scheme:
    case net::Failure::malformed_url:
      return kHttpUnrecognizedScheme;
    case net::Failure::out_of_memory:
      return E_OUTOFMEMORY;
    default:
      return kHttpConnectionError;
  }
}

net::Request transfer_request(const HttpExchange& exchange) {
  net::Request request;
  request.method = exchange.method;
  for (char& c : request.method) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  request.url = percent_encode_url(exchange.url);
  for (const auto& [name, value] : exchange.headers) request.header_lines.push_back(name + ": " + value);
  request.body.assign(exchange.body.begin(), exchange.body.end());
  const HttpTimeouts& t = exchange.timeouts;
  request.timeouts = {t.connect_ms, std::max(t.send_ms, t.receive_ms)};
  return request;
}

// The body's announced size is room taken once rather than grown into (within reason).
void reserve_announced(const net::Transfer& transfer, std::vector<std::uint8_t>* body) {
  for (const net::ResponseHeader& h : transfer.headers()) {
    if (h.name.size() != 14 || strncasecmp(h.name.c_str(), "Content-Length", 14) != 0) continue;
    unsigned long long length = std::strtoull(h.value.c_str(), nullptr, 10);
    if (length <= (256ull << 20)) body->reserve(static_cast<std::size_t>(length));
    return;
  }
}

}  // namespace

HRESULT perform(const HttpExchange& exchange, HttpResponse* response) {
  *response = HttpResponse{};
  if (!is_http_url(exchange.url)) return kHttpUnrecognizedScheme;
  net::Failure failure = net::Failure::none;
  std::unique_ptr<net::Transfer> transfer = net::Transfer::create(transfer_request(exchange), &failure);
  if (transfer) failure = transfer->start();
  if (failure == net::Failure::none) {
    reserve_announced(*transfer, &response->body);
    failure = transfer->receive([response](std::string_view bytes) {
      response->body.insert(response->body.end(), bytes.begin(), bytes.end());
      return true;
    });
  }
  if (failure != net::Failure::none) {
    *response = HttpResponse{};
    return result_of(failure);
  }
  response->status = transfer->status();
  response->status_text = transfer->status_text();
  response->header_lines = transfer->header_lines();
  return S_OK;
}

}  // namespace platform::com
