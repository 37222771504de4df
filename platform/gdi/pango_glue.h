// pango-cairo for the drawing code. glib defines TRUE and FALSE as macros, which would hide the
// platform's BOOL constants; they are dropped again right after glib is in.
#pragma once

// clang-format off
#include "platform/api/types.h"
#include <pango/pangocairo.h>
// clang-format on

#undef TRUE
#undef FALSE
