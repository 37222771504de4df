// Filled in by the input subsystem.
#pragma once

#include "platform/api/messages.h"
#include "platform/api/types.h"
