// The lyrics finder's process: the host application object over the finder's program image,
// with the window system installed, so that the runtime can build the finder's windows.
#include "app/program_image.h"
#include "app/routines.h"
#include "runtime/host_app.h"
#include "ui/system/window_system_table.h"

int main() {
  ui::install_window_system();
  return runtime::run_program(app::program_image(), &app::main);
}
