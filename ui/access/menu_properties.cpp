#include <string_view>

#include "runtime/values.h"
#include "ui/access/access_parts.h"
#include "ui/access/owner_thread.h"
#include "ui/templates/window_collection.h"
#include "ui/windows/window_builder.h"

namespace ui {
namespace {

enum MenuProperty : std::int32_t { kCaption = 0, kChecked = 1, kMenuDisabled = 2, kMenuVisible = 3 };

std::uint64_t pointer_value(const void* p) {
  return reinterpret_cast<std::uintptr_t>(p);
}

void rebuild_window_menu(std::size_t window) {
  HWND native = window_native(window);
  if (native == nullptr) return;  // the next build reads the records anyway
  run_on_owner(native, [window] { rebuild_menu(window); });
}

}  // namespace

std::uint64_t read_menu_property(const templates::MenuRecord& menu, std::int32_t index) {
  switch (index) {
    case kCaption:
      return pointer_value(runtime::make_text(menu.caption));
    case kChecked:
      return (menu.flags & templates::kMenuChecked) != 0 ? 1 : 0;
    case kMenuDisabled:
      return (menu.flags & templates::kMenuDisabled) != 0 ? 1 : 0;
    case kMenuVisible:
      return (menu.flags & templates::kMenuHidden) != 0 ? 0 : 1;
    default:
      return 0;
  }
}

void write_menu_property(const AccessTarget& target, std::int32_t index, std::uint64_t value) {
  templates::MenuRecord& menu = target.record->menu();
  const bool on = static_cast<std::uint32_t>(value) != 0;
  std::uint32_t flags = menu.flags;
  switch (index) {
    case kCaption: {
      std::string_view caption =
          runtime::text_or_empty(reinterpret_cast<const char*>(static_cast<std::uintptr_t>(value)));
      if (caption == menu.caption) return;
      menu.caption.assign(caption);
      rebuild_window_menu(target.window);
      return;
    }
    case kChecked:
      flags = on ? flags | templates::kMenuChecked : flags & ~templates::kMenuChecked;
      break;
    case kMenuDisabled:
      flags = on ? flags | templates::kMenuDisabled : flags & ~templates::kMenuDisabled;
      break;
    case kMenuVisible:
      flags = on ? flags & ~templates::kMenuHidden : flags | templates::kMenuHidden;
      break;
    default:
      return;
  }
  if (flags == menu.flags) return;
  menu.flags = flags;
  rebuild_window_menu(target.window);
}

}  // namespace ui
