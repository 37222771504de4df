#include "app/services.h"

#include <cstring>

#include "app/constants.h"

namespace app {
namespace {

constexpr std::int32_t kIndexPastEnd = 1;
constexpr std::int32_t kIndexBelowOne = 4;
constexpr std::size_t kArrayHeader = 8;  // one dimension: count 1, size

const runtime::ServiceTable* g_services = nullptr;

std::uint32_t word_at(const void* block, std::size_t offset) {
  std::uint32_t w;
  std::memcpy(&w, static_cast<const std::uint8_t*>(block) + offset, sizeof w);
  return w;
}

}  // namespace

void bind_services(const runtime::ServiceTable& table) {
  g_services = &table;
}

const runtime::ServiceTable& services() {
  return *g_services;
}

void free_value(void* block) {
  if (block != nullptr) services().free(block);
}

Text& Text::operator=(Text&& o) noexcept {
  if (this != &o) {
    free_value(p_);
    p_ = o.release();
  }
  return *this;
}

TextArray::TextArray() : block_(const_cast<std::uint32_t*>(constants().empty_array)) {}

TextArray::~TextArray() {
  free_elements();
  free_value(block_);
}

std::uint32_t TextArray::size() const {
  return word_at(block_, 4);
}

const char* TextArray::at(std::int32_t index) const {
  if (index - 1 < 0) services().report_error(kIndexBelowOne);
  if (static_cast<std::uint32_t>(index - 1) >= size()) services().report_error(kIndexPastEnd);
  char* element;
  std::memcpy(&element,
              static_cast<const std::uint8_t*>(block_) + kArrayHeader + (index - 1) * sizeof element,
              sizeof element);
  return element != nullptr ? element : "";
}

void TextArray::append(std::string_view text) {
  services().numbered(runtime::kMakeArrayWritable, sizeof(char*), reinterpret_cast<std::intptr_t>(&block_), 0,
                      0, 0, 0);
  std::uint32_t n = size();
  block_ = services().resize(block_, kArrayHeader + (n + 1) * sizeof(char*));
  char* element = make_text(text);
  auto* bytes = static_cast<std::uint8_t*>(block_);
  std::memcpy(bytes + kArrayHeader + n * sizeof element, &element, sizeof element);
  ++n;
  std::memcpy(bytes + 4, &n, sizeof n);
}

void TextArray::replace(void* array_block) {
  free_elements();
  free_value(block_);
  block_ = array_block != nullptr ? array_block : const_cast<std::uint32_t*>(constants().empty_array);
}

void TextArray::free_elements() {
  std::uint32_t n = size();
  for (std::uint32_t i = 0; i < n; ++i) {
    char* element;
    std::memcpy(&element, static_cast<std::uint8_t*>(block_) + kArrayHeader + i * sizeof element,
                sizeof element);
    free_value(element);
  }
}

char* make_text(std::string_view bytes) {
  if (bytes.empty()) return nullptr;
  auto* p = static_cast<char*>(services().allocate(bytes.size() + 1));
  std::memcpy(p, bytes.data(), bytes.size());
  p[bytes.size()] = '\0';
  return p;
}

char* join_text(std::initializer_list<std::string_view> parts) {
  std::size_t total = 0;
  for (std::string_view part : parts) total += part.size();
  if (total == 0) return nullptr;
  auto* p = static_cast<char*>(services().allocate(total + 1));
  std::size_t at = 0;
  for (std::string_view part : parts) {
    std::memcpy(p + at, part.data(), part.size());
    at += part.size();
  }
  p[total] = '\0';
  return p;
}

}  // namespace app
