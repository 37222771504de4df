#include "app/unit_access.h"

#include "app/calls.h"
#include "app/main_window.h"

namespace app {

using namespace main_window;

Text read_text_property(std::uint32_t unit_id, std::int32_t index) {
  std::uint64_t v = services().read_property(kWindow, unit_id, index, kWholeValue);
  return Text(reinterpret_cast<char*>(static_cast<std::uintptr_t>(v)));
}

void write_text_property(std::uint32_t unit_id, std::int32_t index, const char* text) {
  services().write_property(kWindow, unit_id, index, kWholeValue, reinterpret_cast<std::uintptr_t>(text));
}

std::int32_t read_integer_property(std::uint32_t unit_id, std::int32_t index) {
  return static_cast<std::int32_t>(services().read_property(kWindow, unit_id, index, kWholeValue));
}

std::int32_t selected_row() {
  return read_integer_property(kResultList, kSelection);
}

Text cell_text(std::int32_t row, std::int32_t column) {
  runtime::ArgRecord r =
      call(Library::extended, list_view::kGetItemText,
           {arg::unit(kWindow, kResultList, kListViewType), arg::integer(row), arg::integer(column)});
  return Text(r.pointer<char>());
}

void message_box(const char* content, std::int32_t style, const char* title) {
  call(Core::message_box, {arg::text(content), arg::integer(style), arg::text(title)});
}

}  // namespace app
