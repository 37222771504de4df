#include "runtime/callback.h"

#include <algorithm>
#include <cstring>

#include "platform/api/input.h"
#include "platform/api/kernel.h"
#include "runtime/abi/records.h"
#include "runtime/convert.h"
#include "runtime/end_sequence.h"
#include "runtime/heap.h"
#include "runtime/image_reader.h"
#include "runtime/message_loop.h"
#include "runtime/messages.h"
#include "runtime/runtime_error.h"
#include "runtime/state.h"
#include "runtime/values.h"
#include "runtime/window_system.h"

namespace runtime {
namespace {

template <class T>
T* as(std::intptr_t word) {
  return reinterpret_cast<T*>(word);
}

std::intptr_t word(const void* p) {
  return reinterpret_cast<std::intptr_t>(p);
}

std::intptr_t load_icons(RuntimeState& s, std::intptr_t target) {
  if (!s.icons_loaded) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    s.icons[0] = static_cast<HICON>(LoadImageA(instance, "DEFAULT_ICON", IMAGE_ICON, 32, 32, 0));
    s.icons[1] = static_cast<HICON>(LoadImageA(instance, "DEFAULT_ICON", IMAGE_ICON, 16, 16, 0));
    s.icons_loaded = true;
  }
  if (auto* out = as<HICON>(target)) {
    out[0] = s.icons[0];
    out[1] = s.icons[1];
  }
  return 0;
}

std::intptr_t wrap_window(RuntimeState& s, HWND window) {
  s.window_objects.push_back(std::make_unique<WindowObject>(WindowObject{window}));
  return word(s.window_objects.back().get());
}

auto find_object(RuntimeState& s, std::intptr_t object) {
  return std::find_if(s.window_objects.begin(), s.window_objects.end(),
                      [&](const std::unique_ptr<WindowObject>& o) { return word(o.get()) == object; });
}

std::intptr_t add_idle(RuntimeState& s, std::intptr_t entry_words) {
  const auto* words = as<const std::intptr_t>(entry_words);
  if (words == nullptr) return 0;
  auto window = reinterpret_cast<HWND>(words[0]);
  bool present = std::any_of(s.idle_callbacks.begin(), s.idle_callbacks.end(),
                             [&](const IdleCallback& c) { return c.window == window; });
  if (!present) s.idle_callbacks.push_back({window, reinterpret_cast<IdleRoutine>(words[1]), words[2]});
  return 0;
}

std::intptr_t remove_idle(RuntimeState& s, HWND window) {
  std::erase_if(s.idle_callbacks, [&](const IdleCallback& c) { return c.window == window; });
  return 0;
}

std::intptr_t unit_gone(RuntimeState& s, std::uint32_t window_id, std::uint32_t unit_id) {
  const WindowSystem& ws = window_system();
  bool was_window = ws.unit_gone != nullptr && ws.unit_gone(window_id, unit_id);
  if (was_window && s.modal_window == window_id) s.modal_window = 0;
  return 0;
}

std::intptr_t event_source(RuntimeState& s, std::intptr_t target) {
  auto* out = as<std::uint32_t>(target);
  if (s.event_window == 0 || out == nullptr) return 0;
  out[0] = s.event_window;
  out[1] = s.event_unit;
  return 1;
}

std::intptr_t find_unit(std::int32_t code, std::uint32_t window_id, std::uint32_t unit_id) {
  const WindowSystem& ws = window_system();
  void* unit = ws.find_unit != nullptr ? ws.find_unit(window_id, unit_id) : nullptr;
  if (unit == nullptr && code == callback::kFindUnitOrFail) report_gone(messages::kUnitNotLoaded);
  return word(unit);
}

}  // namespace

std::intptr_t runtime_callback(std::int32_t code, std::intptr_t arg1, std::intptr_t arg2) {
  RuntimeState* state = current_state();
  const WindowSystem& ws = window_system();
  const auto id1 = static_cast<std::uint32_t>(arg1);
  const auto id2 = static_cast<std::uint32_t>(arg2);
  switch (code) {
    case callback::kOne:
      return 1;
    case callback::kVersion:
      return 0x20005;
    case callback::kToInteger:
      if (arg1 == 0) report_runtime_error(messages::kNotNumeric, 0);
      return to_int32(*as<const ArgRecord>(arg1));
    case callback::kFreeArray:
      free_array(id1, as<void>(arg2));
      return 0;
    case callback::kAllocate:
      return word(arg2 == 0 ? allocate(static_cast<std::size_t>(arg1))
                            : try_allocate(static_cast<std::size_t>(arg1)));
    case callback::kFree:
      release(as<void>(arg1));
      return 0;
    case callback::kResize:
      return word(resize(as<void>(arg1), static_cast<std::size_t>(arg2)));
    case callback::kReportError:
      report_runtime_error(as<const char>(arg1), 0);
    case callback::kEndProgram:
      end_program(static_cast<std::int32_t>(arg1));
      return 0;
    case callback::kFindUnit:
    case callback::kFindUnitOrFail:
      return find_unit(code, id1, id2);
    case callback::kRaiseEvent:
    case callback::kRaiseTypedEvent:
      return ws.raise_event != nullptr ? ws.raise_event(as<void>(arg1), code == callback::kRaiseTypedEvent)
                                       : 0;
    case callback::kPump:
      pump_pending_messages();
      return 0;
    case callback::kPumpAndBlock:
      pump_pending_messages();
      block_events();
      return 0;
    case callback::kPumpAndUnblock:
      pump_pending_messages();
      unblock_events();
      return 0;
    case callback::kWindowCollection:
      return ws.window_collection != nullptr ? word(ws.window_collection()) : 0;
    case callback::kIsUnitWindow:
      return ws.owns_window != nullptr && ws.owns_window(reinterpret_cast<HWND>(arg1)) ? 1 : 0;
    case callback::kWindowHandle:
      return ws.window_handle != nullptr ? word(ws.window_handle(id1)) : 0;
    case callback::kReleaseObject:
      if (ObjectRelease release_object = object_release(); release_object != nullptr && arg1 != 0) {
        release_object(as<void>(arg1));
      }
      return 0;
    case callback::kInstallObjectRelease:
      install_object_release(reinterpret_cast<ObjectRelease>(arg1));
      return 0;
    case callback::kBuildPopupMenu:
      return ws.popup_menu != nullptr ? word(ws.popup_menu(id1, id2)) : 0;
    default:
      break;
  }
  if (state == nullptr) return 0;
  RuntimeState& s = *state;
  switch (code) {
    case callback::kLoadIcons:
      return load_icons(s, arg1);
    case callback::kUnitType:
      return word(find_unit_type(s.libraries, id1));
    case callback::kWrapWindow:
      return wrap_window(s, reinterpret_cast<HWND>(arg1));
    case callback::kDestroyObject:
      if (auto it = find_object(s, arg1); it != s.window_objects.end()) s.window_objects.erase(it);
      return 0;
    case callback::kWrappedWindow:
      if (auto it = find_object(s, arg1); it != s.window_objects.end()) return word((*it)->window);
      return 0;
    case callback::kAddIdle:
      return add_idle(s, arg1);
    case callback::kRemoveIdle:
      return remove_idle(s, reinterpret_cast<HWND>(arg1));
    case callback::kUnitGone:
      return unit_gone(s, id1, id2);
    case callback::kProgramDirectory:
      return word(s.program_directory.c_str());
    case callback::kProgramFile:
      return word(s.program_file.c_str());
    case callback::kEventSource:
      return event_source(s, arg1);
    case callback::kBuildMode:
      return s.build_mode;
    default:
      return 0;
  }
}

}  // namespace runtime
