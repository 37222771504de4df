// The runtime's own callback routine, the one handed to every library at start-up; its codes
// are published in runtime/abi/callback_codes.h.
#pragma once

#include <cstdint>

#include "runtime/abi/callback_codes.h"

namespace runtime {

std::intptr_t runtime_callback(std::int32_t code, std::intptr_t arg1, std::intptr_t arg2);

}  // namespace runtime
