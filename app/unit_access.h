// Reading and writing the main window's unit properties through the property services, and the
// message box every handler shows its conditions with.
#pragma once

#include <cstdint>

#include "app/services.h"

namespace app {

// A fresh copy of a text property of a main-window unit.
Text read_text_property(std::uint32_t unit_id, std::int32_t index);
void write_text_property(std::uint32_t unit_id, std::int32_t index, const char* text);
std::int32_t read_integer_property(std::uint32_t unit_id, std::int32_t index);

// The current selection of the result list and the text of one of its cells.
std::int32_t selected_row();
Text cell_text(std::int32_t row, std::int32_t column);

// MessageBox with a text content, a style value and a title.
void message_box(const char* content, std::int32_t style, const char* title);

}  // namespace app
