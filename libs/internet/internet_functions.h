// The platform's internet client functions that HttpReadFile calls, as a table: the command
// uses the platform's own, and a caller that needs to watch the calls (a test counting read
// sizes) hands in a table that forwards to them.
#pragma once

#include "platform/inet/wininet.h"

namespace libs::internet {

struct InternetFunctions {
  decltype(&InternetOpenA) open;
  decltype(&InternetConnectA) connect;
  decltype(&InternetSetOptionA) set_option;
  decltype(&HttpOpenRequestA) open_request;
  decltype(&HttpSendRequestA) send_request;
  decltype(&HttpQueryInfoA) query_info;
  decltype(&InternetReadFile) read_file;
  decltype(&InternetCloseHandle) close_handle;
  decltype(&InternetCrackUrlA) crack_url;
};

const InternetFunctions& platform_internet_functions();

}  // namespace libs::internet
