// Filled in by the user subsystem.
#pragma once

#include "platform/api/messages.h"
#include "platform/api/types.h"
