#include "automation/runtime_link.h"

#include "automation/automation_commands.h"
#include "automation/object_record.h"
#include "runtime/abi/callback_codes.h"
#include "runtime/abi/runtime_link.h"

namespace automation {
namespace {

constinit runtime::RuntimeLink runtime_link;

void release_record(void* record) {
  release_object_record(*static_cast<ObjectRecord*>(record));
}

}  // namespace

void attach_runtime(runtime::RuntimeCallback c) {
  runtime_link.attach(c);
  if (c != nullptr)
    runtime_link.call(runtime::callback::kInstallObjectRelease, runtime::address_word(&release_record), 0);
}

void* runtime_allocate(std::size_t bytes) {
  return reinterpret_cast<void*>(
      runtime_link.call(runtime::callback::kAllocate, static_cast<std::intptr_t>(bytes), 0));
}

void runtime_free(void* block) {
  if (block != nullptr) runtime_link.call(runtime::callback::kFree, runtime::address_word(block), 0);
}

void* runtime_resize(void* block, std::size_t bytes) {
  return reinterpret_cast<void*>(runtime_link.call(runtime::callback::kResize, runtime::address_word(block),
                                                   static_cast<std::intptr_t>(bytes)));
}

const runtime::UnitTypeDescriptor* runtime_unit_type(std::uint32_t type_tag) {
  return reinterpret_cast<const runtime::UnitTypeDescriptor*>(
      runtime_link.call(runtime::callback::kUnitType, static_cast<std::intptr_t>(type_tag), 0));
}

void runtime_release_object(void* object_record) {
  if (object_record != nullptr)
    runtime_link.call(runtime::callback::kReleaseObject, runtime::address_word(object_record), 0);
}

}  // namespace automation
