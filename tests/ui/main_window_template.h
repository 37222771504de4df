// The finder's main window template as the window-system tests use it (composed in app/window/),
// with code bases whose routines sit at the handler offsets the template stores.
#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <utility>
#include <vector>

#include "app/main_window.h"
#include "app/window/main_window_template.h"
#include "runtime/abi/image.h"

namespace ui_test {

inline constexpr std::uint32_t kMainWindowId = app::main_window::kWindow;

// Handler offsets as the template stores them.
using app::main_window::kDownloadHandler;
using app::main_window::kOpenSiteHandler;
using app::main_window::kPopupHandler;
using app::main_window::kPreviewHandler;
using app::main_window::kSearchHandler;
using app::main_window::kWindowCreatedHandler;

using app::window::MainWindowTemplate;

// The handler offsets above in one order, for code bases that put a routine at each.
inline constexpr std::array<std::int32_t, 6> kMainWindowHandlers = {kOpenSiteHandler,      kDownloadHandler,
                                                                    kWindowCreatedHandler, kSearchHandler,
                                                                    kPopupHandler,         kPreviewHandler};

// A code base with routines[i] at kMainWindowHandlers[i]; tests keep one per set of routines.
class MainWindowCodeBase {
 public:
  explicit MainWindowCodeBase(const std::array<runtime::Routine, kMainWindowHandlers.size()>& routines);
  MainWindowCodeBase(const MainWindowCodeBase&) = delete;
  MainWindowCodeBase& operator=(const MainWindowCodeBase&) = delete;

  // Every handler returns at once with no result, except the ones given by offset.
  static MainWindowCodeBase quiet_except(
      std::initializer_list<std::pair<std::int32_t, runtime::Routine>> handlers);

  const runtime::CodeBase& base() const { return base_; }
  runtime::Routine routine_at(std::int32_t offset) const;

 private:
  std::array<runtime::CodeEntry, kMainWindowHandlers.size()> entries_{};
  runtime::CodeBase base_{};
};

// Takes a handler of the runtime's signature as a code-base routine.
template <class Handler>
runtime::Routine as_routine(Handler* handler) {
  return reinterpret_cast<runtime::Routine>(handler);
}

// A code base with one distinct routine at each handler offset above.
const runtime::CodeBase& main_window_code_base();
// The routine at an offset of that code base (null when none).
runtime::Routine routine_at(std::int32_t offset);

}  // namespace ui_test
