#include "commands/text_commands.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "commands/arguments.h"
#include "commands/text_scan.h"

namespace commands {
namespace {

constexpr std::string_view kDefaultDelimiter = ",";

struct Piece {
  std::size_t offset;
  std::size_t length;
};

// The pieces of `text` between delimiters; `limit` < 0 means no limit.
std::vector<Piece> split_pieces(std::string_view text, std::string_view delimiter, std::int64_t limit) {
  std::vector<Piece> pieces;
  if (text.empty() || limit == 0) return pieces;
  if (delimiter.empty()) {
    pieces.push_back({0, text.size()});
    return pieces;
  }
  CharWalker walker(text, 0);
  std::size_t piece = 0;
  for (;;) {
    const std::size_t hit = find_exact(text, delimiter, walker, piece);
    if (hit == kNoMatch) break;
    pieces.push_back({piece, hit - piece});
    piece = hit + delimiter.size();
    walker.restart(piece);
    if (limit > 0 && --limit == 0) return pieces;
  }
  if (piece < text.size()) pieces.push_back({piece, text.size() - piece});
  return pieces;
}

// One block: dimension count 1, the element count, then one text pointer per piece.
void* text_array(std::string_view text, const std::vector<Piece>& pieces) {
  constexpr std::size_t kHeader = 2 * sizeof(std::uint32_t);
  auto* block = static_cast<unsigned char*>(allocate(kHeader + pieces.size() * sizeof(char*)));
  const std::uint32_t header[2] = {1, static_cast<std::uint32_t>(pieces.size())};
  std::memcpy(block, header, kHeader);
  auto* slot = block + kHeader;
  for (const Piece& p : pieces) {
    char* element = make_text(text.substr(p.offset, p.length));
    std::memcpy(slot, &element, sizeof element);
    slot += sizeof element;
  }
  return block;
}

}  // namespace

void split_text_command(runtime::ArgRecord* result, std::int32_t count, runtime::ArgRecord* args) {
  const Arguments a(count, args);
  const std::string_view text = a.text(1);
  const std::string_view delimiter = a.given(2) ? a.text(2) : kDefaultDelimiter;
  const std::int64_t limit = a.given(3) ? std::max(a.integer(3, -1), 0) : -1;
  set_pointer_result(result, text_array(text, split_pieces(text, delimiter, limit)),
                     runtime::tag::kText | runtime::tag::kArrayFlag);
}

void text_length_command(runtime::ArgRecord* result, std::int32_t count, runtime::ArgRecord* args) {
  set_integer_result(result, static_cast<std::int32_t>(Arguments(count, args).text(1).size()));
}

void find_text_command(runtime::ArgRecord* result, std::int32_t count, runtime::ArgRecord* args) {
  const Arguments a(count, args);
  const std::string_view text = a.text(1);
  const std::string_view sought = a.text(2);
  const std::size_t from = a.given(3) ? static_cast<std::size_t>(std::max(a.integer(3, 1), 1) - 1) : 0;
  std::size_t found = kNoMatch;
  if (from < text.size()) {
    if (sought.empty()) {
      found = 0;  // the start position does not move an empty match
    } else if (a.given(4) && a.record(4).lo == 1) {
      found = find_folded(text, sought, from);
    } else {
      CharWalker walker(text, from);
      found = find_exact(text, sought, walker, from);
    }
  }
  set_integer_result(result, found == kNoMatch ? -1 : static_cast<std::int32_t>(found + 1));
}

void mid_text_command(runtime::ArgRecord* result, std::int32_t count, runtime::ArgRecord* args) {
  const Arguments a(count, args);
  const std::string_view text = a.text(1);
  const std::int64_t pos = static_cast<std::int64_t>(a.integer(2, 0)) - 1;
  const std::int64_t length = a.integer(3, 0);
  char* mid = nullptr;
  if (pos >= 0 && pos < static_cast<std::int64_t>(text.size()) && length > 0) {
    mid = make_text(text.substr(static_cast<std::size_t>(pos), static_cast<std::size_t>(length)));
  }
  set_pointer_result(result, mid, runtime::tag::kText);
}

}  // namespace commands
