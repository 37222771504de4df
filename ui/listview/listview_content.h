// Filling a list view control from the column and item blobs, and selecting a row.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/api/types.h"

namespace ui::listview {

// Inserts one column per record, in order, after any columns already there.
void insert_columns(HWND list, std::span<const std::uint8_t> blob);

// Removes every row, then inserts the rows and sub-items of the item records. Image indexes
// are kept only when the control's image list has that image. Answers the tips of the row
// records, in row order.
std::vector<std::string> rebuild_rows(HWND list, std::span<const std::uint8_t> blob, bool report_view);

// Row 0 or more: selects and focuses it. -1: takes selection and focus from the first selected
// row, if any.
void select_row(HWND list, std::int32_t row);

// The whole text of a cell (the read buffer grows until the text fits); empty for a cell that
// is empty or does not exist.
std::string read_cell_text(HWND list, std::int32_t row, std::int32_t column);

// The first selected row, -1 when none.
std::int32_t first_selected_row(HWND list);

}  // namespace ui::listview
