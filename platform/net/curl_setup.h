// The one place a Request becomes libcurl options, and a libcurl result becomes a Failure.
// Contract: configure() sets every option the request's contract (request.h) promises on a
// fresh easy handle: address, schemes, redirects, version, method and body, head lines,
// credentials, proxy policy, certificates and the connect time-out. `body` is read in place by
// libcurl and must outlive the transfer; *headers receives the head list it points at.
// Answers Failure::out_of_memory when the head list can't be built.
#pragma once

#include <curl/curl.h>

#include <memory>
#include <string>

#include "platform/net/request.h"

namespace platform::net::detail {

struct HeaderListFree {
  void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
using HeaderList = std::unique_ptr<curl_slist, HeaderListFree>;

// libcurl's process-wide set-up, done once before the first handle.
void init_curl_once();
Failure configure(CURL* curl, const Request& request, const std::string& body, HeaderList* headers);
Failure failure_of(CURLcode code);
// The NOPROXY list a proxy policy hands libcurl: its own exceptions, then the loopback names.
std::string direct_hosts(const Proxy& proxy);

}  // namespace platform::net::detail
