#include "runtime/callback.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>

#include "platform/api/user.h"
#include "runtime/heap.h"
#include "runtime/host_app.h"
#include "runtime/image_reader.h"
#include "runtime/message_loop.h"
#include "runtime/messages.h"
#include "runtime/values.h"
#include "runtime/window_system.h"
#include "tests/runtime/test_image.h"

namespace {

using namespace runtime;

std::intptr_t cb(std::int32_t code, std::intptr_t a1 = 0, std::intptr_t a2 = 0) {
  return runtime_callback(code, a1, a2);
}

class CallbackTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("LYRICS_MESSAGEBOX", "default", 1);
    image_.set_build_mode(3);
    host_ = std::make_unique<HostApplication>(image_.header(), [](const ServiceTable& s) {
      s.numbered(kStartup, 0, 0, 0, 0, 0, 0);
      return 0;
    });
    host_->initialise();
  }
  void TearDown() override {
    host_->exit();
    host_.reset();
    install_window_system(nullptr);
  }

  runtime_test::TestImage image_;
  std::unique_ptr<HostApplication> host_;
};

TEST_F(CallbackTest, FixedAnswersAndUnknownCodes) {
  EXPECT_EQ(cb(callback::kOne), 1);
  EXPECT_EQ(cb(callback::kVersion), 0x20005);
  EXPECT_EQ(cb(callback::kBuildMode), 3);
  EXPECT_EQ(cb(1003), 0);
  EXPECT_EQ(cb(2040), 0);
  EXPECT_EQ(cb(-1), 0);
}

TEST_F(CallbackTest, MemoryCodesUseTheRuntimeHeap) {
  auto* block = reinterpret_cast<char*>(cb(callback::kAllocate, 16, 0));
  ASSERT_NE(block, nullptr);
  std::memcpy(block, "0123456789", 11);
  block = reinterpret_cast<char*>(cb(callback::kResize, reinterpret_cast<std::intptr_t>(block), 64));
  EXPECT_STREQ(block, "0123456789");
  cb(callback::kFree, reinterpret_cast<std::intptr_t>(block));
  // With a non-zero second argument an impossible size answers null instead of ending.
  EXPECT_EQ(cb(callback::kAllocate, -100, 1), 0);
}

TEST_F(CallbackTest, ToIntegerConvertsTheRecord) {
  ArgRecord r{0xFFFFFFFE, 0x12345678, tag::kLong};
  EXPECT_EQ(cb(callback::kToInteger, reinterpret_cast<std::intptr_t>(&r)), -2);
}

TEST_F(CallbackTest, FreeArrayFreesTextElements) {
  const std::uint32_t dims[] = {2};
  void* array = make_array(dims, sizeof(char*));
  char* texts[] = {make_text("x"), make_text("y")};
  std::memcpy(array_elements(array), texts, sizeof texts);
  cb(callback::kFreeArray, tag::kText | tag::kArrayFlag, reinterpret_cast<std::intptr_t>(array));
}

TEST_F(CallbackTest, EventSourceIsCopiedOnlyWhileAnEventIsDelivered) {
  std::uint32_t source[2] = {0xAAAA, 0xBBBB};
  EXPECT_EQ(cb(callback::kEventSource, reinterpret_cast<std::intptr_t>(source)), 0);
  EXPECT_EQ(source[0], 0xAAAAu);
  set_event_source(0x52010001, 0x1601001E);
  EXPECT_EQ(cb(callback::kEventSource, reinterpret_cast<std::intptr_t>(source)), 1);
  EXPECT_EQ(source[0], 0x52010001u);
  EXPECT_EQ(source[1], 0x1601001Eu);
  clear_event_source();
  EXPECT_EQ(cb(callback::kEventSource, reinterpret_cast<std::intptr_t>(source)), 0);
}

TEST_F(CallbackTest, EventBlockingNeverGoesBelowZero) {
  EXPECT_FALSE(events_blocked());
  cb(callback::kPumpAndUnblock);
  EXPECT_FALSE(events_blocked());
  cb(callback::kPumpAndBlock);
  EXPECT_TRUE(events_blocked());
  cb(callback::kPumpAndBlock);
  cb(callback::kPumpAndUnblock);
  EXPECT_TRUE(events_blocked());
  cb(callback::kPumpAndUnblock);
  EXPECT_FALSE(events_blocked());
}

TEST_F(CallbackTest, WindowObjectsWrapAndAreDestroyed) {
  HWND hwnd = host_->state().hidden_window.load();
  std::intptr_t object = cb(callback::kWrapWindow, reinterpret_cast<std::intptr_t>(hwnd));
  ASSERT_NE(object, 0);
  EXPECT_EQ(cb(callback::kWrappedWindow, object), reinterpret_cast<std::intptr_t>(hwnd));
  cb(callback::kDestroyObject, object);
  EXPECT_EQ(cb(callback::kWrappedWindow, object), 0);  // a stale object is refused
  cb(callback::kDestroyObject, object);                // and destroying it twice is harmless
}

int idle_runs = 0;
void idle_routine(std::intptr_t argument) {
  idle_runs += static_cast<int>(argument);
}

TEST_F(CallbackTest, IdleCallbacksOnePerWindowRunUntilTheirWindowIsGone) {
  HWND hwnd = host_->state().hidden_window.load();
  std::intptr_t entry[3] = {reinterpret_cast<std::intptr_t>(hwnd),
                            reinterpret_cast<std::intptr_t>(&idle_routine), 5};
  cb(callback::kAddIdle, reinterpret_cast<std::intptr_t>(entry));
  entry[2] = 100;  // a second registration for the same window is ignored
  cb(callback::kAddIdle, reinterpret_cast<std::intptr_t>(entry));
  ASSERT_EQ(host_->state().idle_callbacks.size(), 1u);
  EXPECT_EQ(host_->state().idle_callbacks[0].argument, 5);
  cb(callback::kRemoveIdle, reinterpret_cast<std::intptr_t>(hwnd));
  EXPECT_TRUE(host_->state().idle_callbacks.empty());
}

TEST_F(CallbackTest, MissingUnitIsARuntimeErrorOnlyForTheFailingLookup) {
  EXPECT_EQ(cb(callback::kFindUnit, 0x52010001, 0), 0);
  EXPECT_EXIT(cb(callback::kFindUnitOrFail, 0x52010001, 0), ::testing::ExitedWithCode(255),
              ::testing::HasSubstr(runtime_test::utf8(messages::kUnitNotLoaded)));
}

TEST_F(CallbackTest, UnitGoneClearsTheModalWindowOnlyForTheWindowItself) {
  static const WindowSystem ws{.unit_gone = [](std::uint32_t, std::uint32_t unit) { return unit == 0; }};
  install_window_system(&ws);
  host_->state().modal_window = 0x52010002;
  cb(callback::kUnitGone, 0x52010002, 0x16010005);
  EXPECT_EQ(modal_window(), 0x52010002u);
  cb(callback::kUnitGone, 0x52010002, 0);
  EXPECT_EQ(modal_window(), 0u);
}

TEST_F(CallbackTest, PopupMenusAreBuiltByTheWindowSystem) {
  EXPECT_EQ(cb(callback::kBuildPopupMenu, 0x52010001, 0x26010080), 0) << "no window system, no menu";
  static const WindowSystem ws{.popup_menu = [](std::uint32_t window, std::uint32_t unit) {
    return window == 0x52010001 && unit == 0x26010080 ? reinterpret_cast<HMENU>(0x4D) : nullptr;
  }};
  install_window_system(&ws);
  EXPECT_EQ(cb(callback::kBuildPopupMenu, 0x52010001, 0x26010080), 0x4D);
  EXPECT_EQ(cb(callback::kBuildPopupMenu, 0x52010001, 0x26010081), 0);
}

void* released_record = nullptr;

TEST_F(CallbackTest, ObjectReleaseRunsTheRoutineInstalledThroughTheCallback) {
  int record = 0;
  const auto word = [](const void* p) { return reinterpret_cast<std::intptr_t>(p); };
  const auto release = +[](void* r) { released_record = r; };
  released_record = nullptr;
  cb(callback::kInstallObjectRelease, 0);
  cb(callback::kReleaseObject, word(&record));
  EXPECT_EQ(released_record, nullptr) << "nothing installed, nothing runs";
  cb(callback::kInstallObjectRelease, reinterpret_cast<std::intptr_t>(release));
  cb(callback::kReleaseObject, 0);
  EXPECT_EQ(released_record, nullptr) << "a null record is not handed on";
  cb(callback::kReleaseObject, word(&record));
  EXPECT_EQ(released_record, &record);
  released_record = nullptr;
  cb(callback::kInstallObjectRelease, 0);
  cb(callback::kReleaseObject, word(&record));
  EXPECT_EQ(released_record, nullptr) << "0 removes the routine";
}

TEST(UnitTypeLookupTest, TypeReferencesIndexLibrariesAndTypesFromOne) {
  runtime::UnitTypeDescriptor types[4] = {};
  types[3].name = "list";
  types[3].state_bits = 0x40;
  runtime_test::TestImage image;
  image.add_library(nullptr);
  image.add_library(nullptr);
  image.library(1).types = types;
  image.library(1).type_count = 4;
  const ImageHeader& h = image.header();
  std::span<const LibraryRecord* const> libraries(h.libraries, h.library_count);
  EXPECT_EQ(find_unit_type(libraries, 0x00020004), &types[3]);
  EXPECT_EQ(find_unit_type(libraries, 0x00020003), nullptr);  // empty slot
  EXPECT_EQ(find_unit_type(libraries, 0x00020005), nullptr);
  EXPECT_EQ(find_unit_type(libraries, 0x00030001), nullptr);
  EXPECT_EQ(find_unit_type(libraries, 0x00010001), nullptr);  // library without types
  EXPECT_EQ(find_unit_type(libraries, 0x00020000), nullptr);
}

TEST(IdleTriggerTest, PaintTimerAndRepeatedMouseMovesDontTrigger) {
  IdleTrigger trigger;
  MSG m{};
  m.message = 0x000F;
  EXPECT_FALSE(trigger(m));
  m.message = 0x0118;
  EXPECT_FALSE(trigger(m));
  m.message = 0x0113;  // an ordinary timer does
  EXPECT_TRUE(trigger(m));
  m.message = 0x0200;
  m.pt = {10, 10};
  EXPECT_TRUE(trigger(m));
  EXPECT_FALSE(trigger(m));
  m.pt = {11, 10};
  EXPECT_TRUE(trigger(m));
  m.message = 0x00A0;  // same point, other mouse message
  EXPECT_TRUE(trigger(m));
}

}  // namespace
