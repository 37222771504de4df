#include "automation/object_record.h"

#include "automation/runtime_link.h"
#include "runtime/abi/records.h"

namespace automation {

void release_object_record(ObjectRecord& object) {
  if (object.iface != nullptr) {
    if (object.record != nullptr) {
      static_cast<IRecordInfo*>(object.iface)->RecordDestroy(object.record);
      object.record = nullptr;
    }
    object.iface->Release();
    object.iface = nullptr;
  } else if (object.record != nullptr) {
    runtime_free(object.record);
    object.record = nullptr;
  }
}

bool is_object_like(std::uint32_t type_tag) {
  constexpr std::uint32_t kObjectLikeBit = 0x01000000;
  std::uint32_t t = runtime::base_tag(type_tag);
  if (t == runtime::tag::kObject) return true;
  if (t < 0x10000 || !runtime::is_library_type_tag(t)) return false;
  const runtime::UnitTypeDescriptor* d = runtime_unit_type(t);
  return d != nullptr && (d->state_bits & kObjectLikeBit) != 0;
}

}  // namespace automation
