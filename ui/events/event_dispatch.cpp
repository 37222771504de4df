#include "ui/events/event_dispatch.h"

#include <algorithm>
#include <array>

#include "runtime/abi/event_handler.h"
#include "runtime/abi/event_request.h"
#include "runtime/runtime_error.h"
#include "runtime/window_system.h"
#include "ui/access/owner_thread.h"
#include "ui/state/messages.h"
#include "ui/state/window_lookups.h"
#include "ui/templates/window_collection.h"

namespace ui {
namespace {

constexpr std::uint32_t kWindowLikeType = 0x40;
constexpr std::uint32_t kMenuLikeType = 0x04;

namespace tag {
constexpr std::uint32_t kMenuItem = 0x00010003;
constexpr std::uint32_t kByte = 0x80000101;
constexpr std::uint32_t kShort = 0x80000201;
constexpr std::uint32_t kLong = 0x80000401;
constexpr std::uint32_t kDouble = 0x80000601;
constexpr std::uint32_t kWide1 = 0x80000003;
constexpr std::uint32_t kWide2 = 0x80000008;
}  // namespace tag

std::uint64_t both_words(const runtime::TypedEventArgument& a) {
  return a.low | (static_cast<std::uint64_t>(a.high) << 32);
}

std::uint64_t typed_argument(const runtime::TypedEventArgument& a) {
  // On this system an address needs both words.
  if ((a.flags & runtime::kPassAddress) != 0) return both_words(a);
  if ((a.flags & runtime::kPassBothWords) != 0 || a.tag == tag::kMenuItem) return both_words(a);
  if (a.tag == tag::kByte) return a.low & 0xFFu;
  if (a.tag == tag::kShort)
    return static_cast<std::uint32_t>(static_cast<std::int32_t>(static_cast<std::int16_t>(a.low)));
  if (a.tag == tag::kWide1 || a.tag == tag::kWide2 || a.tag == tag::kLong || a.tag == tag::kDouble)
    return both_words(a);
  return a.low;
}

runtime::HandlerResult call_handler(runtime::Routine handler, const std::uint64_t* args, std::int32_t count) {
  runtime::HandlerResult result = reinterpret_cast<runtime::EventHandler>(handler)(args, count);
  runtime::clear_event_source();
  return result;
}

}  // namespace

runtime::Routine find_event_handler(std::uint32_t window_id, std::uint32_t unit_id, std::int32_t event) {
  if (runtime::events_blocked()) return nullptr;
  const int window = window_index_of(window_id);
  if (window < 0) runtime::report_runtime_error(messages::kEventWindowMissing, 0);
  const int unit = unit_index_of(static_cast<std::size_t>(window), unit_id);
  if (unit < 0) runtime::report_runtime_error(messages::kEventUnitMissing, 0);
  const templates::UnitRecord& record = templates::window_collection()
                                            .window(static_cast<std::size_t>(window))
                                            .units[static_cast<std::size_t>(unit)];
  const runtime::UnitTypeDescriptor* type = runtime::unit_type(record.type_reference);
  if (type == nullptr || (type->state_bits & (kWindowLikeType | kMenuLikeType)) == 0)
    runtime::report_runtime_error(messages::kEventUnitInvalid, 0);

  runtime::Routine handler = nullptr;
  if (record.is_menu()) {
    handler = record.menu().handler;
  } else if (const templates::EventBinding* binding = record.control().binding(event)) {
    handler = binding->handler;
  }
  if (handler == nullptr) return nullptr;
  runtime::set_event_source(window_id, record.id);
  return handler;
}

std::intptr_t raise_event(void* request, bool typed) {
  if (request == nullptr) return 0;
  prepare_owner_relay();
  std::array<std::uint64_t, 12> args{};
  if (!typed) {
    auto* simple = static_cast<runtime::SimpleEventRequest*>(request);
    runtime::Routine handler = find_event_handler(simple->window_id, simple->unit_id, simple->event);
    if (handler == nullptr) return 0;
    const std::uint32_t count = std::min<std::uint32_t>(simple->count, 5);
    for (std::uint32_t i = 0; i < count; ++i) args[i] = simple->args[i];
    const runtime::HandlerResult result =
        call_handler(handler, args.data(), static_cast<std::int32_t>(count));
    if (result.returned) {
      simple->result_present = 1;
      simple->result = static_cast<std::uint32_t>(result.value);
    }
    return 1;
  }
  auto* full = static_cast<runtime::TypedEventRequest*>(request);
  runtime::Routine handler = find_event_handler(full->window_id, full->unit_id, full->event);
  if (handler == nullptr) return 0;
  const std::uint32_t count = std::min<std::uint32_t>(full->count, 12);
  for (std::uint32_t i = 0; i < count; ++i) args[i] = typed_argument(full->args[i]);
  const runtime::HandlerResult result = call_handler(handler, args.data(), static_cast<std::int32_t>(count));
  if (result.returned) {
    full->result_present = 1;
    full->result_low = static_cast<std::uint32_t>(result.value);
    full->result_high = static_cast<std::uint32_t>(result.value >> 32);
  }
  return 1;
}

}  // namespace ui
