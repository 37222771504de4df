// Filled in by the controls subsystem.
#pragma once

#include "platform/api/messages.h"
#include "platform/api/types.h"
