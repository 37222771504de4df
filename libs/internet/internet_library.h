// The internet library: library 4 of the program image. One command, HttpReadFile (position 0),
// no data types, and a notify routine that keeps the runtime callback (code 1) and closes the
// shared internet root when the program ends (code 6).
// Contract: HttpReadFile takes one text argument, an http:// or https:// address, and answers a
// byte set (tag 0x80000005) allocated through the runtime callback: the body as read, also the
// body of an error page and the bytes received before a transfer broke off; null when nothing
// was read. It never raises a runtime error and may run on any thread.
#pragma once

#include <cstdint>
#include <span>

#include "runtime/abi/image.h"

namespace libs::internet {

inline constexpr std::uint32_t kInternetCommandCount = 1;

const runtime::LibraryRecord& internet_library_record();
std::span<const runtime::CommandRoutine> internet_commands();

// Code 1 stores the runtime callback (argument 1) and answers 0; code 6 closes the root handle
// and answers 0; every other code answers -1.
std::intptr_t internet_library_notify(std::int32_t code, std::intptr_t arg1, std::intptr_t arg2);

// Command 0: fetch the address's body with a GET request.
void http_read_file_command(runtime::ArgRecord* result, std::int32_t count, runtime::ArgRecord* args);

}  // namespace libs::internet
