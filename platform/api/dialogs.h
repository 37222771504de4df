// Filled in by the dialogs subsystem.
#pragma once

#include "platform/api/messages.h"
#include "platform/api/types.h"
