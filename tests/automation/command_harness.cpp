#include "tests/automation/command_harness.h"

#include <cstring>

#include "platform/com/apartment.h"
#include "platform/kernel/codepage.h"
#include "runtime/call_service.h"
#include "runtime/heap.h"

namespace lyr::test {

namespace tag = runtime::tag;
using runtime::ArgRecord;

namespace {

ArgRecord record(std::uint64_t value, std::uint32_t t) {
  ArgRecord r{};
  r.set_value(value);
  r.tag = t;
  return r;
}

}  // namespace

ArgRecord text_arg(const char* text) {
  ArgRecord r = record(0, tag::kText);
  r.set_pointer(text);
  return r;
}
ArgRecord int_arg(std::int32_t v) {
  return record(static_cast<std::uint32_t>(v), tag::kInt);
}
ArgRecord long_arg(std::int64_t v) {
  return record(static_cast<std::uint64_t>(v), tag::kLong);
}
ArgRecord bool_arg(bool v) {
  return record(v ? 1 : 0, tag::kBool);
}
ArgRecord double_arg(double v) {
  std::uint64_t bits = 0;
  std::memcpy(&bits, &v, sizeof bits);
  return record(bits, tag::kDouble);
}
ArgRecord omitted_arg() {
  return record(0, 0);
}
ArgRecord object_arg(automation::ObjectRecord* object) {
  ArgRecord r = record(0, tag::kObject);
  r.set_pointer(object);
  return r;
}
ArgRecord variant_arg(VARIANT* block) {
  ArgRecord r = record(0, tag::kVariant);
  r.set_pointer(block);
  return r;
}
ArgRecord byte_set_arg(const void* bytes) {
  ArgRecord r = record(0, tag::kByteSet);
  r.set_pointer(bytes);
  return r;
}
ArgRecord by_address(std::uint32_t t, void* variable) {
  ArgRecord r = record(0, t | tag::kArrayFlag);
  r.set_pointer(variable);
  return r;
}

ArgRecord call(runtime::CommandRoutine routine, std::vector<ArgRecord> args) {
  return runtime::call_core_command(routine, static_cast<std::int32_t>(args.size()), args.data());
}

void* byte_set(std::string_view bytes) {
  if (bytes.empty()) return nullptr;
  auto* block = static_cast<std::uint8_t*>(runtime::allocate(bytes.size() + 8));
  const std::uint32_t header[2] = {1, static_cast<std::uint32_t>(bytes.size())};
  std::memcpy(block, header, sizeof header);
  std::memcpy(block + 8, bytes.data(), bytes.size());
  return block;
}

std::string byte_set_bytes(const void* set) {
  if (set == nullptr) return {};
  std::uint32_t header[2];
  std::memcpy(header, set, sizeof header);
  return std::string(static_cast<const char*>(set) + 8, header[1]);
}

ObjectVar::~ObjectVar() {
  call(&automation::com_object_clear, {arg()});
}

bool ObjectVar::create(const char* progid) {
  return call(&automation::com_object_create, {arg(), text_arg(progid)}).lo != 0;
}

VariantVar::~VariantVar() {
  call(&automation::variant_clear, {arg()});
}

Apartment::Apartment() {
  CoInitialize(nullptr);
}

Apartment::~Apartment() {
  CoUninitialize();
}

void free_value(const ArgRecord& result) {
  void* p = result.pointer<void>();
  if (result.tag == tag::kVariant) VariantClear(static_cast<VARIANT*>(p));
  if (result.tag == tag::kObject && p != nullptr)
    automation::release_object_record(*static_cast<automation::ObjectRecord*>(p));
  runtime::release(p);
}

}  // namespace lyr::test
