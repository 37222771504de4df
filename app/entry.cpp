// The program's entry routine and its small start-up routines.
#include <cfenv>

#include "app/calls.h"
#include "app/constants.h"
#include "app/main_window.h"
#include "app/routines.h"

namespace app {
namespace {

constexpr std::int32_t kVisualStyleNumber = 2;

// The program keeps no global variables and has nothing to tidy at its end.
void initialise_globals() {}
void end_routine() {}
void start_routine() {}

std::intptr_t numbered(const runtime::ServiceTable& table, runtime::NumberedService service,
                       std::intptr_t a1 = 0) {
  return table.numbered(service, a1, 0, 0, 0, 0, 0);
}

}  // namespace

void open_main_window(const runtime::ServiceTable& table) {
  bind_services(table);
  numbered(table, runtime::kStartup);
  std::fesetenv(FE_DFL_ENV);
  initialise_globals();
  numbered(table, runtime::kRegisterEndRoutine, reinterpret_cast<std::intptr_t>(&end_routine));
  app_start();
  table.load_start_window(main_window::kWindow);
}

std::int32_t main(const runtime::ServiceTable& table) {
  open_main_window(table);
  table.message_loop();
  return 0;
}

std::int32_t app_start() {
  start_routine();
  return 0;
}

runtime::HandlerResult apply_visual_style(const std::uint64_t*, std::int32_t) {
  call(Library::visual_style, kSetVisualStyle, {arg::integer(kVisualStyleNumber)});
  return runtime::returns_nothing();
}

runtime::HandlerResult open_author_site(const std::uint64_t*, std::int32_t) {
  const ConstantData& c = constants();
  Text command_line(join_text({c.shell_prefix, c.author_site}));
  // Not waiting; the shell program opens the address on its own.
  call(Core::run_program, {arg::text(command_line.get()), arg::logical(false)});
  return runtime::returns_nothing();
}

}  // namespace app
