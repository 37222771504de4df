// Event requests and handlers are part of the runtime's published interface (runtime/abi/). This
// name stays only for the test window template, which is still spelled this way.
#pragma once

#include "runtime/abi/event_handler.h"
#include "runtime/abi/event_request.h"
