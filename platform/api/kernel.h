// Filled in by the kernel subsystem.
#pragma once

#include "platform/api/messages.h"
#include "platform/api/types.h"
