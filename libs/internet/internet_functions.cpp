#include "libs/internet/internet_functions.h"

namespace libs::internet {

const InternetFunctions& platform_internet_functions() {
  static constexpr InternetFunctions functions{
      &InternetOpenA,  &InternetConnectA, &InternetSetOptionA,  &HttpOpenRequestA,  &HttpSendRequestA,
      &HttpQueryInfoA, &InternetReadFile, &InternetCloseHandle, &InternetCrackUrlA,
  };
  return functions;
}

}  // namespace libs::internet
