#include "commands/text_commands.h"

#include <algorithm>
#include <cstring>
#include <span>
#include <vector>

#include "commands/arguments.h"
#include "commands/text_scan.h"

namespace commands {
namespace {

constexpr std::string_view kDefaultDelimiter = ",";

// Room for one piece per 64 bytes: a reply of hit records splits without the list growing, and
// a text with fewer pieces costs only the unused room.
std::size_t expected_pieces(std::size_t text_size) {
  return text_size / 64 + 1;
}

// The elements between delimiters, each copied into its own text value as soon as the scan has
// passed it, while its bytes are still in cache; `limit` < 0 means no limit.
std::vector<char*> split_elements(std::string_view text, std::string_view delimiter, std::int64_t limit) {
  std::vector<char*> elements;
  if (text.empty() || limit == 0) return elements;
  if (delimiter.empty()) {
    elements.push_back(make_text(text));
    return elements;
  }
  elements.reserve(expected_pieces(text.size()));
  CharWalker walker(text, 0);
  std::size_t piece = 0;
  for (;;) {
    const std::size_t hit = find_exact(text, delimiter, walker, piece);
    if (hit == kNoMatch) break;
    elements.push_back(make_text(text.substr(piece, hit - piece)));
    piece = hit + delimiter.size();
    walker.restart(piece);
    if (limit > 0 && --limit == 0) return elements;
  }
  if (piece < text.size()) elements.push_back(make_text(text.substr(piece)));
  return elements;
}

// One block: dimension count 1, the element count, then one text pointer per element.
void* text_array(std::span<char* const> elements) {
  constexpr std::size_t kHeader = 2 * sizeof(std::uint32_t);
  auto* block = static_cast<unsigned char*>(allocate(kHeader + elements.size_bytes()));
  const std::uint32_t header[2] = {1, static_cast<std::uint32_t>(elements.size())};
  std::memcpy(block, header, kHeader);
  if (!elements.empty()) std::memcpy(block + kHeader, elements.data(), elements.size_bytes());
  return block;
}

}  // namespace

void split_text_command(runtime::ArgRecord* result, std::int32_t count, runtime::ArgRecord* args) {
  const Arguments a(count, args);
  const std::string_view text = a.text(1);
  const std::string_view delimiter = a.given(2) ? a.text(2) : kDefaultDelimiter;
  const std::int64_t limit = a.given(3) ? std::max(a.integer(3, -1), 0) : -1;
  set_pointer_result(result, text_array(split_elements(text, delimiter, limit)),
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
