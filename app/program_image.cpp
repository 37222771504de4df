#include "app/program_image.h"

#include <array>

#include "app/constants.h"
#include "app/core_library.h"
#include "app/main_window.h"
#include "app/main_window_template_block.h"
#include "app/routines.h"
#include "libs/internet/internet_library.h"
#include "libs/threads/thread_library.h"
#include "libs/visualstyle/visual_style_library.h"
#include "ui/listview/extended_library.h"

namespace app {
namespace {

constexpr std::uint32_t kBuildMode = 3;
constexpr std::uint32_t kHighestSerial = 0x100EB;

constexpr std::array<const char*, 3> kDllFiles = {"ole32.dll", "ole32.dll", "URLMON.DLL"};
constexpr std::array<const char*, 3> kDllNames = {"CoInitialize", "CoUninitialize", "URLDownloadToFileA"};

template <class F>
runtime::Routine routine(F* f) {
  return reinterpret_cast<runtime::Routine>(f);
}

// Each handler at the offset the template stores for it.
const std::array<runtime::CodeEntry, 6> kCodeEntries = {{
    {main_window::kOpenSiteHandler, routine(&open_author_site)},
    {main_window::kDownloadHandler, routine(&download_selected_lyric)},
    {main_window::kWindowCreatedHandler, routine(&apply_visual_style)},
    {main_window::kSearchHandler, routine(&search_lyrics)},
    {main_window::kPopupHandler, routine(&popup_row_menu)},
    {main_window::kPreviewHandler, routine(&preview_selected_row)},
}};
const runtime::CodeBase kCodeBase{kCodeEntries.data(), static_cast<std::uint32_t>(kCodeEntries.size())};

}  // namespace

const runtime::ImageHeader& program_image() {
  static const std::array<const runtime::LibraryRecord*, 5> libraries = {
      &core_library_record(), &ui::listview::extended_library_record(),
      &libs::threads::thread_library_record(), &libs::internet::internet_library_record(),
      &libs::visualstyle::visual_style_library_record()};
  static const runtime::ImageHeader header{
      .build_mode = kBuildMode,
      .reserved = 0,
      .highest_serial = kHighestSerial,
      .code_base = &kCodeBase,
      .constants = &kConstants,
      .constants_size = sizeof kConstants,
      .templates = template_block::kBytes,
      .templates_size = sizeof template_block::kBytes,
      .library_count = static_cast<std::uint32_t>(libraries.size()),
      .libraries = libraries.data(),
      .dll_count = static_cast<std::uint32_t>(kDllFiles.size()),
      .dll_files = kDllFiles.data(),
      .dll_names = kDllNames.data(),
  };
  return header;
}

}  // namespace app
