#include "ui/listview/listview_commands.h"

#include <algorithm>
#include <limits>
#include <string>

#include "platform/api/listview.h"
#include "platform/api/user.h"
#include "runtime/abi/callback_codes.h"
#include "runtime/messages.h"
#include "runtime/runtime_error.h"
#include "runtime/values.h"
#include "ui/listview/extended_library.h"
#include "ui/listview/listview_content.h"
#include "ui/units/unit.h"

namespace ui::listview {
namespace {

using runtime::ArgRecord;

// The arguments of one call: argument n (from 1) and whether it was given.
class Arguments {
 public:
  Arguments(std::int32_t count, ArgRecord* args) : count_(std::max(count, 0)), args_(args) {}

  bool given(std::int32_t n) const { return n <= count_ && args_ != nullptr && args_[n - 1].tag != 0; }

  std::int32_t integer(std::int32_t n, std::int32_t fallback) const {
    if (!given(n)) return fallback;
    return static_cast<std::int32_t>(extended_library_link().call(
        runtime::callback::kToInteger, reinterpret_cast<std::intptr_t>(&args_[n - 1]), 0));
  }

  // The library never ends the program over an argument: any other type is no text.
  const char* text(std::int32_t n) const {
    if (!given(n) || runtime::base_tag(args_[n - 1].tag) != runtime::tag::kText) return "";
    return runtime::text_or_empty(args_[n - 1].pointer<const char>());
  }

  // The control of the list view in argument 1; does not return when it is not loaded.
  HWND list() const {
    const std::uint32_t window_id = given(1) ? args_[0].lo : 0;
    const std::uint32_t unit_id = given(1) ? args_[0].hi : 0;
    auto* unit = reinterpret_cast<Unit*>(
        extended_library_link().call(runtime::callback::kFindUnitOrFail, window_id, unit_id));
    if (unit == nullptr) runtime::report_gone(runtime::messages::kUnitNotLoaded);
    return unit->hwnd();
  }

 private:
  std::int32_t count_;
  ArgRecord* args_;
};

void set_int_result(ArgRecord* result, std::int32_t value) {
  if (result == nullptr) return;
  result->lo = static_cast<std::uint32_t>(value);
  result->hi = 0;
  result->tag = runtime::tag::kInt;
}

UINT state_of_image(std::int32_t state_image) {
  const std::int64_t state = (static_cast<std::int64_t>(state_image) + 1) * 4096;
  return static_cast<UINT>(std::clamp<std::int64_t>(state, 0, std::numeric_limits<UINT>::max()));
}

}  // namespace

void delete_all_items_command(ArgRecord*, std::int32_t count, ArgRecord* args) {
  SendMessageA(Arguments(count, args).list(), LVM_DELETEALLITEMS, 0, 0);
}

void insert_item_command(ArgRecord* result, std::int32_t count, ArgRecord* args) {
  const Arguments a(count, args);
  HWND list = a.list();
  std::string text = a.text(3);
  const std::int32_t position = a.integer(2, -1);
  const std::int32_t image = a.integer(4, -1);
  const std::int32_t indent = a.integer(6, 0);
  LVITEMA item{};
  item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM | LVIF_STATE | LVIF_INDENT;
  item.iItem = position >= 0 ? position : static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
  item.pszText = text.data();
  item.iImage = image >= -1 ? image : -1;
  item.state = a.given(5) ? state_of_image(a.integer(5, 0)) : 0;
  item.stateMask = 0;
  item.iIndent = std::max(indent, 0);
  item.lParam = a.integer(7, 0);
  set_int_result(result, static_cast<std::int32_t>(
                             SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item))));
}

void set_item_text_command(ArgRecord*, std::int32_t count, ArgRecord* args) {
  const Arguments a(count, args);
  HWND list = a.list();
  std::string text = a.text(4);
  LVITEMA item{};
  item.iSubItem = a.integer(3, 0);
  item.pszText = text.data();
  SendMessageA(list, LVM_SETITEMTEXTA, static_cast<WPARAM>(a.integer(2, 0)), reinterpret_cast<LPARAM>(&item));
}

void get_item_text_command(ArgRecord* result, std::int32_t count, ArgRecord* args) {
  const Arguments a(count, args);
  HWND list = a.list();
  const std::string text = read_cell_text(list, a.integer(2, 0), a.integer(3, 0));
  if (result == nullptr) return;
  result->set_pointer(text.empty() ? nullptr : runtime::make_text(std::string_view(text)));
  result->tag = runtime::tag::kText;
}

}  // namespace ui::listview
