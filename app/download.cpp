// Right-click on a result row: the one-item menu, and the download of the row's lyric file into
// the program's directory.
#include "app/calls.h"
#include "app/constants.h"
#include "app/lyric_file_name.h"
#include "app/main_window.h"
#include "app/routines.h"
#include "app/unit_access.h"
#include "runtime/abi/dll_call.h"

namespace app {
namespace {

using namespace main_window;

constexpr std::int32_t kUrlDownloadToFile = 2;
constexpr std::int32_t kInformation = 64;
constexpr std::int32_t kWarning = 48;

}  // namespace

runtime::HandlerResult popup_row_menu(const std::uint64_t*, std::int32_t) {
  Text id = cell_text(selected_row(), kIdColumn);
  if (!id.empty()) {
    call(Core::popup_menu, {arg::unit(kWindow, 0, kWindowType), arg::unit(kWindow, kRowMenu, kMenuType)});
  }
  return runtime::returns_nothing();
}

runtime::HandlerResult download_selected_lyric(const std::uint64_t*, std::int32_t) {
  const ConstantData& c = constants();
  Text address = cell_text(selected_row(), kAddressColumn);
  Text directory(call(Core::run_directory, {}).pointer<char>());
  // The name follows the edit boxes now, not the search that listed the row.
  Text title = read_text_property(kTitleEdit, kContent);
  Text artist = read_text_property(kArtistEdit, kContent);
  // Only the name is made safe: the fields may hold separators or dots that would leave the folder.
  const std::string name = lyric_file_name(title.view(), artist.view());
  Text path(join_text({directory.view(), c.backslash, name}));
  download_file(address.c_str(), path.c_str());
  return runtime::returns_nothing();
}

void download_file(const char* address, const char* path) {
  const ConstantData& c = constants();
  auto status =
      runtime::call_dll_command<std::int32_t>(services(), kUrlDownloadToFile, static_cast<void*>(nullptr),
                                              address, path, std::uint32_t{0}, static_cast<void*>(nullptr));
  if (status != 0) {
    Text code(call(Core::to_text, {arg::integer(status)}).pointer<char>());
    Text message(join_text({c.download_failed, code.view()}));
    message_box(message.get(), kWarning, c.warning_title);
    return;
  }
  message_box(c.download_done, kInformation, c.notice_title);
}

}  // namespace app
