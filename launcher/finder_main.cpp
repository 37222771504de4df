// The lyrics finder's process: the host application object over the finder's program image,
// with the window system installed, so that the runtime can build the finder's windows.
#include "app/program_image.h"
#include "app/routines.h"
#include "launcher/program_icon.h"
#include "platform/api/kernel.h"
#include "runtime/host_app.h"
#include "ui/system/window_system_table.h"

int main() {
  ui::install_window_system();
  launcher::add_program_icon();
  runtime::HostApplication host(app::program_image(), &app::main);
  // The process ends with the runtime still standing, as the end-program service ends it: a
  // preview worker still fetching never runs on into the teardown of static objects.
  ExitProcess(static_cast<UINT>(host.run()));
}
