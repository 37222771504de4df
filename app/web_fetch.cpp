// The web fetch and the charset decoding, both driven through automation objects.
#include <cstring>

#include "app/calls.h"
#include "app/constants.h"
#include "app/routines.h"
#include "runtime/abi/dll_call.h"

namespace app {
namespace {

constexpr std::int32_t kCoInitialize = 0;
constexpr std::int32_t kCoUninitialize = 1;

constexpr std::int32_t kBinaryStream = 1;
constexpr std::int32_t kTextStream = 2;
constexpr std::int32_t kReadWrite = 3;
constexpr std::uint16_t kVariantInteger = 3;  // VT_I4

// The calling thread's object model, initialised for the duration of one routine. Declared
// before the routine's objects, so they are released while it is still initialised.
class Apartment {
 public:
  Apartment() {
    runtime::call_dll_command<std::int32_t>(services(), kCoInitialize, static_cast<void*>(nullptr));
  }
  ~Apartment() { runtime::call_dll_command<void>(services(), kCoUninitialize); }
  Apartment(const Apartment&) = delete;
  Apartment& operator=(const Apartment&) = delete;
};

// An object variable: a zeroed 16-byte object record, released with ComObject.Clear.
class ObjectVariable {
 public:
  ObjectVariable() : record_(services().allocate(kRecordSize)) { std::memset(record_, 0, kRecordSize); }
  ~ObjectVariable() {
    call(Core::object_clear, {arg::object(record_)});
    free_value(record_);
  }
  ObjectVariable(const ObjectVariable&) = delete;
  ObjectVariable& operator=(const ObjectVariable&) = delete;

  runtime::ArgRecord arg() const { return arg::object(record_); }

 private:
  static constexpr std::size_t kRecordSize = 16;
  void* record_;
};

// A variant variable: a 16-byte block, cleared with Variant.Clear before it is freed.
class VariantVariable {
 public:
  // A new variable holds the integer 0.
  VariantVariable() : block_(services().allocate(kBlockSize)) {
    std::memset(block_, 0, kBlockSize);
    std::memcpy(block_, &kVariantInteger, sizeof kVariantInteger);
  }
  // Adopts a block handed back by a command (null: nothing to clear).
  explicit VariantVariable(void* adopted) : block_(adopted) {}
  ~VariantVariable() {
    if (block_ != nullptr) call(Core::variant_clear, {arg::variant(block_)});
    free_value(block_);
  }
  VariantVariable(const VariantVariable&) = delete;
  VariantVariable& operator=(const VariantVariable&) = delete;

  runtime::ArgRecord arg() const { return arg::variant(block_); }
  runtime::ArgRecord by_reference() { return arg::variant_by_reference(&block_); }

 private:
  static constexpr std::size_t kBlockSize = 16;
  void* block_;
};

bool create(const ObjectVariable& object, const char* class_name) {
  return call(Core::object_create, {object.arg(), arg::text(class_name)}).lo != 0;
}

void write_integer(const ObjectVariable& object, const char* member, std::int32_t value) {
  call(Core::object_write_property, {object.arg(), arg::text(member), arg::integer(value)});
}

}  // namespace

Bytes fetch_url(const char* address) {
  const ConstantData& c = constants();
  // The routine's own text variable, handed to "Open" by reference.
  Text url(make_text(address != nullptr ? address : ""));
  Apartment apartment;
  ObjectVariable request;
  if (!create(request, c.request_class_1) && !create(request, c.request_class_2) &&
      !create(request, c.request_class_3)) {
    return Bytes();
  }
  call(Core::object_method, {request.arg(), arg::text(c.open_member), arg::text(c.get_verb),
                             arg::text_by_reference(url.address()), arg::logical(false)});
  call(Core::object_method, {request.arg(), arg::text(c.send_member)});
  VariantVariable reply(
      call(Core::object_read_property, {request.arg(), arg::text(c.body_member)}).pointer<void>());
  return Bytes(call(Core::variant_to_byte_set, {reply.arg()}).pointer<void>());
}

Text decode_bytes(const Bytes& bytes, const char* charset) {
  const ConstantData& c = constants();
  Text charset_variable(make_text(charset != nullptr ? charset : c.utf8_charset));
  Apartment apartment;
  ObjectVariable stream;
  VariantVariable written;
  create(stream, c.stream_class);
  write_integer(stream, c.type_member, kBinaryStream);
  write_integer(stream, c.mode_member, kReadWrite);
  call(Core::object_method, {stream.arg(), arg::text(c.open_member)});
  call(Core::variant_assign, {written.arg(), arg::byte_set(bytes.get())});
  call(Core::object_method, {stream.arg(), arg::text(c.write_member), written.by_reference()});
  write_integer(stream, c.position_member, 0);
  write_integer(stream, c.type_member, kTextStream);
  call(Core::object_write_property,
       {stream.arg(), arg::text(c.charset_member), arg::text_by_reference(charset_variable.address())});
  Text text(call(Core::object_text_method, {stream.arg(), arg::text(c.read_text_member)}).pointer<char>());
  call(Core::object_method, {stream.arg(), arg::text(c.close_member)});
  return text;
}

}  // namespace app
