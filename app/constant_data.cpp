#include <cstdio>

#include "app/constants.h"

// The lyric service's port; test builds of the image choose their own.
#ifndef LYR_LYRIC_SERVICE_PORT
#define LYR_LYRIC_SERVICE_PORT "47610"
#endif

#ifdef LYR_TEST_SERVICE_PORT
int LYR_TEST_SERVICE_PORT();
#endif

namespace app {
namespace {

#define LYR_APP_TEXT_VALUE(name, literal) literal,

constexpr ConstantData kShipped = {{1, 0},
                                   {1, 0},
                                   "http://127.0.0.1:" LYR_LYRIC_SERVICE_PORT,
                                   "http://127.0.0.1:" LYR_LYRIC_SERVICE_PORT "/",
                                   LYR_APP_TEXTS(LYR_APP_TEXT_VALUE)};

#undef LYR_APP_TEXT_VALUE

#ifdef LYR_TEST_SERVICE_PORT
// Test images ask for their port when the process starts, so that test runs side by side never
// reach each other's lyric service.
ConstantData with_test_port() {
  ConstantData c = kShipped;
  const int port = LYR_TEST_SERVICE_PORT();
  std::snprintf(c.service_base, sizeof c.service_base, "http://127.0.0.1:%d", port);
  std::snprintf(c.author_site, sizeof c.author_site, "http://127.0.0.1:%d/", port);
  return c;
}
#endif

}  // namespace

#ifdef LYR_TEST_SERVICE_PORT
const ConstantData kConstants = with_test_port();
#else
const ConstantData kConstants = kShipped;
#endif

}  // namespace app
