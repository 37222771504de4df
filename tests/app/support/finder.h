// The finder's real program image started through the runtime on the headless display, with
// its main window open, for tests that drive it by injected input and read its units back.
// Message boxes answer at once with their default button and report themselves on stderr.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/api/types.h"
#include "runtime/host_app.h"

namespace app_test {

// The port of the lyric service in the image the tests link.
int service_port();
// The lyric service's base address as the image holds it ("http://127.0.0.1:<port>").
std::string service_base();

// Open file descriptors of this process right now.
int descriptor_count();

// The window of a unit of the running program's main window; null while there is none.
HWND main_window_unit(std::uint32_t unit_id);

class Finder {
 public:
  Finder();
  ~Finder();
  Finder(const Finder&) = delete;
  Finder& operator=(const Finder&) = delete;

  HWND window() const;
  HWND unit(std::uint32_t unit_id) const;

  // Keywords in GB18030, written into the two edit boxes.
  void set_keywords(std::string_view title, std::string_view artist);
  // A text property (caption or content) through the runtime's property service.
  std::string text(std::uint32_t unit_id) const;
  // Clicks the search button and runs the window's messages.
  void search();

  int row_count() const;
  std::string cell(int row, int column) const;
  void double_click_row(int row);
  void right_click_row(int row);
  // Delivers the injected input and runs the window's messages until nothing is left.
  void pump();
  // Runs the window's messages until every worker thread the program started (StartThread)
  // has finished its routine.
  void wait_for_workers();

 private:
  std::unique_ptr<runtime::HostApplication> host_;
};

}  // namespace app_test
