#include <string>

#include "commands/arguments.h"
#include "commands/program_commands.h"
#include "commands/value_text.h"
#include "platform/api/dialogs.h"

namespace commands {
namespace {

constexpr char kDefaultTitle[] = "\xD0\xC5\xCF\xA2\xA3\xBA";  // 信息：
constexpr std::size_t kNumberBuffer = 100;                    // numbers are rendered into this much

std::string content_text(const Arguments& a) {
  if (!a.given(1)) return {};
  if (a.tag(1) == runtime::tag::kText && !runtime::is_array_tag(a.record(1).tag))
    return std::string(a.text(1));
  if (runtime::is_array_tag(a.record(1).tag)) return {};
  std::string text = number_text(a.record(1)).value_or(std::string());
  if (text.size() >= kNumberBuffer) text.resize(kNumberBuffer - 1);
  return text;
}

}  // namespace

std::int32_t message_box_button(int answer) {
  switch (answer) {
    case IDCANCEL:
      return 1;
    case IDABORT:
      return 2;
    case IDRETRY:
      return 3;
    case IDIGNORE:
      return 4;
    case IDYES:
      return 5;
    case IDNO:
      return 6;
    default:
      return 0;  // OK and anything unexpected
  }
}

void message_box_command(runtime::ArgRecord* result, std::int32_t count, runtime::ArgRecord* args) {
  const Arguments a(count, args);
  const std::string content = content_text(a);
  const std::string title(a.given(3) ? a.text(3) : std::string_view(kDefaultTitle));
  auto style = static_cast<UINT>(a.integer(2, 0));
  if ((style & MB_SYSTEMMODAL) == 0) style += MB_TASKMODAL;  // added, as the program has always done
  const int answer = MessageBoxA(nullptr, content.c_str(), title.c_str(), style);
  set_integer_result(result, message_box_button(answer));
}

}  // namespace commands
