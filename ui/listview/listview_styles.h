// The window style and list-view extended style that a property set asks for at creation.
#pragma once

#include <cstdint>

#include "platform/api/types.h"
#include "ui/listview/listview_properties.h"

namespace ui::listview {

// `base` is the style the window builder gives (WS_DISABLED, WS_TABSTOP, ...).
DWORD creation_style(const ListViewProperties& p, DWORD base);
DWORD extended_list_style(const ListViewProperties& p);

}  // namespace ui::listview
