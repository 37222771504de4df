// The list view commands. Each takes the list view as argument 1 (value low = window id, value
// high = unit id, type tag 0x00020004), finds it through runtime callback 2007 (a list view that
// is not loaded ends the program with the runtime error of that callback) and sends messages to
// its control. Optional arguments are recognised by tag 0. Out-of-range rows and columns go to
// the control, whose answer stands.
//   DeleteAllItems(list)
//   InsertItem(list, [row], [text], [image], [state image], [indent], [item data]) -> integer
//   SetItemText(list, row, [column = 0], [text = ""])
//   GetItemText(list, row, [column = 0]) -> text (null when the cell is empty)
// A text argument with another type tag counts as the empty text: these commands raise no
// runtime error of their own.
#pragma once

#include <cstdint>

#include "runtime/abi/records.h"

namespace ui::listview {

void delete_all_items_command(runtime::ArgRecord* result, std::int32_t count, runtime::ArgRecord* args);
void insert_item_command(runtime::ArgRecord* result, std::int32_t count, runtime::ArgRecord* args);
void set_item_text_command(runtime::ArgRecord* result, std::int32_t count, runtime::ArgRecord* args);
void get_item_text_command(runtime::ArgRecord* result, std::int32_t count, runtime::ArgRecord* args);

}  // namespace ui::listview
