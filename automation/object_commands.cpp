#include <string>

#include "automation/automation_commands.h"
#include "automation/member_call.h"
#include "automation/object_record.h"
#include "automation/value_conversion.h"
#include "platform/api/kernel.h"
#include "platform/com/registry.h"
#include "platform/com/typelib.h"

namespace automation {
namespace {

namespace tag = runtime::tag;
using runtime::ArgRecord;

constexpr DWORD kAllContexts =
    CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER;
constexpr DWORD kLocalContexts = CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER;

const char* text_argument(const ArgRecord& record) {
  const std::uint64_t v = argument_value(record, tag::kText, runtime::is_array_tag(record.tag));
  return reinterpret_cast<const char*>(static_cast<std::uintptr_t>(v));
}

// The type-library route: a class of that name in the library file, or null.
IUnknown* create_from_type_library(const std::u16string& name, const char* file) {
  std::u16string path = text_to_utf16(file);
  ITypeLib* library = nullptr;
  if (FAILED(LoadTypeLib(path.c_str(), &library)) || library == nullptr) return nullptr;
  IUnknown* object = nullptr;
  std::u16string mutable_name = name;
  ULONG hash = LHashValOfNameSys(SYS_WIN32, GetUserDefaultLCID(), mutable_name.c_str());
  ITypeInfo* info = nullptr;
  MEMBERID id = 0;
  USHORT found = 1;
  if (SUCCEEDED(library->FindName(mutable_name.data(), hash, &info, &id, &found)) && found == 1 &&
      info != nullptr) {
    if (FAILED(info->CreateInstance(nullptr, IID_IUnknown, reinterpret_cast<void**>(&object)))) {
      object = nullptr;
    } else if (path.find(u'\\') != std::u16string::npos) {
      RegisterTypeLib(library, path.c_str(), nullptr);
    }
    info->Release();
  }
  library->Release();
  return object;
}

IUnknown* create_by_class(const std::u16string& name) {
  CLSID clsid{};
  HRESULT hr = !name.empty() && name[0] == u'{' ? CLSIDFromString(name.c_str(), &clsid)
                                                : CLSIDFromProgID(name.c_str(), &clsid);
  if (FAILED(hr)) return nullptr;
  IUnknown* object = nullptr;
  hr = CoCreateInstance(clsid, nullptr, kAllContexts, IID_IUnknown, reinterpret_cast<void**>(&object));
  if (hr == E_INVALIDARG) {
    hr = CoCreateInstance(clsid, nullptr, kLocalContexts, IID_IUnknown, reinterpret_cast<void**>(&object));
  }
  return SUCCEEDED(hr) ? object : nullptr;
}

void run_member_command(CallMode mode, std::uint32_t result_tag, ArgRecord* result, std::int32_t count,
                        ArgRecord* args) {
  result->tag = result_tag;
  member_call(mode, result, count, args);
}

}  // namespace

void com_object_create(ArgRecord* result, std::int32_t count, ArgRecord* args) {
  result->tag = tag::kBool;
  result->set_value(0);
  if (count < 2) return;
  auto* record = args[0].pointer<ObjectRecord>();
  if (record == nullptr) return;
  const char* name_text = text_argument(args[1]);
  std::u16string name = text_to_utf16(name_text);
  const bool braces = !name.empty() && name[0] == u'{';
  IUnknown* object = nullptr;
  if (!braces && count >= 3 && args[2].tag != 0)
    object = create_from_type_library(name, text_argument(args[2]));
  if (object == nullptr) object = create_by_class(name);
  if (object == nullptr) return;
  if (FAILED(OleRun(object))) {
    object->Release();
    return;
  }
  release_object_record(*record);
  record->iface = object;
  result->set_value(1);
}

void com_object_method(ArgRecord* result, std::int32_t count, ArgRecord* args) {
  run_member_command(CallMode::kMethod, 0, result, count, args);
}

void com_object_read_property(ArgRecord* result, std::int32_t count, ArgRecord* args) {
  run_member_command(CallMode::kRead, tag::kVariant, result, count, args);
}

void com_object_text_method(ArgRecord* result, std::int32_t count, ArgRecord* args) {
  run_member_command(CallMode::kMethod, tag::kText, result, count, args);
}

void com_object_write_property(ArgRecord* result, std::int32_t count, ArgRecord* args) {
  run_member_command(CallMode::kWrite, 0, result, count, args);
  result->tag = tag::kBool;
  result->set_value(automation_error_code() == 0 ? 1 : 0);
}

void com_object_clear(ArgRecord*, std::int32_t count, ArgRecord* args) {
  if (count < 1) return;
  if (auto* record = args[0].pointer<ObjectRecord>()) release_object_record(*record);
}

}  // namespace automation
