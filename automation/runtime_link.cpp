#include "automation/runtime_link.h"

#include <atomic>

#include "automation/automation_commands.h"
#include "automation/object_record.h"
#include "runtime/callback.h"
#include "runtime/window_system.h"

namespace automation {
namespace {

std::atomic<runtime::RuntimeCallback> stored_callback{nullptr};

runtime::RuntimeCallback callback() {
  runtime::RuntimeCallback c = stored_callback.load();
  return c != nullptr ? c : &runtime::runtime_callback;
}

std::intptr_t word(const void* p) {
  return reinterpret_cast<std::intptr_t>(p);
}

}  // namespace

void attach_runtime(runtime::RuntimeCallback c) {
  stored_callback.store(c);
  runtime::install_object_release(
      [](void* record) { release_object_record(*static_cast<ObjectRecord*>(record)); });
}

void* runtime_allocate(std::size_t bytes) {
  return reinterpret_cast<void*>(
      callback()(runtime::callback::kAllocate, static_cast<std::intptr_t>(bytes), 0));
}

void runtime_free(void* block) {
  if (block != nullptr) callback()(runtime::callback::kFree, word(block), 0);
}

void* runtime_resize(void* block, std::size_t bytes) {
  return reinterpret_cast<void*>(
      callback()(runtime::callback::kResize, word(block), static_cast<std::intptr_t>(bytes)));
}

const runtime::UnitTypeDescriptor* runtime_unit_type(std::uint32_t type_tag) {
  return reinterpret_cast<const runtime::UnitTypeDescriptor*>(
      callback()(runtime::callback::kUnitType, static_cast<std::intptr_t>(type_tag), 0));
}

void runtime_release_object(void* object_record) {
  if (object_record != nullptr) callback()(runtime::callback::kReleaseObject, word(object_record), 0);
}

}  // namespace automation
