#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/com/apartment.h"
#include "runtime/abi/service_table.h"
#include "runtime/callback.h"
#include "runtime/code_base.h"
#include "runtime/end_sequence.h"
#include "runtime/heap.h"
#include "runtime/host_app.h"
#include "runtime/messages.h"
#include "runtime/window_system.h"
#include "tests/runtime/test_image.h"

namespace {

using namespace runtime;

struct Call {
  int library;
  std::int32_t code;
  std::intptr_t arg1;
};

std::vector<Call>& calls() {
  static std::vector<Call> log;
  return log;
}

int& end_routine_runs() {
  static int runs = 0;
  return runs;
}

template <int Library>
std::intptr_t notify(std::int32_t code, std::intptr_t arg1, std::intptr_t /*arg2*/) {
  calls().push_back({Library, code, arg1});
  return code == 1 || code == 6 ? 0 : -1;
}

void end_routine() {
  ++end_routine_runs();
}

std::int32_t entry_start_only(const ServiceTable& services) {
  services.numbered(kStartup, 0, 0, 0, 0, 0, 0);
  return 0;
}

// The application's usual entry: start-up, end routine, message loop.
std::int32_t entry_with_end_routine(const ServiceTable& services) {
  services.numbered(kStartup, 0, 0, 0, 0, 0, 0);
  services.numbered(kRegisterEndRoutine, reinterpret_cast<std::intptr_t>(&end_routine), 0, 0, 0, 0, 0);
  services.message_loop();
  return 0;
}

class StartupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    calls().clear();
    end_routine_runs() = 0;
    setenv("LYRICS_MESSAGEBOX", "default", 1);
  }
  void TearDown() override { install_window_system(nullptr); }
};

TEST_F(StartupTest, EmptyImageStartsWithNothingToNotifyOrLoad) {
  runtime_test::TestImage image;
  HostApplication host(image.header(), entry_start_only);
  EXPECT_EQ(host.initialise(), 0);
  RuntimeState& s = host.state();
  EXPECT_TRUE(s.started);
  EXPECT_TRUE(s.libraries.empty());
  EXPECT_EQ(s.dlls.size(), 0u);
  EXPECT_TRUE(s.constant_ranges.empty());
  EXPECT_NE(s.heap, nullptr);
  EXPECT_NE(s.hidden_window.load(), nullptr);
  EXPECT_EQ(s.serial_counter.load(), 0x100EBu + 1);
  EXPECT_EQ(s.build_mode, 3u);
  EXPECT_TRUE(s.ole_started);
  EXPECT_EQ(CoApartmentDepth(), 1u);
  EXPECT_TRUE(calls().empty());
  EXPECT_EQ(host.exit(), 0);
  EXPECT_EQ(CoApartmentDepth(), 0u);  // start-up's OLE ended again
  EXPECT_EQ(s.hidden_window.load(), nullptr);
}

TEST_F(StartupTest, ProgramDirectoryIsTheExecutablesAndBecomesCurrent) {
  runtime_test::TestImage image;
  HostApplication host(image.header(), entry_start_only);
  host.initialise();
  RuntimeState& s = host.state();
  char self[4096] = {};
  ASSERT_GT(readlink("/proc/self/exe", self, sizeof self - 1), 0);
  std::string exe(self);
  std::string dir = exe.substr(0, exe.rfind('/'));
  std::string expected_dir = dir;
  for (char& c : expected_dir) c = c == '/' ? '\\' : c;
  EXPECT_EQ(s.program_directory, expected_dir);
  EXPECT_EQ(s.program_directory_with_separator, expected_dir + "\\");
  EXPECT_EQ(s.program_file, exe.substr(exe.rfind('/') + 1));
  char cwd[4096];
  ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
  EXPECT_EQ(std::string(cwd), dir);
  EXPECT_STREQ(reinterpret_cast<const char*>(runtime_callback(callback::kProgramDirectory, 0, 0)),
               expected_dir.c_str());
  EXPECT_STREQ(reinterpret_cast<const char*>(runtime_callback(callback::kProgramFile, 0, 0)),
               s.program_file.c_str());
  host.exit();
}

TEST_F(StartupTest, NotifyRoutinesRunInLibraryOrderAndSkipMissingOnes) {
  runtime_test::TestImage image;
  image.add_library(notify<0>);
  image.add_library(nullptr);
  image.add_library(notify<2>);
  HostApplication host(image.header(), entry_start_only);
  host.initialise();
  ASSERT_EQ(calls().size(), 2u);
  EXPECT_EQ(calls()[0].library, 0);
  EXPECT_EQ(calls()[1].library, 2);
  for (const Call& c : calls()) {
    EXPECT_EQ(c.code, 1);
    EXPECT_EQ(c.arg1, reinterpret_cast<std::intptr_t>(&runtime_callback));
  }
  EXPECT_EQ(host.state().libraries.size(), 3u);
  EXPECT_EQ(host.state().library_values, std::vector<std::intptr_t>(3, 0));

  calls().clear();
  host.state().library_values[2] = 77;  // handed back at the end
  host.exit();
  ASSERT_EQ(calls().size(), 2u);
  EXPECT_EQ(calls()[0].library, 0);
  EXPECT_EQ(calls()[0].code, 6);
  EXPECT_EQ(calls()[0].arg1, 0);
  EXPECT_EQ(calls()[1].library, 2);
  EXPECT_EQ(calls()[1].code, 6);
  EXPECT_EQ(calls()[1].arg1, 77);
  EXPECT_TRUE(host.state().libraries.empty());
}

TEST_F(StartupTest, OrderlyEndRunsTheEndRoutineExactlyOnce) {
  runtime_test::TestImage image;
  image.add_library(notify<0>);
  HostApplication host(image.header(), entry_with_end_routine);
  EXPECT_EQ(host.run(), 0);
  EXPECT_EQ(end_routine_runs(), 1);
  EXPECT_TRUE(host.state().exiting.load());
  EXPECT_TRUE(host.state().message_loop_started);
  // A second end request on the main thread finds the end done and does nothing more.
  EXPECT_FALSE(run_end_sequence(0));
  EXPECT_EQ(end_routine_runs(), 1);
  EXPECT_EQ(calls().back().code, 6);
  EXPECT_EQ(calls().size(), 2u);
}

TEST_F(StartupTest, ConstantBlockBecomesAConstantRange) {
  static const char constants[] = "constant text";
  runtime_test::TestImage image;
  image.set_constants(constants, sizeof constants);
  HostApplication host(image.header(), entry_start_only);
  host.initialise();
  EXPECT_TRUE(is_constant(constants));
  EXPECT_TRUE(is_constant(constants + sizeof constants - 1));
  EXPECT_FALSE(is_constant(constants + sizeof constants));
  host.exit();
  EXPECT_FALSE(is_constant(constants));  // dropped at the end
}

TEST_F(StartupTest, DllTablesAreSizedOnePerDeclarationAndUnbound) {
  runtime_test::TestImage image;
  image.add_dll("ole32.dll", "CoInitialize");
  image.add_dll("ole32.dll", "CoUninitialize");
  HostApplication host(image.header(), entry_start_only);
  host.initialise();
  ASSERT_EQ(host.state().dlls.size(), 2u);
  EXPECT_EQ(host.state().dlls.module(0), nullptr);
  EXPECT_EQ(host.state().dlls.module(1), nullptr);
  host.exit();
  EXPECT_EQ(host.state().dlls.size(), 0u);
}

// A window system that records what start-up hands it.
struct TemplateProbe {
  static inline std::span<const std::uint8_t> block;
  static inline const CodeBase* code_base = nullptr;
  static inline int loads = 0;
  static inline bool answer = true;
  static bool load(std::span<const std::uint8_t> b, const CodeBase* base) {
    ++loads;
    block = b;
    code_base = base;
    return answer;
  }
};

TEST_F(StartupTest, TemplatesAreReadOnlyWhenTheBlockIsNotEmpty) {
  static const WindowSystem ws{.load_templates = TemplateProbe::load};
  install_window_system(&ws);
  TemplateProbe::loads = 0;
  runtime_test::TestImage image;
  {
    HostApplication host(image.header(), entry_start_only);
    host.initialise();
    host.exit();
  }
  EXPECT_EQ(TemplateProbe::loads, 0);

  static const std::uint8_t block[] = {8, 0, 0, 0, 1, 0, 1, 0x52, 0, 0, 0, 0};
  static const CodeBase code{nullptr, 0};
  image.set_templates(block, sizeof block);
  image.set_code_base(&code);
  HostApplication host(image.header(), entry_start_only);
  host.initialise();
  EXPECT_EQ(TemplateProbe::loads, 1);
  EXPECT_EQ(TemplateProbe::block.data(), block);
  EXPECT_EQ(TemplateProbe::block.size(), sizeof block);
  EXPECT_EQ(TemplateProbe::code_base, &code);
  host.exit();
}

TEST_F(StartupTest, UnreadableTemplateBlockEndsTheProgram) {
  static const std::uint8_t block[] = {0xFF};
  runtime_test::TestImage image;
  image.set_templates(block, sizeof block);
  image.add_library(notify<0>);
  EXPECT_EXIT(
      {
        HostApplication host(image.header(), entry_start_only);
        host.initialise();
      },
      ::testing::ExitedWithCode(255),
      ::testing::HasSubstr(runtime_test::utf8(messages::kTemplateLoadFailed)));
}

TEST_F(StartupTest, MissingStartWindowEndsTheProgram) {
  runtime_test::TestImage image;
  EXPECT_EXIT(
      {
        HostApplication host(image.header(), [](const ServiceTable& services) {
          services.numbered(kStartup, 0, 0, 0, 0, 0, 0);
          services.load_start_window(0x52010001);
          return 0;
        });
        host.initialise();
      },
      ::testing::ExitedWithCode(255), ::testing::HasSubstr(runtime_test::utf8(messages::kStartWindowFailed)));
}

TEST_F(StartupTest, MalformedImageIsRefused) {
  runtime_test::TestImage image;
  image.add_library(notify<0>);
  image.library(0).format_mark = 1;
  EXPECT_EXIT(
      {
        HostApplication host(image.header(), entry_start_only);
        host.initialise();
      },
      ::testing::ExitedWithCode(255), ::testing::HasSubstr(runtime_test::utf8(messages::kImageInvalid)));
  EXPECT_TRUE(calls().empty());
}

TEST_F(StartupTest, RuntimeErrorSkipsTheEndRoutineButNotifiesLibraries) {
  runtime_test::TestImage image;
  image.add_library([](std::int32_t code, std::intptr_t, std::intptr_t) -> std::intptr_t {
    if (code == 6) std::fputs("library notified of the end\n", stderr);
    return 0;
  });
  EXPECT_EXIT(
      {
        HostApplication host(image.header(), [](const ServiceTable& services) {
          services.numbered(kStartup, 0, 0, 0, 0, 0, 0);
          services.numbered(kRegisterEndRoutine,
                            reinterpret_cast<std::intptr_t>(+[] { std::fputs("end routine ran\n", stderr); }),
                            0, 0, 0, 0, 0);
          services.report_error(1);
          return 0;
        });
        host.run();
      },
      ::testing::ExitedWithCode(255),
      "^\\[MessageBox\\][^\n]*\n[^\n]*\n\n[^\n]*1\n\n[^\n]*\n\nlibrary notified of the end\n$");
}

}  // namespace

namespace {

void first_handler() {}
void second_handler() {}

TEST(CodeBaseTest, HandlerOffsetsResolveThroughTheTable) {
  static const runtime::CodeEntry entries[] = {{0, first_handler}, {24, second_handler}};
  static const runtime::CodeBase base{entries, 2};
  auto none = runtime::resolve_handler(&base, -1);
  ASSERT_TRUE(none.has_value());
  EXPECT_EQ(*none, nullptr);
  EXPECT_EQ(runtime::resolve_handler(&base, 0), runtime::Routine{first_handler});
  EXPECT_EQ(runtime::resolve_handler(&base, 24), runtime::Routine{second_handler});
  EXPECT_FALSE(runtime::resolve_handler(&base, 8).has_value());  // no routine there: a load error
  EXPECT_FALSE(runtime::resolve_handler(nullptr, 0).has_value());
  EXPECT_TRUE(runtime::resolve_handler(nullptr, -1).has_value());
}

}  // namespace
