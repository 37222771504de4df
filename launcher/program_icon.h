// The finder's icon, the drawing of its desktop entry, registered as the program's icon resource
// DEFAULT_ICON: the runtime's icon service loads it, and windows without an icon of their own
// show it outside the program. Nothing is registered when the build had no icon to embed.
#pragma once

namespace launcher {

void add_program_icon();

}  // namespace launcher
