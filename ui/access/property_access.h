// Reading and writing unit properties by (window id, unit id, property index, selector), and the
// properties of library objects held in variables: service table slots 4 and 5, numbered
// services 4 and 5.
// Contract:
// - Values are 8-byte runtime values: 32-bit kinds in the low word; texts, byte sets and font
//   records as the pointer of a new runtime value that the reader owns (font_record.h). A write
//   never keeps the caller's value.
// - A window id that is not in the window collection is the runtime error
//   "未载入欲访问窗口组件所在的窗口"; a unit id that the window doesn't hold is the runtime error
//   "指定窗口或窗口组件不存在或尚未载入"; a type's own property (index 8 and up) of a unit
//   without a live native window is "指定窗口尚未载入". These end the program, but for a
//   worker thread that meets them once the program is ending (runtime_error.h).
// - Common properties 0-7 live in the unit record and are answered from it while the unit is
//   not live; left, top, width and height are clamped to 32627 on writing.
// - Menu records answer caption, checked, disabled and visible from the record; a change
//   rebuilds the window's menu.
// - May be called from any thread: what touches a native window runs on its owner thread
//   (owner_thread.h). A setter answering 1 re-creates the unit with events blocked.
// - Indexes a unit type doesn't have read 0 and write nothing.
#pragma once

#include <cstdint>

namespace ui {

std::uint64_t read_unit_property(std::uint32_t window_id, std::uint32_t unit_id, std::int32_t index,
                                 std::int32_t selector);
void write_unit_property(std::uint32_t window_id, std::uint32_t unit_id, std::int32_t index,
                         std::int32_t selector, std::uint64_t value);
std::uint64_t read_object_property(std::uint32_t type_reference, void* object, std::int32_t index,
                                   std::int32_t selector);
void write_object_property(std::uint32_t type_reference, void* object, std::int32_t index,
                           std::int32_t selector, std::uint64_t value);

}  // namespace ui
