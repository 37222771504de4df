#include "libs/visualstyle/visual_style_library.h"

#include <array>
#include <cmath>
#include <limits>

#include "libs/visualstyle/subclassing.h"
#include "runtime/abi/command_library.h"

namespace libs::visualstyle {
namespace {

constinit runtime::RuntimeLink runtime_link;

constexpr std::array<runtime::CommandRoutine, kVisualStyleCommandCount> kCommands = {
    &set_visual_style_command,
};

// A number from any numeric record, converted as the runtime converts to integer; anything
// else is 0 (this library never raises runtime errors).
std::int32_t style_argument(std::int32_t count, const runtime::ArgRecord* args) {
  if (count < 1 || args == nullptr) return 0;
  const runtime::ArgRecord& a = args[0];
  auto truncate = [](double d) {
    if (!std::isfinite(d)) return 0;
    if (d >= std::numeric_limits<std::int32_t>::max() || d <= std::numeric_limits<std::int32_t>::min())
      return 0;
    return static_cast<std::int32_t>(d);
  };
  switch (a.tag) {
    case runtime::tag::kByte:
      return static_cast<std::uint8_t>(a.lo);
    case runtime::tag::kShort:
      return static_cast<std::int16_t>(a.lo);
    case runtime::tag::kInt:
    case runtime::tag::kLong:
      return static_cast<std::int32_t>(a.lo);
    case runtime::tag::kFloat:
      return truncate(a.as_float());
    case runtime::tag::kDouble:
      return truncate(a.as_double());
    default:
      return 0;
  }
}

}  // namespace

void set_visual_style_command(runtime::ArgRecord* result, std::int32_t count, runtime::ArgRecord* args) {
  const int answer = set_visual_style(style_argument(count, args));
  if (result == nullptr) return;
  result->set_value(static_cast<std::uint32_t>(answer));
  result->tag = runtime::tag::kInt;
}

std::span<const runtime::CommandRoutine> visual_style_commands() {
  return kCommands;
}

std::intptr_t visual_style_notify(std::int32_t code, std::intptr_t arg1, std::intptr_t) {
  if (code != runtime::notify::kStart) return -1;
  runtime_link.attach(reinterpret_cast<runtime::RuntimeCallback>(arg1));
  return 0;
}

const runtime::RuntimeLink& visual_style_link() {
  return runtime_link;
}

const runtime::LibraryRecord& visual_style_library_record() {
  static const runtime::LibraryRecord record = runtime::command_library_record({
      .guid = "5c1e7a3b9d2f4e6a8b0c1d2e3f4a5b6c",
      .descriptive = {2, 0, 0, 3, 7, 3, 7},
      .name = "XP\xB7\xE7\xB8\xF1\xBD\xE7\xC3\xE6\xBF\xE2",  // XP风格界面库
      .flags = 0x80000000,
      .commands = kCommands,
      .notify = &visual_style_notify,
  });
  return record;
}

}  // namespace libs::visualstyle
