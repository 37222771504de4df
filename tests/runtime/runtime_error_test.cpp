#include "runtime/runtime_error.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "runtime/heap.h"
#include "runtime/messages.h"
#include "tests/runtime/test_image.h"

namespace {

using namespace runtime;

TEST(RuntimeErrorTextTest, HeadingCodeLineAndMessageLine) {
  EXPECT_EQ(runtime_error_text(messages::kErrorCode4, 4),
            std::string(messages::kErrorHeading) + messages::kErrorCodeLabel + "4\r\n\r\n" +
                messages::kErrorMessageLabel + messages::kErrorCode4 + "\r\n");
}

TEST(RuntimeErrorTextTest, CodeZeroWithEmptyMessageIsTheHeadingOnly) {
  EXPECT_EQ(runtime_error_text("", 0), messages::kErrorHeading);
  EXPECT_EQ(runtime_error_text(nullptr, 0), messages::kErrorHeading);
  EXPECT_EQ(runtime_error_text(nullptr, 0), "\xD4\xCB\xD0\xD0\xCA\xB1\xB3\xF6\xB4\xED!\r\n\r\n");
}

TEST(RuntimeErrorTextTest, NegativeCodeKeepsItsSign) {
  EXPECT_EQ(runtime_error_text("", -7),
            std::string(messages::kErrorHeading) + messages::kErrorCodeLabel + "-7\r\n\r\n");
}

TEST(RuntimeErrorTextTest, AllocationFailureNamesTheByteCount) {
  char buffer[kAllocationMessageSize];
  format_allocation_failure(1234, buffer);
  EXPECT_EQ(runtime_test::utf8(buffer), "分配 1234 字节内存失败!");
  format_allocation_failure(static_cast<std::size_t>(-16), buffer);
  EXPECT_EQ(runtime_test::utf8(buffer), "分配 -16 字节内存失败!");
}

TEST(RuntimeErrorTextTest, MessagesAreTheSystemsOwnWords) {
  EXPECT_EQ(runtime_test::utf8(messages::kErrorCaption), "错误");
  EXPECT_EQ(runtime_test::utf8(messages::kErrorCode6), "调用DLL命令后发现堆栈错误");
  EXPECT_EQ(runtime_test::utf8(messages::kErrorCode9),
            "“多项选择”命令的索引值参数小于零或超出了所提供参数表范围");
  EXPECT_EQ(runtime_test::utf8(messages::kErrorCode11), "所提供参数的数据类型不符合要求");
  EXPECT_EQ(runtime_test::utf8(messages::kTemplateLoadFailed), "载入窗口模板数据段出错!");
  EXPECT_EQ(runtime_test::utf8(messages::kStartWindowFailed), "载入启动窗口失败");
}

// The death tests send the child's standard error into a file, so that the parent can compare
// the whole message-box text byte for byte.
class RuntimeErrorDeathTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("LYRICS_MESSAGEBOX", "default", 1);
    char name[] = "/tmp/runtime_error_stderr_XXXXXX";
    int fd = mkstemp(name);
    ASSERT_GE(fd, 0);
    close(fd);
    path_ = name;
  }
  void TearDown() override { std::remove(path_.c_str()); }
  void capture_stderr() const { ASSERT_NE(std::freopen(path_.c_str(), "w", stderr), nullptr); }
  std::string captured() const { return runtime_test::read_file(path_); }

  std::string path_;
};

TEST_F(RuntimeErrorDeathTest, CodedErrorShowsTheBoxAndExitsWithMinusOne) {
  // ExitProcess(0xFFFFFFFF) ends the process with status -1, which Linux reports as 255.
  EXPECT_EXIT(
      {
        capture_stderr();
        report_error_code(4);
      },
      ::testing::ExitedWithCode(255), "");
  EXPECT_EQ(captured(),
            "[MessageBox] 错误\n"
            "运行时出错!\n\n错误代码：4\n\n错误信息：数组成员引用下标必须大于等于1\n\n");
}

TEST_F(RuntimeErrorDeathTest, AllocationFailureIsReportedWithoutCode) {
  EXPECT_EXIT(
      {
        capture_stderr();
        // A count taken from a negative number: the heap refuses it, the message shows it signed.
        allocate(static_cast<std::size_t>(-100));
      },
      ::testing::ExitedWithCode(255), "");
  EXPECT_EQ(captured(), "[MessageBox] 错误\n运行时出错!\n\n错误信息：分配 -100 字节内存失败!\n\n");
}

}  // namespace
