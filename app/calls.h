// Command calls as the finder's compiled code makes them: argument records built from values,
// the command found by its number in its library's command table of the program image, and the
// call made through the runtime's call services (core commands through slot 3, the others
// through slot 2).
// Contract: text and byte-set arguments are never null (an empty value is passed as the
// constant empty text or byte set); "by reference" records carry the variable's address with
// the array flag bit set. Results belong to the caller.
#pragma once

#include <cstdint>
#include <initializer_list>

#include "runtime/abi/records.h"

namespace app {

// Library indexes: positions in the image's library table.
enum class Library : std::int32_t { core = 0, extended = 1, threads = 2, internet = 3, visual_style = 4 };

// Core command table positions.
enum class Core : std::int32_t {
  run_program = 0,
  to_text = 1,
  message_box = 2,
  object_create = 3,
  object_method = 4,
  object_read_property = 5,
  variant_to_byte_set = 6,
  variant_clear = 7,
  object_clear = 8,
  object_write_property = 9,
  variant_assign = 10,
  object_text_method = 11,
  split_text = 12,
  text_length = 13,
  find_text = 14,
  mid_text = 15,
  run_directory = 16,
  popup_menu = 17,
};

// Command positions of the other libraries.
namespace list_view {
inline constexpr std::int32_t kDeleteAllItems = 0;
inline constexpr std::int32_t kInsertItem = 1;
inline constexpr std::int32_t kSetItemText = 2;
inline constexpr std::int32_t kGetItemText = 3;
}  // namespace list_view
inline constexpr std::int32_t kStartThread = 0;
inline constexpr std::int32_t kHttpReadFile = 0;
inline constexpr std::int32_t kSetVisualStyle = 0;

runtime::ArgRecord call(Core command, std::initializer_list<runtime::ArgRecord> args);
runtime::ArgRecord call(Library library, std::int32_t command,
                        std::initializer_list<runtime::ArgRecord> args);

namespace arg {
runtime::ArgRecord omitted();
runtime::ArgRecord integer(std::int32_t value);
runtime::ArgRecord logical(bool value);
runtime::ArgRecord text(const char* value);
runtime::ArgRecord text_by_reference(char** variable);
runtime::ArgRecord byte_set(const void* value);
runtime::ArgRecord object(void* record);
runtime::ArgRecord variant(void* block);
runtime::ArgRecord variant_by_reference(void** variable);
runtime::ArgRecord unit(std::uint32_t window_id, std::uint32_t unit_id, std::uint32_t type_reference);
runtime::ArgRecord routine(const void* address);
}  // namespace arg

}  // namespace app
