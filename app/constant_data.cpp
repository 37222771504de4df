#include "app/constants.h"

// The lyric service's port; test builds of the image choose their own.
#ifndef LYR_LYRIC_SERVICE_PORT
#define LYR_LYRIC_SERVICE_PORT "47610"
#endif

namespace app {

#define LYR_APP_TEXT_VALUE(name, literal) literal,

const ConstantData kConstants = {{1, 0},
                                 {1, 0},
                                 "http://127.0.0.1:" LYR_LYRIC_SERVICE_PORT,
                                 "http://127.0.0.1:" LYR_LYRIC_SERVICE_PORT "/",
                                 LYR_APP_TEXTS(LYR_APP_TEXT_VALUE)};

#undef LYR_APP_TEXT_VALUE

}  // namespace app
