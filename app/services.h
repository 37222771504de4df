// The finder's one door into the runtime: the service table handed to `main`, and the value
// operations that compiled code builds on it (texts, byte sets, text arrays).
// Contract:
// - bind_services() is called once by `main` before anything else; services() answers that table
//   on any thread afterwards (workers start only after the window exists).
// - Owned values (Text, Bytes, TextArray) free their block through the free service when they go;
//   release() hands the block to the caller. A null text is the empty text, a null byte set the
//   empty byte set.
// - Texts are NUL-terminated bytes of the system code page; nothing here looks at characters.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string_view>

#include "runtime/abi/service_table.h"

namespace app {

void bind_services(const runtime::ServiceTable& table);
const runtime::ServiceTable& services();

// Frees any runtime value block (null and constant blocks are ignored by the service).
void free_value(void* block);

// A text value owned by one variable.
class Text {
 public:
  Text() = default;
  explicit Text(char* adopted) : p_(adopted) {}
  Text(Text&& o) noexcept : p_(o.release()) {}
  Text& operator=(Text&& o) noexcept;
  Text(const Text&) = delete;
  Text& operator=(const Text&) = delete;
  ~Text() { free_value(p_); }

  // Never null: the empty text reads as "".
  const char* c_str() const { return p_ != nullptr ? p_ : ""; }
  std::string_view view() const { return c_str(); }
  bool empty() const { return p_ == nullptr || *p_ == '\0'; }
  // The variable's own address, for arguments passed by reference.
  char** address() { return &p_; }
  char* get() const { return p_; }
  char* release() {
    char* p = p_;
    p_ = nullptr;
    return p;
  }

 private:
  char* p_ = nullptr;
};

// A byte set owned by one variable: u32 1, u32 length, then the bytes.
class Bytes {
 public:
  Bytes() = default;
  explicit Bytes(void* adopted) : p_(static_cast<std::uint8_t*>(adopted)) {}
  Bytes(Bytes&& o) noexcept : p_(o.release()) {}
  Bytes(const Bytes&) = delete;
  Bytes& operator=(const Bytes&) = delete;
  ~Bytes() { free_value(p_); }

  std::uint8_t* get() const { return p_; }
  std::uint8_t* release() {
    std::uint8_t* p = p_;
    p_ = nullptr;
    return p;
  }

 private:
  std::uint8_t* p_ = nullptr;
};

// A one-dimensional array of owned texts. It starts as the constant empty array, so the first
// append makes it writable through numbered service 2, as every array write does.
class TextArray {
 public:
  TextArray();
  TextArray(const TextArray&) = delete;
  TextArray& operator=(const TextArray&) = delete;
  ~TextArray();

  std::uint32_t size() const;
  // 1-based and bounds-checked: an index past the end is runtime error 1, below 1 error 4.
  const char* at(std::int32_t index) const;
  // Appends a copy of `text` (an empty text is stored as null).
  void append(std::string_view text);
  // Takes over an array handed back by a command, freeing the one held before.
  void replace(void* array_block);

 private:
  void free_elements();
  void* block_;
};

// A fresh text value holding these bytes, or null when there are none.
char* make_text(std::string_view bytes);
// The parts joined, as one fresh text value.
char* join_text(std::initializer_list<std::string_view> parts);

}  // namespace app
