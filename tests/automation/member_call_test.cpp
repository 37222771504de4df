// The member call against the probe classes: binding, argument counts and conversions,
// out-parameters, results and every error code.
#include <gtest/gtest.h>

#include <thread>

#include "platform/com/typelib.h"
#include "runtime/callback.h"
#include "tests/automation/command_harness.h"
#include "tests/automation/probe_classes.h"

namespace lyr::test {
namespace {

namespace tag = runtime::tag;
using runtime::ArgRecord;

class MemberCall : public ::testing::Test {
 protected:
  void SetUp() override {
    automation::attach_runtime(&runtime::runtime_callback);
    register_probe_classes();
    ASSERT_TRUE(probe_.create("Lyr.Probe"));
    probe_log() = ProbeLog{};
  }

  ArgRecord method(const char* name, std::vector<ArgRecord> extra = {}, std::uint32_t result_tag = 0) {
    std::vector<ArgRecord> args = {probe_.arg(), text_arg(name)};
    args.insert(args.end(), extra.begin(), extra.end());
    if (result_tag == tag::kText) return call(&automation::com_object_text_method, args);
    if (result_tag == tag::kVariant) return call(&automation::com_object_read_property, args);
    return call(&automation::com_object_method, args);
  }
  std::int32_t code() const { return automation::automation_error_code(); }

  Apartment apartment_;
  ObjectVar probe_;
};

TEST_F(MemberCall, NamesBindWithoutRegardToCaseAndResultsConvertToTheCommandsType) {
  ArgRecord sum = method("aDD", {int_arg(2), int_arg(40)}, tag::kVariant);
  EXPECT_EQ(code(), 0);
  ASSERT_EQ(sum.tag, tag::kVariant);
  EXPECT_EQ(sum.pointer<VARIANT>()->vt, VT_I4);
  EXPECT_EQ(sum.pointer<VARIANT>()->lVal, 42);
  free_value(sum);

  ArgRecord text = method("Ratio", {}, tag::kText);
  EXPECT_EQ(code(), 0) << "a property binds in method mode once INVOKE_FUNC fails";
  EXPECT_STREQ(text.pointer<char>(), "2.5");
  free_value(text);

  ArgRecord object_text = method("Echo", {probe_.arg()}, tag::kText);
  EXPECT_EQ(code(), -8) << "an object has no text form";
  EXPECT_EQ(object_text.pointer<char>(), nullptr);
}

TEST_F(MemberCall, BindFailuresAndMissingTypeInformation) {
  method("NoSuchMember");
  EXPECT_EQ(code(), -3);
  method("Scope");
  EXPECT_EQ(code(), -3) << "a nested scope is neither function nor variable";
  ArgRecord ok =
      call(&automation::com_object_write_property, {probe_.arg(), text_arg("Reading"), int_arg(1)});
  EXPECT_EQ(code(), -3) << "a read-only property cannot be bound for writing";
  EXPECT_EQ(ok.lo, 0u);

  ObjectVar blind, plain, empty;
  ASSERT_TRUE(blind.create("Lyr.NoTypeInfo"));
  call(&automation::com_object_method, {blind.arg(), text_arg("Anything")});
  EXPECT_EQ(code(), -4);
  EXPECT_EQ(probe_log().invokes, 0) << "nothing is invoked without type information";
  ASSERT_TRUE(plain.create("Lyr.Plain"));
  call(&automation::com_object_method, {plain.arg(), text_arg("Anything")});
  EXPECT_EQ(code(), -2);
  ArgRecord nothing = call(&automation::com_object_read_property, {empty.arg(), text_arg("Anything")});
  EXPECT_EQ(code(), -1);
  ASSERT_NE(nothing.pointer<VARIANT>(), nullptr) << "a failed read still hands back an empty variant";
  EXPECT_EQ(nothing.pointer<VARIANT>()->vt, VT_EMPTY);
  free_value(nothing);
  ArgRecord written =
      call(&automation::com_object_write_property, {empty.arg(), text_arg("Count"), int_arg(1)});
  EXPECT_EQ(written.tag, tag::kBool);
  EXPECT_EQ(written.lo, 0u);
}

TEST_F(MemberCall, ArgumentCountsOmissionsAndVariableLists) {
  method("Add", {int_arg(1), int_arg(2), int_arg(3)});
  EXPECT_EQ(code(), -5);
  EXPECT_EQ(probe_log().invokes, 0) << "too many arguments fail before Invoke";

  method("Options", {int_arg(1), omitted_arg(), int_arg(3), omitted_arg(), omitted_arg()});
  EXPECT_EQ(code(), 0);
  ASSERT_EQ(probe_log().types.size(), 3u) << "trailing omitted arguments are not passed";
  EXPECT_EQ(probe_log().types[1], VT_ERROR);
  EXPECT_EQ(probe_log().scodes[1], DISP_E_PARAMNOTFOUND);

  method("Add", {omitted_arg(), int_arg(1)});
  EXPECT_EQ(code(), -17) << "an omitted required argument";

  ArgRecord joined = method("Join", {text_arg(", "), text_arg("a"), int_arg(2), double_arg(3.5)}, tag::kText);
  EXPECT_EQ(code(), 0);
  EXPECT_STREQ(joined.pointer<char>(), "a, 2, 3.5");
  free_value(joined);
}

TEST_F(MemberCall, ArgumentTypesAndTheirConversions) {
  void* bytes = byte_set("abc");
  method("Echo", {byte_set_arg(bytes)});
  EXPECT_EQ(code(), -7) << "a byte set must travel inside a variant";
  free_value(byte_set_arg(bytes));

  ArgRecord low = method("Echo", {long_arg(0x1'0000'0005LL)}, tag::kVariant);
  EXPECT_EQ(low.pointer<VARIANT>()->vt, VT_I4);
  EXPECT_EQ(low.pointer<VARIANT>()->lVal, 5) << "a long integer passes its low 32 bits";
  free_value(low);

  ArgRecord text = method("Echo", {text_arg(ansi("歌词").c_str())}, tag::kText);
  EXPECT_EQ(utf8(text.pointer<char>()), "歌词");
  free_value(text);

  ArgRecord flag = method("Echo", {bool_arg(true)}, tag::kVariant);
  EXPECT_EQ(flag.pointer<VARIANT>()->vt, VT_BOOL);
  EXPECT_EQ(flag.pointer<VARIANT>()->boolVal, VARIANT_TRUE);
  free_value(flag);

  method("Add", {text_arg("two"), int_arg(1)});
  EXPECT_EQ(code(), -16) << "a text that is no number";
  method("Add", {double_arg(1e12), int_arg(1)});
  EXPECT_EQ(code(), -14);

  VariantVar empty;
  method("Echo", {empty.arg()});
  EXPECT_EQ(probe_log().types[0], VT_ERROR) << "an empty variant is passed as a missing argument";
}

TEST_F(MemberCall, ObjectArgumentsFollowTheParameterType) {
  method("TakeDispatch", {probe_.arg()});
  EXPECT_EQ(probe_log().types[0], VT_DISPATCH);
  method("TakeUnknown", {probe_.arg()});
  EXPECT_EQ(probe_log().types[0], VT_UNKNOWN);
  method("TakeDangling", {probe_.arg()});
  EXPECT_EQ(probe_log().types[0], VT_UNKNOWN) << "an unresolvable reference is taken as IUnknown";
  method("TakeAlias", {probe_.arg()});
  EXPECT_EQ(code(), -16) << "an alias of a long takes no object";

  ArgRecord echoed = method("Echo", {probe_.arg()}, tag::kVariant);
  EXPECT_EQ(code(), 0);
  EXPECT_EQ(echoed.pointer<VARIANT>()->vt, VT_UNKNOWN);
  EXPECT_NE(echoed.pointer<VARIANT>()->punkVal, nullptr) << "a variant parameter gets the object";
  free_value(echoed);
}

TEST_F(MemberCall, OutParametersAreWrittenBackOnlyWhenPassedByAddress) {
  std::int32_t value = 21;
  method("Twice", {by_address(tag::kInt, &value)});
  EXPECT_EQ(code(), 0);
  EXPECT_EQ(value, 42);
  method("Twice", {int_arg(5)});
  EXPECT_EQ(code(), 0);

  char* text = nullptr;
  method("Describe", {by_address(tag::kText, &text)});
  EXPECT_STREQ(text, "described");
  free_value(text_arg(text));

  ObjectVar other;
  ASSERT_TRUE(other.create("Lyr.Probe"));
  automation::ObjectRecord* variable = &other.record;
  method("Replace", {by_address(tag::kObject, &variable)});
  EXPECT_EQ(code(), 0);
  EXPECT_EQ(other.record.iface, probe_.record.iface) << "the old object is released and the new one stored";

  VariantVar bytes;
  void* set = byte_set("abc");
  call(&automation::variant_assign, {bytes.arg(), byte_set_arg(set)});
  VARIANT* block = &bytes.block;
  method("ReverseBytes", {by_address(tag::kVariant, &block)});
  EXPECT_EQ(code(), 0);
  ArgRecord back = call(&automation::variant_to_byte_set, {bytes.arg()});
  EXPECT_EQ(byte_set_bytes(back.pointer<void>()), "cba");
  free_value(back);
  free_value(byte_set_arg(set));
}

TEST_F(MemberCall, VariablesPropertyPutsAndExceptions) {
  ArgRecord ok = call(&automation::com_object_write_property, {probe_.arg(), text_arg("Count"), int_arg(7)});
  EXPECT_EQ(ok.lo, 1u);
  EXPECT_EQ(probe_log().flags, DISPATCH_PROPERTYPUT);
  EXPECT_EQ(probe_log().named, 1u);
  ArgRecord count = method("Count", {}, tag::kVariant);
  EXPECT_EQ(count.pointer<VARIANT>()->lVal, 7);
  free_value(count);

  call(&automation::com_object_write_property, {probe_.arg(), text_arg("Target"), probe_.arg()});
  EXPECT_EQ(probe_log().flags, DISPATCH_PROPERTYPUTREF) << "an object-typed variable is put by reference";

  ArgRecord text = method("Fail", {}, tag::kText);
  EXPECT_EQ(code(), -11);
  EXPECT_EQ(text.tag, tag::kText);
  EXPECT_EQ(text.pointer<char>(), nullptr);
  method("Add", {int_arg(1), int_arg(1)});
  EXPECT_EQ(code(), 0) << "each call overwrites the code";
}

TEST_F(MemberCall, TheErrorCodeBelongsToTheCallingThread) {
  method("NoSuchMember");
  std::int32_t other = 1;
  std::thread([&] { other = automation::automation_error_code(); }).join();
  EXPECT_EQ(other, 0);
  EXPECT_EQ(code(), -3);
}

}  // namespace
}  // namespace lyr::test
