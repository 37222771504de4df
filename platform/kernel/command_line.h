// Splits a command line into arguments by the platform's rules.
// Contract: the first argument (the program) ends at the first blank, or, when it starts with a
// double quote, at the next double quote, with no escapes. Each further argument ends at a blank
// outside double quotes; a double quote toggles quoting and is dropped; inside quotes two double
// quotes make one literal quote; 2n backslashes before a quote give n backslashes (the quote then
// toggles), 2n+1 give n backslashes and a literal quote; other backslashes are literal. Text is
// ANSI code page bytes: a double-byte character is never split, so a trail byte that looks like
// a backslash is not an escape. Never fails; an empty or blank line gives no arguments.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace platform::kernel {

std::vector<std::string> split_command_line(std::string_view line);

}  // namespace platform::kernel
