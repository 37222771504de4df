// The finder's compiled routines: the entry routine, the event handlers bound in the main
// window's template, the preview worker and the routines they share.
// Contract: handlers have the runtime's event-handler form (arguments widened to 64 bits, none of
// them used here) and return nothing; every routine reaches the runtime only through the
// service table, and every temporary value is freed before it returns.
#pragma once

#include <cstdint>

#include "app/services.h"
#include "runtime/abi/event_handler.h"
#include "runtime/abi/service_table.h"

namespace app {

// The program's entry routine: start-up, the main window, the message loop; answers 0.
std::int32_t main(const runtime::ServiceTable& table);
// Everything `main` does before the message loop (tests drive the loop themselves).
void open_main_window(const runtime::ServiceTable& table);
std::int32_t app_start();

runtime::HandlerResult apply_visual_style(const std::uint64_t* args, std::int32_t count);
runtime::HandlerResult search_lyrics(const std::uint64_t* args, std::int32_t count);
runtime::HandlerResult open_author_site(const std::uint64_t* args, std::int32_t count);
runtime::HandlerResult popup_row_menu(const std::uint64_t* args, std::int32_t count);
runtime::HandlerResult preview_selected_row(const std::uint64_t* args, std::int32_t count);
runtime::HandlerResult download_selected_lyric(const std::uint64_t* args, std::int32_t count);

// Thread routine of one preview; the parameter is not used.
std::uint32_t preview_worker(void* parameter);

// HTTP GET of an address: the reply body, empty when nothing could be fetched.
Bytes fetch_url(const char* address);
// The bytes read as text in `charset` (null: "UTF-8"), in the system code page.
Text decode_bytes(const Bytes& bytes, const char* charset);

// Appends to `result` every text between an occurrence of `start` and the next `end`.
void find_all_between(const char* source, const char* start, const char* end, TextArray& result);
// The text between the first `start` and the first `end` of the source, or the empty text.
Text find_between(const char* source, const char* start, const char* end);

void download_file(const char* address, const char* path);

}  // namespace app
