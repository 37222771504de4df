// The search button: ask the lyric service for the two keywords and list its hits.
#include "app/calls.h"
#include "app/constants.h"
#include "app/keyword_segment.h"
#include "app/main_window.h"
#include "app/routines.h"
#include "app/unit_access.h"

namespace app {
namespace {

using namespace main_window;

constexpr std::int32_t kInformation = 64;

runtime::ArgRecord result_list() {
  return arg::unit(kWindow, kResultList, kListViewType);
}

bool both_keywords_empty() {
  if (!read_text_property(kTitleEdit, kContent).empty()) return false;
  return read_text_property(kArtistEdit, kContent).empty();
}

void set_cell(std::int32_t row, std::int32_t column, const char* text) {
  call(Library::extended, list_view::kSetItemText,
       {result_list(), arg::integer(row), arg::integer(column), arg::text(text)});
}

}  // namespace

runtime::HandlerResult search_lyrics(const std::uint64_t*, std::int32_t) {
  const ConstantData& c = constants();
  TextArray ids;
  TextArray lyric_addresses;
  if (both_keywords_empty()) {
    message_box(c.no_keyword, kInformation, c.notice_title);
    return runtime::returns_nothing();
  }
  call(Library::extended, list_view::kDeleteAllItems, {result_list()});

  Text address;
  {
    Text title = read_text_property(kTitleEdit, kContent);
    Text artist = read_text_property(kArtistEdit, kContent);
    // Each keyword stays one path segment, whatever it holds ("AC/DC", "100%", "#1").
    address = Text(join_text({c.service_base, c.lyric_path, keyword_segment(title.view()), c.slash,
                              keyword_segment(artist.view())}));
  }
  Text reply_text;
  {
    Text decoded = decode_bytes(fetch_url(address.c_str()), c.utf8_charset);
    reply_text = Text(call(Core::to_text, {arg::text(decoded.get())}).pointer<char>());
  }
  find_all_between(reply_text.c_str(), c.id_start, c.id_end, ids);
  find_all_between(reply_text.c_str(), c.lyric_start, c.quote, lyric_addresses);
  {
    Text count = find_between(reply_text.c_str(), c.count_start, c.count_end);
    Text status(join_text({c.count_prefix, count.view(), c.count_suffix, c.author_site}));
    write_text_property(kHintLabel, kContent, status.get());
  }

  std::int32_t id_count = static_cast<std::int32_t>(ids.size());
  std::int32_t address_count = static_cast<std::int32_t>(lyric_addresses.size());
  for (std::int32_t i = 1; i <= id_count; ++i) {
    auto row = static_cast<std::int32_t>(call(Library::extended, list_view::kInsertItem, {result_list()}).lo);
    set_cell(row, kIdColumn, ids.at(i));
    // A reply with fewer addresses than ids leaves the missing addresses empty.
    set_cell(row, kAddressColumn, i <= address_count ? lyric_addresses.at(i) : nullptr);
  }
  return runtime::returns_nothing();
}

}  // namespace app
