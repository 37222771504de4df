#include "automation/automation_commands.h"
#include "automation/member_call.h"

namespace automation {
namespace {

thread_local std::int32_t error_code = 0;

}  // namespace

void set_automation_error(std::int32_t code) {
  error_code = code;
}

std::int32_t automation_error_code() {
  return error_code;
}

}  // namespace automation
