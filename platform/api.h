// The desktop platform's programming interface, as the layers above see it.
#pragma once

#include "platform/api/types.h"
#include "platform/api/messages.h"
#include "platform/api/kernel.h"
#include "platform/api/gdi.h"
#include "platform/api/user.h"
#include "platform/api/input.h"
#include "platform/api/dialogs.h"
#include "platform/api/controls.h"
#include "platform/api/scrollbar.h"
#include "platform/api/edit.h"
#include "platform/api/listview.h"
#include "platform/api/menu.h"
