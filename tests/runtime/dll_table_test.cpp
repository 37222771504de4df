#include "runtime/dll_table.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/api/kernel.h"
#include "platform/com/apartment.h"
#include "runtime/abi/dll_call.h"
#include "runtime/host_app.h"
#include "runtime/messages.h"
#include "runtime/program_path.h"
#include "runtime/service_table.h"
#include "tests/runtime/test_image.h"

namespace {

using namespace runtime;

// A module loader that only records: modules are named by what was asked for, and a module
// "has" an export when its name is listed in `exports`.
struct FakeModules {
  static inline std::vector<std::string> loads;
  static inline std::vector<std::string> frees;
  static inline std::vector<std::string> loadable;
  static inline std::vector<std::pair<std::string, std::string>> exports;  // module, export
  static inline std::vector<std::string> names;                            // handle = index + 1

  static void reset() {
    loads.clear();
    frees.clear();
    loadable.clear();
    exports.clear();
    names.clear();
  }
  static LONG_PTR some_export() { return 0; }
  static HMODULE load(LPCSTR name) {
    loads.push_back(name);
    for (const std::string& n : loadable) {
      if (n == name) {
        names.push_back(name);
        return reinterpret_cast<HMODULE>(names.size());
      }
    }
    return nullptr;
  }
  static FARPROC find(HMODULE module, LPCSTR name) {
    const std::string& module_name = names.at(reinterpret_cast<std::uintptr_t>(module) - 1);
    std::string wanted =
        IS_INTRESOURCE(name) ? "#" + std::to_string(reinterpret_cast<std::uintptr_t>(name)) : name;
    for (auto& [m, e] : exports) {
      if (m == module_name && e == wanted) return &some_export;
    }
    return nullptr;
  }
  static BOOL free(HMODULE module) {
    frees.push_back(names.at(reinterpret_cast<std::uintptr_t>(module) - 1));
    return TRUE;
  }
  static const ModuleApi& api() {
    static const ModuleApi a{load, find, free};
    return a;
  }
};

class DllTableTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FakeModules::reset();
    table_.set_module_api(&FakeModules::api());
    table_.set_program_directory("C:\\prog", "C:\\prog\\");
  }
  void TearDown() override { table_.release(); }
  DllTable table_;
};

TEST_F(DllTableTest, OrdinalNamesAreDecimalModulo65536) {
  EXPECT_EQ(dll_ordinal("#17"), 17);
  EXPECT_EQ(dll_ordinal("#65553"), 17);
  EXPECT_EQ(dll_ordinal("#"), 0);
  EXPECT_EQ(dll_ordinal("CoInitialize"), -1);
  EXPECT_EQ(dll_ordinal(""), -1);
}

TEST_F(DllTableTest, EmptyFileNameSearchesTheStandardModulesFreeingMisses) {
  static const char* files[] = {""};
  static const char* names[] = {"Wanted"};
  table_.assign(1, files, names);
  FakeModules::loadable = {kStandardModules[0], kStandardModules[1], kStandardModules[2]};
  FakeModules::exports = {{kStandardModules[2], "Wanted"}};
  EXPECT_TRUE(table_.resolve(0).ok());
  EXPECT_EQ(FakeModules::loads,
            (std::vector<std::string>{kStandardModules[0], kStandardModules[1], kStandardModules[2]}));
  EXPECT_EQ(FakeModules::frees, (std::vector<std::string>{kStandardModules[0], kStandardModules[1]}));
  EXPECT_NE(table_.module(0), nullptr);
}

TEST_F(DllTableTest, SecondResolveLoadsNothing) {
  static const char* files[] = {"ole32.dll"};
  static const char* names[] = {"CoInitialize"};
  table_.assign(1, files, names);
  FakeModules::loadable = {"C:\\prog\\ole32.dll"};
  FakeModules::exports = {{"C:\\prog\\ole32.dll", "CoInitialize"}};
  lyr::Result<void*> first = table_.resolve(0);
  ASSERT_TRUE(first.ok());
  EXPECT_NE(first.value(), nullptr);
  EXPECT_EQ(FakeModules::loads.size(), 1u);
  EXPECT_EQ(table_.resolve(0).value(), first.value());
  EXPECT_EQ(FakeModules::loads.size(), 1u);
}

TEST_F(DllTableTest, ProgramDirectoryFirstThenThePlatformSearch) {
  static const char* files[] = {"x.dll"};
  static const char* names[] = {"f"};
  table_.assign(1, files, names);
  FakeModules::loadable = {"x.dll"};
  FakeModules::exports = {{"x.dll", "f"}};
  EXPECT_TRUE(table_.resolve(0).ok());
  EXPECT_EQ(FakeModules::loads, (std::vector<std::string>{"C:\\prog\\x.dll", "C:\\prog\\x.dll", "x.dll"}));
}

TEST_F(DllTableTest, NameWithADriveIsLoadedOnlyAsGiven) {
  static const char* files[] = {"D:\\libs\\x.dll"};
  static const char* names[] = {"f"};
  table_.assign(1, files, names);
  EXPECT_FALSE(table_.resolve(0).ok());
  EXPECT_EQ(FakeModules::loads, (std::vector<std::string>{"D:\\libs\\x.dll"}));
}

TEST_F(DllTableTest, FirstLoadedModuleIsTheOnlyCandidate) {
  static const char* files[] = {"x.dll"};
  static const char* names[] = {"#17"};
  table_.assign(1, files, names);
  FakeModules::loadable = {"C:\\prog\\x.dll", "x.dll"};
  FakeModules::exports = {{"x.dll", "#17"}};  // only the platform's copy has it
  lyr::Result<void*> bound = table_.resolve(0);
  ASSERT_FALSE(bound.ok());
  EXPECT_EQ(FakeModules::loads, (std::vector<std::string>{"C:\\prog\\x.dll"}));
  EXPECT_EQ(FakeModules::frees, (std::vector<std::string>{"C:\\prog\\x.dll"}));
  EXPECT_EQ(table_.module(0), nullptr);
  // The message shows the names as declared.
  EXPECT_EQ(runtime_test::utf8(bound.error().c_str()), "无法找到指定DLL库文件“x.dll”中的输出命令“#17”");
}

TEST_F(DllTableTest, MissingExportOfTheStandardModulesKeepsNoModule) {
  static const char* files[] = {nullptr};
  static const char* names[] = {"Nowhere"};
  table_.assign(1, files, names);
  FakeModules::loadable = {kStandardModules[0], kStandardModules[1], kStandardModules[2]};
  lyr::Result<void*> bound = table_.resolve(0);
  ASSERT_FALSE(bound.ok());
  EXPECT_EQ(FakeModules::frees.size(), 3u);
  EXPECT_EQ(runtime_test::utf8(bound.error().c_str()), "无法找到指定DLL库文件中的输出命令“Nowhere”");
}

TEST_F(DllTableTest, IndexOutsideTheTableFails) {
  lyr::Result<void*> bound = table_.resolve(3);
  ASSERT_FALSE(bound.ok());
  EXPECT_FALSE(bound.error().empty());
  EXPECT_TRUE(FakeModules::loads.empty());
}

// The real platform loader, with the fixture library built next to this executable.
TEST(DllCommandTest, BindsFromTheProgramDirectoryByNameAndByOrdinal) {
  ProgramPath self = split_program_path(program_module_path());
  DllTable table;
  table.set_program_directory(self.directory, self.directory + "\\");
  static const char* files[] = {"dllfixture.dll", "DLLFIXTURE.DLL", "ole32.dll"};
  static const char* names[] = {"fixture_add", "#17", "CoInitialize"};
  table.assign(3, files, names);
  lyr::Result<void*> add_address = table.resolve(0);
  ASSERT_TRUE(add_address.ok());
  auto add = reinterpret_cast<int (*)(int, int)>(add_address.value());
  EXPECT_EQ(add(2, 40), 42);
  lyr::Result<void*> seventeen_address = table.resolve(1);
  ASSERT_TRUE(seventeen_address.ok());
  auto seventeen = reinterpret_cast<int (*)()>(seventeen_address.value());
  EXPECT_EQ(seventeen(), 17);
  EXPECT_TRUE(table.resolve(2).ok());
  EXPECT_NE(table.module(0), nullptr);
  table.release();
  EXPECT_EQ(table.size(), 0u);
}

TEST(DllCommandTest, ServiceBindsOnceAndCallsWithTheRoutinesOwnArguments) {
  static int sum = 0;
  static HRESULT co_initialize = -1;
  runtime_test::TestImage image;
  image.add_dll("dllfixture.dll", "fixture_add");
  image.add_dll("ole32.dll", "CoInitialize");
  image.add_dll("ole32.dll", "CoUninitialize");
  HostApplication host(image.header(), [](const ServiceTable& services) {
    services.numbered(kStartup, 0, 0, 0, 0, 0, 0);
    sum = call_dll_command<int>(services, 0, 20, 22);
    sum += call_dll_command<int>(services, 0, 1, 2);
    // Start-up initialised OLE on this thread; the bound library sees the same apartment.
    co_initialize = call_dll_command<HRESULT>(services, 1, static_cast<void*>(nullptr));
    call_dll_command<void>(services, 2);
    return 0;
  });
  host.initialise();
  EXPECT_EQ(sum, 45);
  EXPECT_EQ(co_initialize, S_FALSE);
  EXPECT_NE(host.state().dlls.module(0), nullptr);
  EXPECT_EQ(CoApartmentDepth(), 1u);
  host.exit();
  EXPECT_EQ(CoApartmentDepth(), 0u);
}

class DllCommandDeathTest : public ::testing::Test {
 protected:
  void SetUp() override { setenv("LYRICS_MESSAGEBOX", "default", 1); }
};

std::int32_t call_missing_export(const ServiceTable& services) {
  services.numbered(kStartup, 0, 0, 0, 0, 0, 0);
  services.dll_command(0);
  return 0;
}

TEST_F(DllCommandDeathTest, UnbindableCommandIsARuntimeErrorWithTheDeclaredNames) {
  runtime_test::TestImage image;
  image.add_dll("dllfixture.dll", "no_such_export");
  EXPECT_EXIT(
      {
        HostApplication host(image.header(), call_missing_export);
        host.initialise();
      },
      ::testing::ExitedWithCode(255),
      ::testing::HasSubstr("错误信息：无法找到指定DLL库文件“dllfixture.dll”中的输出命令“no_such_export”\n"));
}

TEST_F(DllCommandDeathTest, StackImbalanceIsRuntimeErrorSix) {
  check_dll_stack(service_table(), 0x1000, 0x1000);  // balanced: nothing happens
  EXPECT_EXIT(check_dll_stack(service_table(), 0x1000, 0x1008), ::testing::ExitedWithCode(255),
              ::testing::HasSubstr("错误代码：6\n\n错误信息：调用DLL命令后发现堆栈错误\n"));
}

}  // namespace
