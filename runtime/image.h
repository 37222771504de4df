// The image structs are part of the runtime's published interface (runtime/abi/image.h). This
// name stays only for the test window template, which is still spelled this way.
#pragma once

#include "runtime/abi/image.h"
