#include "app/calls.h"

#include <algorithm>
#include <cassert>

#include "app/constants.h"
#include "app/program_image.h"
#include "app/services.h"

namespace app {
namespace {

runtime::CommandRoutine command_routine(Library library, std::int32_t command) {
  return program_image().libraries[static_cast<std::int32_t>(library)]->commands[command];
}

// The records lie contiguously, argument 1 first; a call with none still passes a valid address.
runtime::ArgRecord* records(std::initializer_list<runtime::ArgRecord> args) {
  return const_cast<runtime::ArgRecord*>(args.begin());
}

}  // namespace

runtime::ArgRecord call(Core command, std::initializer_list<runtime::ArgRecord> args) {
  return services().call_core(command_routine(Library::core, static_cast<std::int32_t>(command)),
                              static_cast<std::int32_t>(args.size()), records(args));
}

runtime::ArgRecord call(Library library, std::int32_t command,
                        std::initializer_list<runtime::ArgRecord> args) {
  return services().call_library(static_cast<std::int32_t>(library), command_routine(library, command),
                                 static_cast<std::int32_t>(args.size()), records(args));
}

namespace arg {

namespace {
runtime::ArgRecord pointer_record(const void* p, std::uint32_t tag) {
  runtime::ArgRecord r{0, 0, tag};
  r.set_pointer(p);
  return r;
}
}  // namespace

runtime::ArgRecord omitted() {
  return {0, 0, runtime::tag::kNone};
}

runtime::ArgRecord integer(std::int32_t value) {
  return {static_cast<std::uint32_t>(value), 0, runtime::tag::kInt};
}

runtime::ArgRecord logical(bool value) {
  return {value ? 1u : 0u, 0, runtime::tag::kBool};
}

runtime::ArgRecord text(const char* value) {
  return pointer_record(value != nullptr ? value : constants().empty_text, runtime::tag::kText);
}

runtime::ArgRecord text_by_reference(char** variable) {
  return pointer_record(variable, runtime::tag::kText | runtime::tag::kArrayFlag);
}

runtime::ArgRecord byte_set(const void* value) {
  return pointer_record(value != nullptr ? value : constants().empty_byte_set, runtime::tag::kByteSet);
}

runtime::ArgRecord object(void* record) {
  return pointer_record(record, runtime::tag::kObject);
}

runtime::ArgRecord variant(void* block) {
  return pointer_record(block, runtime::tag::kVariant);
}

runtime::ArgRecord variant_by_reference(void** variable) {
  return pointer_record(variable, runtime::tag::kVariant | runtime::tag::kArrayFlag);
}

runtime::ArgRecord unit(std::uint32_t window_id, std::uint32_t unit_id, std::uint32_t type_reference) {
  return {window_id, unit_id, type_reference};
}

runtime::ArgRecord routine(const void* address) {
  return pointer_record(address, runtime::tag::kRoutine);
}

}  // namespace arg
}  // namespace app
