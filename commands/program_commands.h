// The commands that talk to the desktop: MessageBox, RunProgram and GetRunDirectory.
// Contract:
// - MessageBox(content, [style 0], [title "信息："]) shows a system message box without owner,
//   task-modal unless the style asks for system-modal (0x2000 is added to the style value, not
//   or-ed), and answers the button: OK 0, Cancel 1, Abort 2, Retry 3, Ignore 4, Yes 5, No 6.
// - RunProgram(command line, [wait false], [show 2]) starts a program with CreateProcessA and the
//   show state of 1-6 (clamped); with wait it returns when the program ended, otherwise once it
//   is idle (at most 1 s). A program that cannot be started answers false.
// - GetRunDirectory() answers a copy of the program's directory, without a trailing separator.
#pragma once

#include <cstdint>

#include "commands/core_commands.h"
#include "runtime/abi/records.h"

namespace commands {

// The button code of a system message box answer (IDOK ...).
std::int32_t message_box_button(int answer);
// The system show value of a RunProgram window style (clamped to 1-6).
int show_state(std::int32_t window_style);

}  // namespace commands
