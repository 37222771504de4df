#include "platform/kernel/command_line.h"

#include "platform/kernel/codepage.h"

namespace platform::kernel {
namespace {

bool is_blank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

}  // namespace

std::vector<std::string> split_command_line(std::string_view s) {
  std::vector<std::string> args;
  std::size_t i = 0;
  const std::size_t n = s.size();
  while (i < n && is_blank(s[i])) ++i;
  if (i == n) return args;

  std::string program;
  if (s[i] == '"') {
    std::size_t end = s.find('"', i + 1);
    if (end == std::string_view::npos) end = n;
    program.assign(s.substr(i + 1, end - i - 1));
    i = end < n ? end + 1 : n;
  } else {
    while (i < n && !is_blank(s[i])) {
      std::size_t len = codepage::ansi_char_length(s.substr(i));
      program.append(s.substr(i, len));
      i += len;
    }
  }
  args.push_back(std::move(program));

  for (;;) {
    while (i < n && is_blank(s[i])) ++i;
    if (i >= n) break;
    std::string arg;
    bool quoted = false;
    while (i < n) {
      char c = s[i];
      if (!quoted && is_blank(c)) break;
      if (c == '\\') {
        std::size_t count = 0;
        while (i < n && s[i] == '\\') ++count, ++i;
        if (i < n && s[i] == '"') {
          arg.append(count / 2, '\\');
          if (count % 2 == 1) {
            arg.push_back('"');
            ++i;
          }
        } else {
          arg.append(count, '\\');
        }
      } else if (c == '"') {
        if (quoted && i + 1 < n && s[i + 1] == '"') {
          arg.push_back('"');
          i += 2;
        } else {
          quoted = !quoted;
          ++i;
        }
      } else {
        std::size_t len = codepage::ansi_char_length(s.substr(i));
        arg.append(s.substr(i, len));
        i += len;
      }
    }
    args.push_back(std::move(arg));
  }
  return args;
}

}  // namespace platform::kernel
