// Placeholder bodies so the command table links while the member call lands.
#include "automation/automation_commands.h"

namespace automation {
void com_object_create(runtime::ArgRecord* r, std::int32_t, runtime::ArgRecord*) {
  r->tag = runtime::tag::kBool;
}
void com_object_method(runtime::ArgRecord*, std::int32_t, runtime::ArgRecord*) {}
void com_object_read_property(runtime::ArgRecord*, std::int32_t, runtime::ArgRecord*) {}
void com_object_clear(runtime::ArgRecord*, std::int32_t, runtime::ArgRecord*) {}
void com_object_write_property(runtime::ArgRecord* r, std::int32_t, runtime::ArgRecord*) {
  r->tag = runtime::tag::kBool;
}
void com_object_text_method(runtime::ArgRecord*, std::int32_t, runtime::ArgRecord*) {}
void variant_to_byte_set(runtime::ArgRecord*, std::int32_t, runtime::ArgRecord*) {}
void variant_clear(runtime::ArgRecord*, std::int32_t, runtime::ArgRecord*) {}
void variant_assign(runtime::ArgRecord* r, std::int32_t, runtime::ArgRecord*) {
  r->tag = runtime::tag::kBool;
}
void attach_runtime(runtime::RuntimeCallback) {}
std::int32_t automation_error_code() {
  return 0;
}
}  // namespace automation
