// Double-click on a result row: a worker thread shows the row's lyric and its album cover.
#include "app/calls.h"
#include "app/constants.h"
#include "app/main_window.h"
#include "app/routines.h"
#include "app/unit_access.h"

namespace app {

using namespace main_window;

runtime::HandlerResult preview_selected_row(const std::uint64_t*, std::int32_t) {
  Text id = cell_text(selected_row(), kIdColumn);
  if (!id.empty()) {
    // Parameter and handle omitted: the thread runs detached.
    call(Library::threads, kStartThread, {arg::routine(reinterpret_cast<const void*>(&preview_worker))});
  }
  return runtime::returns_nothing();
}

std::uint32_t preview_worker(void*) {
  const ConstantData& c = constants();
  // The selection is read here, on the worker: a selection changed meanwhile changes what loads.
  {
    Text address = cell_text(selected_row(), kAddressColumn);
    Text lyric = decode_bytes(fetch_url(address.c_str()), c.utf8_charset);
    write_text_property(kLyricPreview, kContent, lyric.get());
  }
  TextArray covers;
  {
    Text id = cell_text(selected_row(), kIdColumn);
    Text cover_request(join_text({c.service_base, c.cover_path, id.view()}));
    Text page = decode_bytes(fetch_url(cover_request.c_str()), c.utf8_charset);
    find_all_between(page.c_str(), c.cover_start, c.quote, covers);
  }
  // A cover reply without a cover address leaves the picture as it is.
  if (covers.size() == 0) return 0;
  Bytes picture(call(Library::internet, kHttpReadFile, {arg::text(covers.at(1))}).pointer<void>());
  const void* value = picture.get() != nullptr ? static_cast<const void*>(picture.get()) : c.empty_byte_set;
  services().write_property(kWindow, kCoverPicture, kPicture, kWholeValue,
                            reinterpret_cast<std::uintptr_t>(value));
  return 0;
}

}  // namespace app
