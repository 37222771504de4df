#include "tests/automation/finder_routines.h"

#include "tests/automation/command_harness.h"

namespace lyr::test {

namespace tag = runtime::tag;

const char* const kRequestProgIds[3] = {"WinHttp.WinHttpRequest.5.1", "MSXML2.ServerXMLHTTP.6.0",
                                        "MSXML2.ServerXMLHTTP.5.0"};

void* fetch_byte_set(std::string address, std::string* served_by) {
  Apartment apartment;
  ObjectVar request;
  bool created = false;
  for (const char* progid : kRequestProgIds) {
    if ((created = request.create(progid))) {
      if (served_by != nullptr) *served_by = progid;
      break;
    }
  }
  if (!created) return nullptr;
  char* url = address.data();
  call(&automation::com_object_method,
       {request.arg(), text_arg("Open"), text_arg("GET"), by_address(tag::kText, &url), bool_arg(false)});
  call(&automation::com_object_method, {request.arg(), text_arg("Send")});
  runtime::ArgRecord body =
      call(&automation::com_object_read_property, {request.arg(), text_arg("ResponseBody")});
  auto* reply = body.pointer<VARIANT>();
  runtime::ArgRecord bytes = call(&automation::variant_to_byte_set, {variant_arg(reply)});
  call(&automation::variant_clear, {variant_arg(reply)});
  free_value(body);
  return bytes.pointer<void>();
}

std::string fetch_url(std::string address, std::string* served_by) {
  void* bytes = fetch_byte_set(std::move(address), served_by);
  std::string result = byte_set_bytes(bytes);
  free_value(byte_set_arg(bytes));
  return result;
}

char* decode_byte_set(const void* bytes, const char* charset) {
  Apartment apartment;
  ObjectVar stream;
  stream.create("adodb.stream");
  call(&automation::com_object_write_property, {stream.arg(), text_arg("Type"), int_arg(1)});
  call(&automation::com_object_write_property, {stream.arg(), text_arg("Mode"), int_arg(3)});
  call(&automation::com_object_method, {stream.arg(), text_arg("Open")});
  VariantVar buffer;
  static const std::uint32_t kEmptySet[2] = {1, 0};
  call(&automation::variant_assign, {buffer.arg(), byte_set_arg(bytes != nullptr ? bytes : kEmptySet)});
  VARIANT* block = &buffer.block;
  call(&automation::com_object_method, {stream.arg(), text_arg("Write"), by_address(tag::kVariant, &block)});
  call(&automation::com_object_write_property, {stream.arg(), text_arg("Position"), int_arg(0)});
  call(&automation::com_object_write_property, {stream.arg(), text_arg("Type"), int_arg(2)});
  const char* name = charset;
  call(&automation::com_object_write_property,
       {stream.arg(), text_arg("Charset"), by_address(tag::kText, const_cast<char**>(&name))});
  runtime::ArgRecord text = call(&automation::com_object_text_method, {stream.arg(), text_arg("ReadText")});
  call(&automation::com_object_method, {stream.arg(), text_arg("Close")});
  return text.pointer<char>();
}

std::string decode_bytes(std::string_view bytes, const char* charset) {
  void* set = byte_set(bytes);
  char* text = decode_byte_set(set, charset);
  std::string result = text == nullptr ? std::string() : std::string(text);
  free_value(text_arg(text));
  free_value(byte_set_arg(set));
  return result;
}

}  // namespace lyr::test
