// The visual-style library: library 5 of the program image. No data types; one command,
// SetVisualStyle (command 0), which paints the calling thread's standard controls in one of
// three flat styles. Its notify routine keeps the runtime callback (code 1) and answers -1 to
// every other code.
#pragma once

#include <cstdint>
#include <span>

#include "runtime/abi/image.h"
#include "runtime/abi/runtime_link.h"

namespace libs::visualstyle {

inline constexpr std::uint32_t kVisualStyleCommandCount = 1;

const runtime::LibraryRecord& visual_style_library_record();
std::span<const runtime::CommandRoutine> visual_style_commands();

// SetVisualStyle(style number): 1-3 switch the styles on (result 1); any other number switches
// them off (result non-zero when a hook was removed, else 0). An argument that is not a number
// counts as 0. The result is an integer.
void set_visual_style_command(runtime::ArgRecord* result, std::int32_t count, runtime::ArgRecord* args);

std::intptr_t visual_style_notify(std::int32_t code, std::intptr_t arg1, std::intptr_t arg2);
// The link that notify code 1 attaches the runtime callback to.
const runtime::RuntimeLink& visual_style_link();

}  // namespace libs::visualstyle
