// The platform's internet client functions behind a recorder: every call HttpReadFile makes is
// logged with the arguments that matter, then forwarded to the platform (or refused, for the
// calls a test makes fail).
#pragma once

#include <string>
#include <vector>

#include "libs/internet/internet_functions.h"

namespace inet_lib_test {

struct Call {
  std::string name;
  std::string text;   // agent, host, object, headers ...
  std::string text2;  // version, accept entry
  DWORD number = 0;   // access type, port, option, flags, info level, bytes asked for
  DWORD number2 = 0;  // service, option length, request flags
};

// Starts a fresh log; `fail_open` makes InternetOpenA answer null.
void start_recording(bool fail_open = false);
std::vector<Call> recorded_calls();
std::vector<DWORD> recorded_read_sizes();
const libs::internet::InternetFunctions& recording_functions();

}  // namespace inet_lib_test
