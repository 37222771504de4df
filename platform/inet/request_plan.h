// What a request handle sends, as one transfer of the platform's transfer layer (platform/net),
// and that layer's failures as the internet functions' error codes.
// Contract:
// - plan_transfer() reads the request's connection and root (taking their locks) and answers the
//   transfer: the object encoded for the wire (ANSI text sent as UTF-8, percent-encoded, a "/"
//   put in front when missing), exactly the head lines of the request (Referer, Accept from its
//   accept types, then the given lines; a given line replaces a request line of the same name),
//   the root's agent and proxy, the connection's credentials, time-outs and proxy credentials
//   (the request's own where set), cancelled when the request handle closes. The body is left
//   for the caller.
// - The root's proxy list ("http=a:1 https=b:2", or one "a:1" for both) names the proxy for the
//   request's scheme; its bypass list ("a;b <local>") the hosts that go direct.
// - error_of() answers 0 for no failure, otherwise an ERROR_INTERNET_* or ERROR_HTTP_* code.
#pragma once

#include <string>
#include <vector>

#include "platform/inet/inet_handles.h"
#include "platform/net/request.h"

namespace platform::inet {

net::Request plan_transfer(Request& request, std::vector<std::string> given_lines);
DWORD error_of(net::Failure failure);

}  // namespace platform::inet
