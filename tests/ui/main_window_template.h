// This program's main window as a template, composed through the builder: the 13 units in
// their template order with the property data blocks of their types, and a code base whose
// routines sit at the handler offsets the template stores.
#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <utility>
#include <vector>

#include "runtime/image.h"
#include "ui/templates/template_model.h"

namespace ui_test {

inline constexpr std::uint32_t kMainWindowId = 0x52010001;

// Handler offsets as the template stores them.
inline constexpr std::int32_t kWindowCreatedHandler = 0x135E;
inline constexpr std::int32_t kOpenSiteHandler = 0x0000;  // the first application handler
inline constexpr std::int32_t kDownloadHandler = 0x01E0;
inline constexpr std::int32_t kSearchHandler = 0x1388;
inline constexpr std::int32_t kPreviewHandler = 0x16E7;
inline constexpr std::int32_t kPopupHandler = 0x1606;

// Owns the property data blocks that the window's records point into.
class MainWindowTemplate {
 public:
  MainWindowTemplate();
  MainWindowTemplate(const MainWindowTemplate&) = delete;
  MainWindowTemplate& operator=(const MainWindowTemplate&) = delete;

  const ui::templates::WindowTemplate& window() const { return window_; }
  std::vector<std::uint8_t> block() const;

 private:
  std::vector<std::vector<std::uint8_t>> properties_;
  ui::templates::WindowTemplate window_;
};

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
