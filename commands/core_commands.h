// The core commands as the core library carries them: every routine by its row in the core
// library's command table (rows 4-12 are the automation types' commands), and the link through
// which they reach the runtime. The program image puts the table together.
// Contract: each routine has the command signature and never frees its arguments; what each
// does is written where it is built (program_commands.h, value_text.h, text_commands.h,
// popup_menu_command.h). attach_runtime() is the core library's notify code 1 for these
// commands: until it has run, a command that needs the runtime ends the process
// (runtime/abi/runtime_link.h).
#pragma once

#include <cstdint>

#include "runtime/abi/image.h"
#include "runtime/abi/records.h"

namespace commands {

// Rows 1-3.
void run_program_command(runtime::ArgRecord* result, std::int32_t count, runtime::ArgRecord* args);
void to_text_command(runtime::ArgRecord* result, std::int32_t count, runtime::ArgRecord* args);
void message_box_command(runtime::ArgRecord* result, std::int32_t count, runtime::ArgRecord* args);
// Rows 13-18.
void split_text_command(runtime::ArgRecord* result, std::int32_t count, runtime::ArgRecord* args);
void text_length_command(runtime::ArgRecord* result, std::int32_t count, runtime::ArgRecord* args);
void find_text_command(runtime::ArgRecord* result, std::int32_t count, runtime::ArgRecord* args);
void mid_text_command(runtime::ArgRecord* result, std::int32_t count, runtime::ArgRecord* args);
void get_run_directory_command(runtime::ArgRecord* result, std::int32_t count, runtime::ArgRecord* args);
void popup_menu_command(runtime::ArgRecord* result, std::int32_t count, runtime::ArgRecord* args);

void attach_runtime(runtime::RuntimeCallback callback);

}  // namespace commands
