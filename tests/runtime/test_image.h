// Building program images in tests: a TestImage owns its library records and tables and hands
// out a header that points into them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "runtime/abi/image.h"

namespace runtime_test {

class TestImage {
 public:
  TestImage() = default;
  TestImage(const TestImage&) = delete;
  TestImage& operator=(const TestImage&) = delete;

  // Adds a library record with this notify routine (may be null); answers its index.
  std::size_t add_library(runtime::NotifyRoutine notify) {
    runtime::LibraryRecord record{};
    record.format_mark = runtime::kLibraryRecordMark;
    record.guid = "0123456789ABCDEF0123456789ABCDEF";
    record.name = "lib";
    record.notify = notify;
    records_.push_back(record);
    return records_.size() - 1;
  }
  // Adds a finished library record (copied); answers its index.
  std::size_t add_library_record(const runtime::LibraryRecord& record) {
    records_.push_back(record);
    return records_.size() - 1;
  }
  runtime::LibraryRecord& library(std::size_t i) { return records_[i]; }

  void add_dll(const char* file, const char* name) {
    dll_files_.push_back(file);
    dll_names_.push_back(name);
  }

  void set_constants(const void* data, std::uint32_t size) {
    constants_ = data;
    constants_size_ = size;
  }
  void set_templates(const std::uint8_t* data, std::uint32_t size) {
    templates_ = data;
    templates_size_ = size;
  }
  void set_code_base(const runtime::CodeBase* base) { code_base_ = base; }
  void set_build_mode(std::uint32_t mode) { build_mode_ = mode; }

  // The header; valid until the image is changed or destroyed.
  const runtime::ImageHeader& header() {
    pointers_.clear();
    for (const runtime::LibraryRecord& r : records_) pointers_.push_back(&r);
    header_ = runtime::ImageHeader{};
    header_.build_mode = build_mode_;
    header_.highest_serial = 0x100EB;
    header_.code_base = code_base_;
    header_.constants = constants_;
    header_.constants_size = constants_size_;
    header_.templates = templates_;
    header_.templates_size = templates_size_;
    header_.library_count = static_cast<std::uint32_t>(pointers_.size());
    header_.libraries = pointers_.empty() ? nullptr : pointers_.data();
    header_.dll_count = static_cast<std::uint32_t>(dll_files_.size());
    header_.dll_files = dll_files_.empty() ? nullptr : dll_files_.data();
    header_.dll_names = dll_names_.empty() ? nullptr : dll_names_.data();
    return header_;
  }

 private:
  std::vector<runtime::LibraryRecord> records_;
  std::vector<const runtime::LibraryRecord*> pointers_;
  std::vector<const char*> dll_files_;
  std::vector<const char*> dll_names_;
  const void* constants_ = nullptr;
  std::uint32_t constants_size_ = 0;
  const std::uint8_t* templates_ = nullptr;
  std::uint32_t templates_size_ = 0;
  const runtime::CodeBase* code_base_ = nullptr;
  std::uint32_t build_mode_ = 3;
  runtime::ImageHeader header_{};
};

// Reads the whole of a file (empty when it doesn't exist).
std::string read_file(const std::string& path);

// Text in UTF-8 from GB18030 bytes, for comparing with what the headless message box writes.
std::string utf8(const char* gb18030);

}  // namespace runtime_test
