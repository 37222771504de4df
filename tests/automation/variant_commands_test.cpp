// Variant.Assign, Variant.ToByteSet and Variant.Clear on the runtime's value layouts.
#include <gtest/gtest.h>

#include <cstring>

#include "runtime/callback.h"
#include "tests/automation/command_harness.h"
#include "tests/automation/probe_classes.h"

namespace lyr::test {
namespace {

namespace tag = runtime::tag;
using runtime::ArgRecord;

// A runtime array value: dimension count, sizes, packed elements.
template <class T>
std::vector<std::uint8_t> array_value(std::vector<std::uint32_t> sizes, std::vector<T> elements) {
  std::vector<std::uint8_t> block(4 + 4 * sizes.size() + sizeof(T) * elements.size());
  auto dims = static_cast<std::uint32_t>(sizes.size());
  std::memcpy(block.data(), &dims, 4);
  std::memcpy(block.data() + 4, sizes.data(), 4 * sizes.size());
  std::memcpy(block.data() + 4 + 4 * sizes.size(), elements.data(), sizeof(T) * elements.size());
  return block;
}

ArgRecord array_arg(std::uint32_t element_tag, const std::vector<std::uint8_t>& block) {
  ArgRecord r{};
  r.set_pointer(block.data());
  r.tag = element_tag | tag::kArrayFlag;
  return r;
}

class VariantCommands : public ::testing::Test {
 protected:
  void SetUp() override { automation::attach_runtime(&runtime::runtime_callback); }
  bool assign(ArgRecord value, std::vector<ArgRecord> index = {}) {
    std::vector<ArgRecord> args = {v_.arg(), value};
    args.insert(args.end(), index.begin(), index.end());
    return call(&automation::variant_assign, args).lo != 0;
  }
  std::string to_bytes(std::vector<ArgRecord> index = {}) {
    std::vector<ArgRecord> args = {v_.arg()};
    args.insert(args.end(), index.begin(), index.end());
    ArgRecord r = call(&automation::variant_to_byte_set, args);
    EXPECT_EQ(r.tag, tag::kByteSet);
    std::string bytes = byte_set_bytes(r.pointer<void>());
    EXPECT_EQ(r.pointer<void>() == nullptr, bytes.empty()) << "an empty byte set is null";
    free_value(r);
    return bytes;
  }

  VariantVar v_;
};

TEST_F(VariantCommands, ByteSetsRoundTripThroughOneBasedByteArrays) {
  static const std::uint32_t kEmpty[2] = {1, 0};
  ASSERT_TRUE(assign(byte_set_arg(kEmpty)));
  EXPECT_EQ(v_.block.vt, VT_ARRAY | VT_UI1);
  LONG lower = 0, upper = 0;
  SafeArrayGetLBound(v_.block.parray, 1, &lower);
  SafeArrayGetUBound(v_.block.parray, 1, &upper);
  EXPECT_EQ(lower, 1);
  EXPECT_EQ(upper, 0) << "no elements";
  EXPECT_EQ(to_bytes(), "");

  std::string data("\x00\x01\xFFlyric", 8);
  void* set = byte_set(data);
  ASSERT_TRUE(assign(byte_set_arg(set)));
  EXPECT_EQ(to_bytes(), data);
  free_value(byte_set_arg(set));
}

TEST_F(VariantCommands, OnlyArraysOfBytesReadBackAsBytes) {
  auto ints = array_value<std::int32_t>({2}, {1, 2});
  ASSERT_TRUE(assign(array_arg(tag::kInt, ints)));
  EXPECT_EQ(to_bytes(), "") << "an array of integers gives no bytes";

  VariantClear(&v_.block);
  v_.block.vt = VT_ARRAY | VT_I1;
  v_.block.parray = SafeArrayCreateVector(VT_I1, 0, 2);
  static_cast<char*>(v_.block.parray->pvData)[0] = 'o';
  static_cast<char*>(v_.block.parray->pvData)[1] = 'k';
  EXPECT_EQ(to_bytes(), "ok");

  ASSERT_TRUE(assign(text_arg("ab")));
  EXPECT_EQ(to_bytes(), std::string("a\0b\0", 4)) << "a text reads as its UTF-16 bytes";
  ASSERT_TRUE(assign(int_arg(3)));
  EXPECT_EQ(to_bytes(), "");
}

TEST_F(VariantCommands, ArraysAreFlattenedAndElementsAddressedByFlatIndex) {
  auto grid = array_value<std::int32_t>({2, 3}, {1, 2, 3, 4, 5, 6});
  ASSERT_TRUE(assign(array_arg(tag::kInt, grid)));
  ASSERT_EQ(v_.block.vt, VT_ARRAY | VT_I4);
  EXPECT_EQ(SafeArrayGetDim(v_.block.parray), 1u);
  LONG upper = 0;
  SafeArrayGetUBound(v_.block.parray, 1, &upper);
  EXPECT_EQ(upper, 6);

  EXPECT_TRUE(assign(text_arg("40"), {int_arg(4)})) << "an element takes the array's type";
  EXPECT_EQ(static_cast<LONG*>(v_.block.parray->pvData)[3], 40);
  EXPECT_FALSE(assign(int_arg(9), {int_arg(0)}));
  EXPECT_FALSE(assign(int_arg(9), {int_arg(7)}));
  EXPECT_FALSE(assign(text_arg("x"), {int_arg(1)}));
  const LONG expected[] = {1, 2, 3, 40, 5, 6};
  EXPECT_EQ(std::memcmp(v_.block.parray->pvData, expected, sizeof expected), 0)
      << "failed stores change nothing";

  void* set = byte_set("xy");
  EXPECT_FALSE(assign(byte_set_arg(set), {int_arg(1)})) << "arrays go only into arrays of variants";
  free_value(byte_set_arg(set));
}

TEST_F(VariantCommands, ArraysOfVariantsHoldByteArraysAddressedByIndex) {
  VariantVar first, second;
  call(&automation::variant_assign, {first.arg(), int_arg(1)});
  call(&automation::variant_assign, {second.arg(), int_arg(2)});
  VARIANT* blocks[] = {&first.block, &second.block};
  std::vector<std::uint8_t> list(4 + 4 + sizeof blocks);
  const std::uint32_t header[2] = {1, 2};
  std::memcpy(list.data(), header, sizeof header);
  std::memcpy(list.data() + 8, blocks, sizeof blocks);
  ASSERT_TRUE(assign(array_arg(tag::kVariant, list)));
  ASSERT_EQ(v_.block.vt, VT_ARRAY | VT_VARIANT);

  void* set = byte_set("pq");
  ASSERT_TRUE(assign(byte_set_arg(set), {int_arg(2)}));
  free_value(byte_set_arg(set));
  EXPECT_EQ(to_bytes({int_arg(2)}), "pq");
  EXPECT_EQ(to_bytes({int_arg(1)}), "") << "an integer element holds no bytes";
  EXPECT_EQ(to_bytes({int_arg(3)}), "");
}

TEST_F(VariantCommands, ScalarsObjectsAndClearing) {
  ASSERT_TRUE(assign(long_arg(0x1'8000'0001LL)));
  EXPECT_EQ(v_.block.vt, VT_I4);
  EXPECT_EQ(v_.block.lVal, static_cast<LONG>(0x80000001u)) << "the low 32 bits";
  ASSERT_TRUE(assign(text_arg(ansi("歌").c_str())));
  EXPECT_EQ(v_.block.vt, VT_BSTR);
  EXPECT_EQ(std::u16string(v_.block.bstrVal), u"歌");

  Apartment apartment;
  register_probe_classes();
  ObjectVar probe, empty;
  ASSERT_TRUE(probe.create("Lyr.Probe"));
  ASSERT_TRUE(assign(probe.arg()));
  EXPECT_EQ(v_.block.vt, VT_UNKNOWN);
  ASSERT_TRUE(assign(empty.arg()));
  EXPECT_EQ(v_.block.vt, VT_EMPTY) << "an empty object stores nothing and succeeds";

  EXPECT_FALSE(assign(ArgRecord{0, 0, tag::kRoutine}));
  EXPECT_EQ(v_.block.vt, VT_EMPTY) << "a failed assignment leaves the variant empty";

  call(&automation::variant_clear, {v_.arg()});
  call(&automation::variant_clear, {v_.arg()});
  const std::uint8_t zero[16] = {};
  EXPECT_EQ(std::memcmp(&v_.block, zero, 16), 0);
}

}  // namespace
}  // namespace lyr::test
