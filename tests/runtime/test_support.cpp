#include <fstream>
#include <sstream>

#include "platform/kernel/codepage.h"
#include "tests/runtime/test_image.h"

namespace runtime_test {

std::string read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

std::string utf8(const char* gb18030) {
  return platform::codepage::ansi_to_utf8(gb18030);
}

}  // namespace runtime_test
