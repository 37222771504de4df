// Old home of the headless test functions, kept only while the last test files still include
// it; new code includes platform/winsys/headless.h.
#pragma once

#include "platform/winsys/headless.h"
