// The multithreading library: library 3 of the program image, one command (StartThread).
// Contract:
// - thread_library_record(): no data types, the one command, and the notify routine.
// - thread_library_notify: code 1 stores the runtime callback (argument 1) and answers 0; code 6
//   (the program ends) deletes every critical section of the library's list and answers 0;
//   every other code answers -1.
#pragma once

#include <cstdint>

#include "runtime/abi/image.h"
#include "runtime/abi/runtime_link.h"

namespace libs::threads {

std::intptr_t thread_library_notify(std::int32_t code, std::intptr_t arg1, std::intptr_t arg2);
const runtime::LibraryRecord& thread_library_record();
// The link that notify code 1 attaches the runtime callback to.
const runtime::RuntimeLink& thread_library_link();

}  // namespace libs::threads
