#include "libs/internet/internet_library.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "runtime/abi/callback_codes.h"
#include "runtime/abi/records.h"
#include "tests/support/raw_http_server.h"

namespace {

using libs::internet::http_read_file_command;
using libs::internet::internet_library_notify;
using libs::internet::internet_library_record;
using lyr::test::http_head;
using lyr::test::RawHttpServer;

// Stands in for the runtime: allocations come from malloc and are counted.
int allocations = 0;
std::intptr_t test_callback(std::int32_t code, std::intptr_t arg1, std::intptr_t) {
  if (code != runtime::callback::kAllocate) return 0;
  ++allocations;
  return reinterpret_cast<std::intptr_t>(std::malloc(static_cast<std::size_t>(arg1)));
}

class InternetLibraryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    allocations = 0;
    ASSERT_EQ(internet_library_notify(1, reinterpret_cast<std::intptr_t>(&test_callback), 0), 0);
  }
  void TearDown() override { EXPECT_EQ(internet_library_notify(6, 0, 0), 0); }

  runtime::ArgRecord call(const char* address, std::int32_t count = 1) {
    runtime::ArgRecord arg{};
    arg.set_pointer(address);
    arg.tag = runtime::tag::kText;
    runtime::ArgRecord result{};
    http_read_file_command(&result, count, &arg);
    return result;
  }
};

TEST_F(InternetLibraryTest, RecordDeclaresOneCommandAndTheNotifyRoutine) {
  const runtime::LibraryRecord& r = internet_library_record();
  EXPECT_EQ(r.format_mark, runtime::kLibraryRecordMark);
  EXPECT_STREQ(r.name, "\xBB\xA5\xC1\xAA\xCD\xF8\xD6\xA7\xB3\xD6\xBF\xE2");  // 互联网支持库
  EXPECT_EQ(std::strlen(r.guid), 32u);
  EXPECT_EQ(r.type_count, 0u);
  ASSERT_EQ(r.command_count, 1u);
  EXPECT_EQ(r.commands[0], &http_read_file_command);
  EXPECT_EQ(r.notify, &internet_library_notify);
  EXPECT_EQ(internet_library_notify(2, 0, 0), -1);
}

TEST_F(InternetLibraryTest, TheBodyComesBackAsAByteSetFromTheRuntimeHeap) {
  RawHttpServer server([](const std::string&, RawHttpServer::Connection& c) {
    c.send(http_head("HTTP/1.1 200 OK", {"Content-Length: 4"}) + std::string("\x89PN\0", 4));
  });
  runtime::ArgRecord result = call(server.url("/cover.png").c_str());
  EXPECT_EQ(result.tag, runtime::tag::kByteSet);
  auto* block = result.pointer<std::uint8_t>();
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(allocations, 1);
  std::uint32_t header[2];
  std::memcpy(header, block, sizeof header);
  EXPECT_EQ(header[0], 1u);
  EXPECT_EQ(header[1], 4u);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(block) + 8, 4), std::string("\x89PN\0", 4));
  std::free(block);
}

TEST_F(InternetLibraryTest, NothingReadIsTheEmptyByteSet) {
  EXPECT_EQ(call("").pointer<void>(), nullptr);
  EXPECT_EQ(call(nullptr).pointer<void>(), nullptr);
  EXPECT_EQ(call("http://127.0.0.1:1/", 0).pointer<void>(), nullptr);  // no argument given
  RawHttpServer empty([](const std::string&, RawHttpServer::Connection& c) {
    c.send(http_head("HTTP/1.1 204 No Content", {}));
  });
  runtime::ArgRecord result = call(empty.url("/").c_str());
  EXPECT_EQ(result.pointer<void>(), nullptr);
  EXPECT_EQ(result.tag, runtime::tag::kByteSet);
  EXPECT_EQ(allocations, 0);
}

}  // namespace
