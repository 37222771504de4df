// A running runtime for window-system tests: a program image whose library 1 is the core
// library (plus any extra libraries), a template block and a code base, started up with the
// window system installed, so that windows can be built from templates on the headless display.
// Message boxes answer by default (LYRICS_MESSAGEBOX=default).
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "runtime/abi/image.h"
#include "runtime/host_app.h"
#include "tests/runtime/test_image.h"

namespace ui_test {

class UiHost {
 public:
  UiHost(std::vector<std::uint8_t> templates, const runtime::CodeBase* code_base,
         std::vector<runtime::LibraryRecord> extra_libraries = {});
  ~UiHost();
  UiHost(const UiHost&) = delete;
  UiHost& operator=(const UiHost&) = delete;

  runtime::HostApplication& host() { return *host_; }
  runtime::RuntimeState& state() { return host_->state(); }

 private:
  std::vector<std::uint8_t> templates_;
  runtime_test::TestImage image_;
  std::unique_ptr<runtime::HostApplication> host_;
};

// Delivers injected input and dispatches every waiting message through the window system's
// message pre-translation, as the program's loop does, until nothing is left.
void pump();

}  // namespace ui_test
