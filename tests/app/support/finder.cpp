#include "tests/app/support/finder.h"

#include <dirent.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "app/constants.h"
#include "app/main_window.h"
#include "app/program_image.h"
#include "app/routines.h"
#include "libs/threads/start_thread.h"
#include "platform/api/listview.h"
#include "platform/api/user.h"
#include "platform/winsys/headless.h"
#include "runtime/service_table.h"
#include "runtime/window_system.h"
#include "tests/ui/support/ui_host.h"
#include "ui/system/window_system_table.h"
#include "ui/templates/window_collection.h"
#include "ui/windows/window_builder.h"

namespace app_test {
namespace {

using namespace app::main_window;

int entries_in(const char* directory) {
  int n = 0;
  if (DIR* d = opendir(directory)) {
    while (dirent* e = readdir(d)) {
      if (e->d_name[0] != '.') ++n;
    }
    closedir(d);
  }
  return n;
}

RECT row_rect(HWND list, int row) {
  RECT r{};
  r.left = LVIR_BOUNDS;
  SendMessageA(list, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&r));
  return r;
}

POINT row_point(HWND list, int row) {
  RECT r = row_rect(list, row);
  return POINT{r.left + 20, (r.top + r.bottom) / 2};
}

}  // namespace

std::string service_base() {
  return app::constants().service_base;
}

int service_port() {
  const std::string base = service_base();
  return std::atoi(base.substr(base.rfind(':') + 1).c_str());
}

int descriptor_count() {
  return entries_in("/proc/self/fd");
}

Finder::Finder() {
  setenv("LYRICS_MESSAGEBOX", "default", 1);
  ui::templates::window_collection().clear();
  ui::install_window_system();
  host_ =
      std::make_unique<runtime::HostApplication>(app::program_image(), [](const runtime::ServiceTable& s) {
        app::open_main_window(s);
        return 0;
      });
  host_->initialise();
  pump();
}

Finder::~Finder() {
  wait_for_workers();
  host_->exit();
  host_.reset();
  runtime::install_window_system(nullptr);
  ui::templates::window_collection().clear();
  platform::headless::reset_input();
}

HWND Finder::window() const {
  return ui::window_native(0);
}

HWND main_window_unit(std::uint32_t unit_id) {
  const auto& windows = ui::templates::window_collection();
  if (windows.size() == 0) return nullptr;
  int index = windows.window(0).find_unit(unit_id);
  if (index < 0) return nullptr;
  ui::Unit* u = ui::live_unit(0, static_cast<std::size_t>(index));
  return u != nullptr ? u->hwnd() : nullptr;
}

HWND Finder::unit(std::uint32_t unit_id) const {
  return main_window_unit(unit_id);
}

void Finder::set_keywords(std::string_view title, std::string_view artist) {
  const runtime::ServiceTable& s = runtime::service_table();
  std::string t(title), a(artist);
  s.write_property(kWindow, kTitleEdit, kContent, kWholeValue, reinterpret_cast<std::uintptr_t>(t.c_str()));
  s.write_property(kWindow, kArtistEdit, kContent, kWholeValue, reinterpret_cast<std::uintptr_t>(a.c_str()));
}

std::string Finder::text(std::uint32_t unit_id) const {
  const runtime::ServiceTable& s = runtime::service_table();
  auto* p =
      reinterpret_cast<char*>(static_cast<std::uintptr_t>(s.read_property(kWindow, unit_id, kContent, -1)));
  std::string result = p != nullptr ? p : "";
  s.free(p);
  return result;
}

void Finder::search() {
  HWND button = unit(0x1601001E);
  platform::headless::advance_clock(1000);
  platform::headless::click(button, POINT{40, 24});
  pump();
}

int Finder::row_count() const {
  return static_cast<int>(SendMessageA(unit(kResultList), LVM_GETITEMCOUNT, 0, 0));
}

std::string Finder::cell(int row, int column) const {
  char buffer[4096] = {};
  LVITEMA item{};
  item.iSubItem = column;
  item.pszText = buffer;
  item.cchTextMax = sizeof buffer;
  SendMessageA(unit(kResultList), LVM_GETITEMTEXTA, static_cast<WPARAM>(row),
               reinterpret_cast<LPARAM>(&item));
  return buffer;
}

void Finder::double_click_row(int row) {
  HWND list = unit(kResultList);
  platform::headless::advance_clock(1000);
  platform::headless::double_click(list, row_point(list, row));
  pump();
}

void Finder::right_click_row(int row) {
  HWND list = unit(kResultList);
  platform::headless::advance_clock(1000);
  platform::headless::click(list, row_point(list, row), platform::headless::Button::right);
}

void Finder::pump() {
  ui_test::pump();
}

void Finder::wait_for_workers() {
  // Workers send to the window, so its messages keep running while they finish.
  const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (libs::threads::running_threads() > 0 && std::chrono::steady_clock::now() < limit) {
    pump();
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  pump();
  EXPECT_EQ(libs::threads::running_threads(), 0) << "worker threads left running";
}

}  // namespace app_test
