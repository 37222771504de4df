// Cutting values out of reply texts between fixed markers, on the core text commands.
#include "app/calls.h"
#include "app/routines.h"

namespace app {
namespace {

void split(TextArray& into, const char* source, const char* delimiter) {
  into.replace(call(Core::split_text, {arg::text(source), arg::text(delimiter)}).pointer<void>());
}

std::int32_t find(const char* source, const char* sought) {
  return static_cast<std::int32_t>(
      call(Core::find_text, {arg::text(source), arg::text(sought), arg::integer(0), arg::logical(false)}).lo);
}

}  // namespace

void find_all_between(const char* source, const char* start, const char* end, TextArray& result) {
  TextArray pieces;
  split(pieces, source, start);
  // The text before the first start marker is never a value.
  std::int32_t last = static_cast<std::int32_t>(pieces.size());
  for (std::int32_t k = 2; k <= last; ++k) {
    TextArray parts;
    split(parts, pieces.at(k), end);
    if (parts.size() >= 1) result.append(parts.at(1));
  }
}

Text find_between(const char* source, const char* start, const char* end) {
  std::int32_t p1 = find(source, start);
  std::int32_t ls = static_cast<std::int32_t>(call(Core::text_length, {arg::text(start)}).lo);
  if (p1 == -1) return Text();
  std::int32_t p2 = find(source, end);
  if (p2 == -1) return Text();
  runtime::ArgRecord r =
      call(Core::mid_text, {arg::text(source), arg::integer(p1 + ls), arg::integer(p2 - p1 - ls)});
  return Text(r.pointer<char>());
}

}  // namespace app
