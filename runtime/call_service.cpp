#include "runtime/call_service.h"

namespace runtime {

ArgRecord call_command(std::int32_t /*library*/, CommandRoutine routine, std::int32_t count,
                       ArgRecord* args) {
  // Commands learn their library from their own table; the index only says where they came from.
  ArgRecord result{0, 0, 0};
  if (routine != nullptr) routine(&result, count < 0 ? 0 : count, args);
  return result;
}

ArgRecord call_core_command(CommandRoutine routine, std::int32_t count, ArgRecord* args) {
  return call_command(0, routine, count, args);
}

}  // namespace runtime
