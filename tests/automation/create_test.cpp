// ComObject.Create by ProgID, by CLSID in braces and through a type-library file, and
// ComObject.Clear.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <thread>

#include "platform/com/typelib.h"
#include "runtime/callback.h"
#include "tests/automation/command_harness.h"
#include "tests/automation/probe_classes.h"

namespace lyr::test {
namespace {

namespace tag = runtime::tag;
using runtime::ArgRecord;

class Create : public ::testing::Test {
 protected:
  void SetUp() override {
    automation::attach_runtime(&runtime::runtime_callback);
    register_probe_classes();
    probe_log() = ProbeLog{};
    directory_ = std::filesystem::temp_directory_path() /
                 ("lyr-tlb-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(directory_);
  }
  void TearDown() override { std::filesystem::remove_all(directory_); }

  std::string library(const std::string& content) {
    std::filesystem::path file = directory_ / "gadgets.tlb";
    std::ofstream(file) << content;
    return file.string();
  }
  bool create(ObjectVar& object, const char* name, const char* file = nullptr) {
    std::vector<ArgRecord> args = {object.arg(), text_arg(name)};
    if (file != nullptr) args.push_back(text_arg(file));
    return call(&automation::com_object_create, args).lo != 0;
  }

  Apartment apartment_;
  std::filesystem::path directory_;
};

TEST_F(Create, AFailedCreationLeavesTheRecordAsItWas) {
  ObjectVar object;
  ASSERT_TRUE(create(object, "Lyr.Probe"));
  IUnknown* held = object.record.iface;
  EXPECT_FALSE(create(object, "No.Such.Class"));
  EXPECT_FALSE(create(object, "{not-a-clsid}"));
  EXPECT_FALSE(create(object, "Lyr.Unrunnable")) << "an object that will not run is dropped";
  EXPECT_EQ(object.record.iface, held);
  ASSERT_TRUE(create(object, "lyr.PROBE"));
  EXPECT_NE(object.record.iface, nullptr);
}

TEST_F(Create, TheRemoteContextIsRetriedWithoutItOnce) {
  ObjectVar object;
  EXPECT_TRUE(create(object, "Lyr.Picky"));
  EXPECT_EQ(probe_log().picky_contexts, (std::vector<DWORD>{0x17, 0x7}));
}

TEST_F(Create, ClassesInATypeLibraryFileAreCreatedAndRegistered) {
  // The registrations belong to the process, like a registry's: only their change counts here.
  const auto before = platform::com::registered_type_libraries();
  const std::string file = library("LYRTLB 1\n# test gadgets\nlibrary LyrGadgets\nclass Gadget Lyr.Probe\n");
  ObjectVar object;
  ASSERT_TRUE(create(object, "gadget", file.c_str()));
  call(&automation::com_object_method, {object.arg(), text_arg("Add"), int_arg(1), int_arg(2)});
  EXPECT_EQ(automation::automation_error_code(), 0);
  EXPECT_EQ(platform::com::registered_type_libraries(), before) << "only a path with a backslash registers";

  std::string program_path = file;
  std::replace(program_path.begin(), program_path.end(), '/', '\\');
  const std::u16string registered_path(program_path.begin(), program_path.end());
  for (int time = 0; time < 2; ++time) {
    ObjectVar registered;
    ASSERT_TRUE(create(registered, "Gadget", program_path.c_str()));
  }
  const auto after = platform::com::registered_type_libraries();
  EXPECT_EQ(std::count(after.begin(), after.end(), registered_path), 1) << "a file registers once";
  ObjectVar by_name;
  EXPECT_TRUE(create(by_name, "LyrGadgets.Gadget"));
}

TEST_F(Create, BracesAndUnusableLibrariesGoByClass) {
  const std::string file = library("LYRTLB 1\nclass {7A11CE00-0001-4000-8000-000000000001} Lyr.Picky\n");
  ObjectVar object;
  ASSERT_TRUE(create(object, "{7A11CE00-0001-4000-8000-000000000001}", file.c_str()));
  EXPECT_TRUE(probe_log().picky_contexts.empty()) << "a CLSID in braces never takes the type-library route";

  ObjectVar missing, malformed;
  EXPECT_TRUE(create(missing, "Lyr.Probe", (directory_ / "none.tlb").string().c_str()));
  EXPECT_TRUE(create(malformed, "Lyr.Probe", library("not a type library\n").c_str()));
}

TEST_F(Create, CreationNeedsAnApartmentOnTheCallingThread) {
  bool created = true;
  std::thread([&] {
    ObjectVar object;
    created = create(object, "Lyr.Probe");
  }).join();
  EXPECT_FALSE(created);
}

TEST_F(Create, ClearDestroysRecordDataThroughItsRecordInfo) {
  int destroyed = 0;
  ObjectVar record;
  IRecordInfo* info = make_watched_record_info(&destroyed);
  record.record.iface = info;
  record.record.record = info->RecordCreate();

  ObjectVar probe;
  ASSERT_TRUE(create(probe, "Lyr.Probe"));
  call(&automation::com_object_method, {probe.arg(), text_arg("TakeUnknown"), record.arg()});
  EXPECT_EQ(probe_log().types.at(0), VT_RECORD);
  ArgRecord text = call(&automation::com_object_text_method, {probe.arg(), text_arg("Echo"), record.arg()});
  EXPECT_EQ(automation::automation_error_code(), -8) << "a record result cannot become a runtime value";
  EXPECT_EQ(text.pointer<char>(), nullptr);
  EXPECT_EQ(destroyed, 0) << "passing a record does not destroy it";

  call(&automation::com_object_clear, {record.arg()});
  EXPECT_EQ(destroyed, 1);
  EXPECT_EQ(record.record.iface, nullptr);
  EXPECT_EQ(record.record.record, nullptr);
  call(&automation::com_object_clear, {record.arg()});
  EXPECT_EQ(destroyed, 1) << "clearing an empty record is harmless";
}

}  // namespace
}  // namespace lyr::test
