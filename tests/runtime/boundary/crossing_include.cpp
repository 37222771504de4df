// Compiled in a bounded target's include context by the boundary tests, which expect exactly the
// second include to fail: the runtime's published interface is in reach, its internals are not.
#include "runtime/abi/records.h"
#include "runtime/heap.h"
