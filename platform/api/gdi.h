// Filled in by the gdi subsystem.
#pragma once

#include "platform/api/messages.h"
#include "platform/api/types.h"
